#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks and times adding a folder of PDFs one at a time and
# several at once, against xargs -P with the same pdftotext calls. Without a
# folder, a corpus shaped like a real archive (1,000 PDFs, mostly short, one
# in a hundred of 1,000 to 2,000 pages, about 200 MB) is written to
# bench/corpus on first use; a folder of your own is timed as it is.
# Arguments: [files] [rounds] [folder]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zelto_bench_parallel
./build/default/bench/zelto_bench_parallel "${3:-bench/corpus}" "${1:-1000}" "${2:-1}"
