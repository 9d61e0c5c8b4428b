#!/usr/bin/env bash
# Builds the benchmarks and runs the workbook's: bench_workbook, then the whole-process
# comparison with openpyxl and pandas (python3-pandas is installed for it; it is no
# test dependency).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v apt-get >/dev/null && ! /usr/bin/python3 -c 'import pandas' 2>/dev/null \
  && { apt-get install -y python3-pandas >/dev/null || sudo apt-get install -y python3-pandas >/dev/null; }
cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUVELA_BUILD_BENCH=ON
cmake --build build-rel --parallel --target bench_workbook workbook_readall
build-rel/bench/bench_workbook "$@"
/usr/bin/python3 bench/compare_workbook.py build-rel/bench/workbook_readall
