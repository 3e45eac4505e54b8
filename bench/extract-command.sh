#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times zelto-extract against xargs -P running the same pdftotext calls, at
# one conversion at a time and at one per core, on a copy of a folder of
# PDFs; then a second run over the converted copy (nothing left to do); then
# the command's peak memory for lists of 1,000, 10,000 and 100,000 files,
# converted by a stand-in for pdftotext so that the list, not the tool, is
# what is measured. Prints the corpus's shape with every figure.
#
#   bash bench/extract-command.sh FOLDER [rounds] [list lengths]
#
# The list lengths default to "1000 10000 100000"; "" leaves memory out.
# Each time comes with the CPU time of the whole run (tools included), which
# tells the program's own cost apart from the machine's noise.
#
# Builds the command and the stand-in (preset default) when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:?usage: bash bench/extract-command.sh FOLDER [rounds]}
rounds=${2:-3}
lengths=${3-1000 10000 100000}
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
# Runs a command and prints its wall-clock seconds and the CPU seconds of
# it and everything it started.
timed() {
  python3 -c 'import resource, subprocess, sys, time
start = time.monotonic()
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
wall = time.monotonic() - start
used = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.2f %.2f" % (wall, used.ru_utime + used.ru_stime))' "$@"
}
# Runs a command and prints its peak resident memory in KB.
peak_kb() {
  python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
}
printf '%s\0' "${pdfs[@]}" > "$work/list"

# Both sides get the same list in the same order, so that the long files
# start at the same moment on both.
for n in 1 "$cores"; do
  best_x=999999 best_z=999999
  for ((round = 1; round <= rounds; round++)); do
    clean
    read -r x x_cpu < <(timed sh -c "xargs -0 -P $n -n 1 pdftotext -layout < '$work/list'")
    clean
    read -r z z_cpu < <(timed "$extract" --quiet --jobs "$n" --from "$work/list" -0)
    echo "N=$n round $round: xargs -P$n $x s (CPU $x_cpu s), zelto-extract --jobs $n $z s (CPU $z_cpu s)"
    best_x=$(calc "($x < $best_x) ? $x : $best_x")
    best_z=$(calc "($z < $best_z) ? $z : $best_z")
  done
  printf 'N=%d best: zelto-extract %.2f s / xargs %.2f s = %.3f (goal <= 1.05)\n' "$n" \
    "$best_z" "$best_x" "$(calc "$best_z / $best_x")"
done

# A run over the folder itself, walked, then again with everything done.
clean
read -r first _ < <(timed "$extract" --quiet "$work/corpus")
read -r second _ < <(timed "$extract" --quiet "$work/corpus")
printf 'folder walked: first run %.2f s, second run (everything up to date) %.3f s = %.1f%% (goal < 5%%)\n' \
  "$first" "$second" "$(calc "100 * $second / $first")"

# Peak memory against the length of the list: empty files named .pdf,
# "converted" by the stand-in, which writes no text (each one's outcome is
# "no-text", with its message and report row).
[[ -n $lengths ]] || exit 0
mkdir -p "$work/bin" "$work/many"
cp "$build/tests/zelto_fake_pdftotext" "$work/bin/pdftotext"
for ((d = 0; d < 100; d++)); do
  mkdir -p "$work/many/$d"
  (cd "$work/many/$d" && touch $(seq -f 'scan %g.pdf' 0 999))
done
find "$work/many" -name '*.pdf' | sort > "$work/all.txt"
for count in $lengths; do
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
