#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a corpus of garbage text from a folder of real PDFs: a copy of each
# PDF under OUT, at the same relative path, with its fonts' ToUnicode maps
# removed (scripts/unmap-pdf.sh). Subset CID fonts then give their glyph
# numbers, fonts of custom encodings their codes; fonts whose glyph names
# are standard still give sound text, which the benchmark tells apart by
# comparing each text with its original's.
#
#   bash bench/garbled-corpus.sh FOLDER OUT
#   ./build/ci/bench/zelto_bench_texthealth OUT FOLDER
#   ./build/ci/bench/zelto_bench_texthealth --worker build/ci/src/zelto-extract-worker OUT FOLDER
#
# The last converts in the extraction worker, which tells the pages drawn in
# fonts without a map, and counts what the stricter bar of those pages adds.
#
# PDFs qpdf cannot read (broken, encrypted) are left out and listed.
set -euo pipefail
folder=$(realpath -- "${1:?usage: bash bench/garbled-corpus.sh FOLDER OUT}")
out=$(realpath -m -- "${2:?usage: bash bench/garbled-corpus.sh FOLDER OUT}")
unmap=$(cd "$(dirname "$0")/.." && pwd)/scripts/unmap-pdf.sh
cd "$folder"
find . -type f -iname '*.pdf' -print0 | LC_ALL=C sort -z |
  while IFS= read -r -d '' pdf; do
    mkdir -p "$out/$(dirname "$pdf")"
    bash "$unmap" "$pdf" "$out/$pdf" || { echo "left out: $pdf" >&2; rm -f "$out/$pdf"; }
  done
