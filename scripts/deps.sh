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
  locales xvfb xauth
)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run under the users' locale and try the number conversions under a second one.
have=$(locale -a 2>/dev/null || true)
generate=0
for loc in tr_TR de_DE; do
  grep -qix "$loc\.utf-\?8" <<<"$have" && continue
  if grep -q "^# *$loc\.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
    $SUDO sed -i "s/^# *\($loc\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    generate=1
  elif ! grep -q "^$loc\.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
    $SUDO localedef -i "$loc" -c -f UTF-8 "$loc.UTF-8"
  else
    generate=1
  fi
done
if [ "$generate" -eq 1 ]; then
  $SUDO locale-gen
fi
