#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How many of a page's words OCR gives back where the page's text is
# garbled: each PDF given is copied with its fonts' maps to Unicode removed
# (scripts/unmap-pdf.sh), converted by zelto-extract without OCR to learn
# its garbled pages, then with --ocr; the words of each page OCR read are
# compared with the words pdftotext gives of the same page of the sound
# original. Words are runs of letters and digits with a letter in them, two
# characters or longer, compared as multisets after NFKC and lower case
# (ligatures and case aside); numbers (page numbers of a table of contents,
# line numbers) are counted apart. Prints each file's pages and share, and
# the share of all words.
#
#   bash bench/garbled-ocr.sh ZELTO_EXTRACT ORIGINAL.pdf...
#
# Needs qpdf, perl, python3, pdftotext, pdftoppm and tesseract.
set -euo pipefail
extract=$(realpath -- "${1:?usage: bash bench/garbled-ocr.sh ZELTO_EXTRACT ORIGINAL.pdf...}")
shift
unmap=$(cd "$(dirname "$0")/.." && pwd)/scripts/unmap-pdf.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=0
for original in "$@"; do
  n=$((n + 1))
  mkdir -p "$work/$n"
  bash "$unmap" "$original" "$work/$n/garbled.pdf" || continue
  pdftotext -layout "$original" "$work/$n/original.txt"
  "$extract" -q --report "$work/$n/plain.jsonl" "$work/$n/garbled.pdf" || true
  mv "$work/$n/garbled.txt" "$work/$n/plain.txt"
  "$extract" -q --ocr -j 2 --report "$work/$n/ocr.jsonl" "$work/$n/garbled.pdf" || true
  printf '%s\t%s\n' "$original" "$work/$n" >>"$work/files.tsv"
done
python3 - "$work/files.tsv" <<'PY'
import collections, json, re, sys, unicodedata

def tokens(text, numbers):
    text = unicodedata.normalize("NFKC", text).lower()
    return collections.Counter(w for w in re.findall(r"[^\W_]+", text)
                               if len(w) > 1 and (w.isdigit() == numbers))

def pages_of(message):
    found = re.search(r"pages ([0-9, -]+)", message)
    pages = []
    for part in (found.group(1).split(",") if found else []):
        first, _, last = part.strip().partition("-")
        pages += range(int(first), int(last or first) + 1)
    return pages

total = found = numbers = numbers_found = 0
for line in open(sys.argv[1]):
    original, folder = line.rstrip("\n").split("\t")
    row = json.loads(open(folder + "/plain.jsonl").readline())
    pages = pages_of(row["message"]) if row["outcome"] == "garbled" else []
    sound = open(folder + "/original.txt").read().split("\f")
    read = open(folder + "/garbled.txt").read().split("\f")
    file_total = file_found = 0
    for page in pages:
        want, got = tokens(sound[page - 1], False), tokens(read[page - 1], False)
        file_total += sum(want.values())
        file_found += sum((want & got).values())
        want, got = tokens(sound[page - 1], True), tokens(read[page - 1], True)
        numbers += sum(want.values())
        numbers_found += sum((want & got).values())
    total += file_total
    found += file_found
    share = 100 * file_found / file_total if file_total else 0
    print(f"{original}: {len(pages)} garbled pages, {file_found}/{file_total} words ({share:.1f}%)")
print(f"all: {found}/{total} words of the garbled pages read back by OCR"
      f" ({100 * found / max(total, 1):.1f}%); numbers {numbers_found}/{numbers}"
      f" ({100 * numbers_found / max(numbers, 1):.1f}%)")
PY
