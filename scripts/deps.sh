#!/usr/bin/env bash
# Installs on Debian 12 whatever the build, the program and the tests need and is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6network6
  libzip-dev libpugixml-dev libcurl4-openssl-dev nlohmann-json3-dev
  libmpv-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3-openpyxl python3-aiosmtpd
  chromium chromium-driver
  xdg-utils openssl poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
