#!/usr/bin/env bash
# Installs, builds and runs every test, under the locale of the people who use the program.
#   --sanitize  builds into build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer
#               and runs the tests that need no browser there.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
if [ "${1:-}" = "--sanitize" ]; then
  flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
  cmake --build build-sanitize --parallel
  cd build-sanitize
  # The suites that drive headless chromium against the fake portal stay in the normal run.
  browser='^portal\.(PortalLogin|BulkRunTest|OnInvoicePage|UploadWindowTest|OnCheckPage)\.|^shell\.NoticeRoadTest\.|^window\.'
  # Leaks are not looked for: Qt keeps allocations to the end of the process by design.
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8 QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 4 --timeout 600 -E "$browser"
  exit
fi
./scripts/build.sh
cd build
LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8 QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 4 --timeout 600
