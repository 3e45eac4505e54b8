#!/usr/bin/env bash
# Builds the benchmarks and times adding a folder of at least 1,000 PDFs one
# at a time and several at once, against find | xargs -P with pdftotext. The
# corpus is written to bench/corpus on first use (about 150 MB).
# Arguments: [files] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zelto_bench_parallel
./build/default/bench/zelto_bench_parallel bench/corpus "${1:-1000}" "${2:-1}"
