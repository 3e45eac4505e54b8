#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How well and how fast scanned pages are read: takes pages of real PDFs,
# renders each at 300 dpi and wraps the picture back into a PDF (img2pdf),
# adds those through the document with OCR on, one at a time and one per
# core, and compares the words recognized with the words of the page's own
# text layer (pdftotext -layout).
#
#   bash scripts/bench-ocr.sh [pages] [pdf...]
#
# Without PDFs, the pages come from the PDF manuals of Debian documentation
# packages found under /usr/share/doc, or from bench/ocr-source.
set -euo pipefail
cd "$(dirname "$0")/.."
pages=${1:-12}
shift || true
command -v img2pdf > /dev/null || apt-get install -y -qq --no-install-recommends img2pdf
cmake --preset default > /dev/null && cmake --build --preset default --target zelto_bench_ocr > /dev/null

sources=("$@")
if ((${#sources[@]} == 0)); then
  mapfile -t sources < <(find /usr/share/doc bench/ocr-source -name '*.pdf' 2> /dev/null | sort | head -20)
fi
((${#sources[@]} > 0)) || { echo "no PDFs to take pages from" >&2; exit 1; }

work=$(mktemp -d /tmp/zelto-bench-ocr.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/scans" "$work/truth"
made=0
# The second page of each source, then the third, and so on: title pages and
# blank pages are passed over.
for page in $(seq 2 40); do
  for pdf in "${sources[@]}"; do
    ((made < pages)) || break 2
    name=$(printf 'p%03d' "$made")
    pdftotext -layout -f "$page" -l "$page" "$pdf" "$work/truth/$name.txt" 2> /dev/null ||
      { rm -f "$work/truth/$name.txt"; continue; }
    # Clean English pages: at least 150 words, four in five of them plain
    # words of letters (no code, formulas or tables of contents).
    words=$(wc -w < "$work/truth/$name.txt")
    plain=$(tr -s ' \n\f' '\n\n\n' < "$work/truth/$name.txt" | grep -c -E "^[A-Za-z]+[.,;:]?$" || true)
    ((words >= 150 && plain * 5 >= words * 4)) || { rm -f "$work/truth/$name.txt"; continue; }
    pdftoppm -r 300 -gray -png -f "$page" -l "$page" -singlefile "$pdf" "$work/$name" 2> /dev/null
    img2pdf --pagesize Letter^T -o "$work/scans/$name.pdf" "$work/$name.png" 2> /dev/null ||
      img2pdf -o "$work/scans/$name.pdf" "$work/$name.png"
    rm -f "$work/$name.png"
    echo "page $page of $pdf: $words words"
    made=$((made + 1))
  done
done
echo "corpus: $made scanned pages (300 dpi, gray), $(cat "$work"/truth/*.txt | wc -w) words in all"

score() {
  python3 - "$work" << 'PYTHON'
import collections, pathlib, sys, unicodedata
work = pathlib.Path(sys.argv[1])
def words(path):
    text = unicodedata.normalize("NFKC", path.read_text(errors="replace"))
    return [w.strip(".,;:!?()[]{}\"'`") for w in text.split() if w.strip(".,;:!?()[]{}\"'`")]
right = total = 0
for truth in sorted((work / "truth").glob("*.txt")):
    want = collections.Counter(words(truth))
    got = collections.Counter(words(work / "scans" / truth.name))
    page_right = sum((want & got).values())
    print(f"  {truth.stem}: {page_right} of {sum(want.values())}")
    right += page_right
    total += sum(want.values())
print(f"words right: {right} of {total} ({100.0 * right / max(total, 1):.1f}%)")
PYTHON
}

for parallel in 1 "$(nproc)"; do
  echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
  ./build/default/bench/zelto_bench_ocr "$work/scans" "$parallel"
  score
done
