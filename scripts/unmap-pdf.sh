#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a copy of a PDF with every font's ToUnicode map removed, the way
# PDFs whose fonts carry no usable map to Unicode are made: the glyphs still
# show, but pdftotext has only the fonts' own codes and glyph names to go by.
#
#   bash scripts/unmap-pdf.sh IN.pdf OUT.pdf
#
# qpdf writes the file in its editable form (one dictionary entry a line),
# perl drops the entries, fix-qdf mends the offsets and qpdf packs it again.
# Needs qpdf (with fix-qdf) and perl. Exits 1 when qpdf cannot read IN.
set -euo pipefail
in=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# qpdf's status 3 means it mended what it warned of.
qpdf --qdf --object-streams=disable "$in" "$work/qdf.pdf" 2>/dev/null || (($? == 3)) || exit 1
perl -ne 'print unless m{^\s*/ToUnicode\s+\d+\s+\d+\s+R\s*$}' "$work/qdf.pdf" >"$work/edited.pdf"
fix-qdf "$work/edited.pdf" >"$work/fixed.pdf"
qpdf --compress-streams=y --object-streams=generate --deterministic-id "$work/fixed.pdf" "$out" 2>/dev/null ||
  (($? == 3)) || exit 1
