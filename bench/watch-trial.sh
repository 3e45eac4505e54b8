#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tries zelto-extract --watch for real: started on an empty folder, it is
# given COUNT PDFs of FOLDER copied in with cp and SLOW more written in
# chunks with pauses longer than the settling time, while the file stays
# open. Each must get one report row and, where pdftotext converts it, a
# text identical to `pdftotext -layout`. Then the watcher's CPU time over
# IDLE seconds with nothing arriving, and its resident memory every
# STEP arrivals of a small PDF renamed in, up to ARRIVALS.
#
#   bash bench/watch-trial.sh FOLDER [COUNT SLOW IDLE ARRIVALS STEP]
#
# Defaults: 200 20 30 20000 5000. Uses build/ci (built when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:?usage: bash bench/watch-trial.sh FOLDER [COUNT SLOW IDLE ARRIVALS STEP]}
count=${2:-200}
slow=${3:-20}
idle=${4:-30}
arrivals=${5:-20000}
step=${6:-5000}
build=build/ci
if [[ ! -x $build/src/zelto-extract ]]; then
  cmake --preset ci >/dev/null
  cmake --build $build -j2 --target zelto-extract zelto-extract-worker >/dev/null
fi
extract=$PWD/$build/src/zelto-extract
work=$(mktemp -d)
pid=
cleanup() {
  if [[ -n $pid ]]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/in"
# Report rows, not lines: a tool's report may span lines.
rows() {
  python3 -c 'import csv, sys; csv.field_size_limit(1 << 30)
try: print(sum(1 for _ in csv.DictReader(open(sys.argv[1], newline=""))))
except FileNotFoundError: print(0)' "$work/report.csv"
}
wait_rows() {
  local want=$1 limit=$2
  for ((i = 0; i < limit * 10; i++)); do
    (($(rows) >= want)) && return 0
    sleep 0.1
  done
  return 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
# Only the watcher's own ticks: its workers are processes of their own.

"$extract" --watch --report "$work/report.csv" "$work/in" 2>"$work/log" &
pid=$!
for ((i = 0; i < 100; i++)); do grep -q watching "$work/log" && break; sleep 0.1; done

mapfile -d '' pdfs < <(find "$folder" -type f -name '*.pdf' -print0 | sort -z)
((${#pdfs[@]} >= count + slow)) || { echo "need $((count + slow)) PDFs in $folder" >&2; exit 1; }
start=$(date +%s.%N)
for ((i = 0; i < count; i++)); do
  cp "${pdfs[i]}" "$work/in/copied-$i.pdf"
done
# Each slow file is written in four chunks, 3 s apart, through one open
# descriptor, as a scanner writes page by page.
writers=()
for ((i = 0; i < slow; i++)); do
  python3 - "${pdfs[count + i]}" "$work/in/slow-$i.pdf" <<'PY' &
import sys, time
data = open(sys.argv[1], "rb").read()
with open(sys.argv[2], "wb") as out:
    part = len(data) // 4 + 1
    for at in range(0, len(data), part):
        out.write(data[at:at + part])
        out.flush()
        time.sleep(3)
PY
  writers+=($!)
done
wait_rows $((count + slow)) 600 || echo "only $(rows) rows after 600 s" >&2
((${#writers[@]} == 0)) || wait "${writers[@]}" || true
end=$(date +%s.%N)
sleep 5
echo "arrived: $count copied, $slow written slowly; rows: $(rows) in $(echo "$end - $start" | bc) s"

# Each source once; each converted text identical to pdftotext's.
python3 - "$work" "$count" "$slow" "${pdfs[@]:0:$((count + slow))}" <<'PY'
import csv, subprocess, sys, collections
csv.field_size_limit(1 << 30)
work, count, slow, sources = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4:]
rows = list(csv.DictReader(open(f"{work}/report.csv", newline="")))
seen = collections.Counter(r["source"] for r in rows)
names = [f"{work}/in/copied-{i}.pdf" for i in range(count)] + \
        [f"{work}/in/slow-{i}.pdf" for i in range(slow)]
twice = [n for n in names if seen[n] != 1]
outcomes = collections.Counter(r["outcome"] for r in rows)
same = differ = notext = 0
for name, original in zip(names, sources):
    expected = subprocess.run(["pdftotext", "-layout", original, "-"], capture_output=True)
    text = name[:-4] + ".txt"
    try:
        got = open(text, "rb").read()
    except FileNotFoundError:
        got = None
    if expected.returncode != 0 or got is None:
        notext += expected.returncode != 0 and got is None
        if (expected.returncode == 0) != (got is not None):
            differ += 1
            print("  text or no text differs:", name, expected.returncode)
        continue
    if got == expected.stdout:
        same += 1
    else:
        differ += 1
        print("  differs:", name)
print(f"rows by outcome: {dict(outcomes)}")
print(f"sources without exactly one row: {len(twice)} {twice[:5]}")
print(f"texts identical to pdftotext -layout: {same}; different: {differ}; "
      f"neither made a text: {notext}")
PY

before=$(cpu_ticks)
sleep "$idle"
after=$(cpu_ticks)
echo "idle: $((after - before)) ticks of CPU ($(getconf CLK_TCK)/s) in $idle s with nothing arriving"

# The smallest PDF of the folder that pdftotext converts.
small="$work/small.pdf"
while IFS= read -r f; do
  pdftotext -layout "$f" - >/dev/null 2>&1 && { cp "$f" "$small"; break; }
done < <(find "$folder" -type f -name '*.pdf' -size +0 -printf '%s %p\n' | sort -n | cut -d' ' -f2-)
mkdir "$work/staging"
echo "arrivals of a $(stat -c %s "$small")-byte PDF renamed in, resident memory:"
echo "  0: $(rss_kb) KB"
# Each arrival is written beside the folder and renamed in, as a mail
# gateway delivers; the rows of these small files take one line each.
arrived() { grep -c "^$work/in/a-" "$work/report.csv" || true; }
for ((done_ = 0; done_ < arrivals; )); do
  python3 - "$small" "$work/staging" "$work/in" "$done_" "$step" <<'PY'
import os, shutil, sys
small, staging, folder, first, count = sys.argv[1:4] + [int(a) for a in sys.argv[4:]]
for i in range(first, first + count):
    shutil.copyfile(small, f"{staging}/a-{i}.pdf")
    os.rename(f"{staging}/a-{i}.pdf", f"{folder}/a-{i}.pdf")
PY
  done_=$((done_ + step))
  for ((i = 0; i < 12000 && $(arrived) < done_; i++)); do sleep 0.1; done
  echo "  $done_: $(rss_kb) KB, $(arrived) rows"
  find "$work/in" -name 'a-*' -delete
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
echo "SIGTERM: exit status $status"
