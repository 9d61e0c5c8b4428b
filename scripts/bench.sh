#!/usr/bin/env bash
# Builds the benchmarks and runs them in one go: bench_workbook, the whole-process
# comparison with openpyxl and pandas (python3-pandas is installed for it; it is no test
# dependency), then the two portal roads against the fake portal at full time and the
# documents roads on generated invoices, tables read before and after.
# Arguments go to bench_workbook.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
if ! /usr/bin/python3 -c 'import pandas' 2>/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends python3-pandas
fi
cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUVELA_BUILD_BENCH=ON
cmake --build build-rel --parallel --target bench_workbook workbook_readall bench_portal_roads bench_documents_roads
build-rel/bench/bench_workbook --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
/usr/bin/python3 bench/compare_workbook.py build-rel/bench/workbook_readall
QT_QPA_PLATFORM=offscreen build-rel/bench/bench_portal_roads
QT_QPA_PLATFORM=offscreen build-rel/bench/bench_documents_roads
