#!/usr/bin/env bash
# Times zelto-extract against xargs -P running the same pdftotext calls, at
# one conversion at a time and at one per core, on a copy of a folder of
# PDFs; then a second run over the converted copy (nothing left to do); then
# the command's peak memory for lists of 1,000, 10,000 and 100,000 files,
# converted by a stand-in for pdftotext so that the list, not the tool, is
# what is measured. Prints the corpus's shape with every figure.
#
#   bash bench/extract-command.sh FOLDER [rounds]
#
# Builds the command and the stand-in (preset default) when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:?usage: bash bench/extract-command.sh FOLDER [rounds]}
rounds=${2:-2}
cores=$(nproc)
build=build/default
if [[ ! -x $build/src/zelto-extract || ! -x $build/tests/zelto_fake_pdftotext ]]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target zelto-extract zelto_fake_pdftotext >/dev/null
fi
extract=$PWD/$build/src/zelto-extract
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The corpus's shape: files, bytes, pages.
cp -r "$folder" "$work/corpus"
mapfile -d '' pdfs < <(find "$work/corpus" -type f -name '*.pdf' -print0 | sort -z)
pages=$(for pdf in "${pdfs[@]}"; do pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}'; done |
  sort -n | awk '{p[NR]=$1; s+=$1} END {printf "%d pages in all, median %d, 90th percentile %d, max %d", s, p[int((NR+1)/2)], p[int(NR*0.9)], p[NR]}')
bytes=$(du -sb "$work/corpus" | cut -f1)
echo "corpus: $folder: ${#pdfs[@]} PDFs, $((bytes / 1000000)) MB, $pages"
echo "machine: $cores cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

clean() { find "$work/corpus" -name '*.txt' -delete; }
calc() { awk "BEGIN { print $1 }"; }
seconds() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || true
  calc "$EPOCHREALTIME - $start"
}
# Runs a command and prints its peak resident memory in KB.
peak_kb() {
  python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
}
xargs_run() { printf '%s\0' "${pdfs[@]}" | xargs -0 -P "$1" -n 1 pdftotext -layout; }

for n in 1 "$cores"; do
  best_x=999999 best_z=999999
  for ((round = 1; round <= rounds; round++)); do
    clean
    x=$(seconds xargs_run "$n")
    clean
    z=$(seconds "$extract" --quiet --jobs "$n" "$work/corpus")
    echo "N=$n round $round: xargs -P$n $x s, zelto-extract --jobs $n $z s"
    best_x=$(calc "($x < $best_x) ? $x : $best_x")
    best_z=$(calc "($z < $best_z) ? $z : $best_z")
  done
  printf 'N=%d best: zelto-extract %.2f s / xargs %.2f s = %.3f (goal <= 1.05)\n' "$n" \
    "$best_z" "$best_x" "$(calc "$best_z / $best_x")"
done

clean
first=$(seconds "$extract" --quiet "$work/corpus")
second=$(seconds "$extract" --quiet "$work/corpus")
printf 'second run (everything up to date): %.3f s of the first %.2f s = %.1f%% (goal < 5%%)\n' \
  "$second" "$first" "$(calc "100 * $second / $first")"

# Peak memory against the length of the list: empty files named .pdf,
# "converted" by the stand-in, which writes no text (each one's outcome is
# "no-text", with its message and report row).
mkdir -p "$work/bin" "$work/many"
cp "$build/tests/zelto_fake_pdftotext" "$work/bin/pdftotext"
for ((d = 0; d < 100; d++)); do
  mkdir -p "$work/many/$d"
  (cd "$work/many/$d" && touch $(seq -f 'scan %g.pdf' 0 999))
done
find "$work/many" -name '*.pdf' | sort > "$work/all.txt"
for count in 1000 10000 100000; do
  head -n "$count" "$work/all.txt" > "$work/list.txt"
  find "$work/many" -name '*.txt' -delete
  start=$EPOCHREALTIME
  peak=$(PATH="$work/bin:$PATH" peak_kb "$extract" --quiet --jobs "$cores" \
    --from "$work/list.txt" --report "$work/report.csv")
  took=$(calc "$EPOCHREALTIME - $start")
  rows=$(($(wc -l < "$work/report.csv") - 1))
  printf 'list of %6d files: peak resident memory %6d KB, %.1f s, %d report rows\n' \
    "$count" "$peak" "$took" "$rows"
done
