#!/usr/bin/env bash
# Installs, builds and starts kuvela on the demo program folder (build/demo).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
KUVELA_HOME="$PWD/build/demo" exec ./build/kuvela
