#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks and times one add of a folder of small PDFs through
# the document alone and through the main window (offscreen), in
# alternating rounds, each in a process of its own, with a stand-in
# pdftotext so that the program's own work per file is what counts. Prints
# every round, the best of each way and their ratio, and the resident memory
# after the add; then the memory of the document's list of as many files.
# The folder (made on first use, one per count) holds the PDFs and the
# stand-in tool. Arguments: [files] [rounds] [folder]; ZELTO_BENCH_PRESET
# names the build (default: default).
set -euo pipefail
cd "$(dirname "$0")/.."
files="${1:-100000}"
rounds="${2:-2}"
folder="${3:-bench/window-corpus-$files}"
bash scripts/install-deps.sh
preset="${ZELTO_BENCH_PRESET:-default}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target zelto_bench_window zelto_bench_docmemory
bench="./build/$preset/bench"
export QT_QPA_PLATFORM=offscreen
echo "load: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
best_doc=""
best_window=""
for ((round = 1; round <= rounds; ++round)); do
  for way in doc window; do
    line=$("$bench/zelto_bench_window" "$way" "$folder" "$files" 2>/dev/null)
    echo "$line"
    seconds=$(echo "$line" | head -1 | awk '{print $5}')
    if [ "$way" = doc ]; then current="$best_doc"; else current="$best_window"; fi
    if [ -z "$current" ] || awk -v a="$seconds" -v b="$current" 'BEGIN { exit !(a < b) }'; then
      if [ "$way" = doc ]; then best_doc="$seconds"; else best_window="$seconds"; fi
    fi
  done
done
awk -v d="$best_doc" -v w="$best_window" -v n="$files" \
  'BEGIN { printf "best of each: document alone %.2f s, through the window %.2f s, ratio %.3f (%d files)\n", d, w, w / d, n }'
"$bench/zelto_bench_docmemory" "$files"
