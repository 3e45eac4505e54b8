#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times zelto-extract converting in its extraction workers (the default) and
# with --engine pdftotext against xargs -P running pdftotext -layout, on two
# corpora made from a folder of PDFs: about 1,000 one-page PDFs cut from its
# documents, where starting a program per file costs the most, and its PDFs
# as they are. Then checks that every text of both engines is byte for byte
# the one pdftotext writes and that both engines' reports say the same, and
# samples each worker's resident memory.
#
#   bash bench/worker-engine.sh FOLDER [rounds]
#
# Rounds default to 3; the best of them is printed. The programs are taken
# from build/ci/src, or $ZELTO_BUILD/src. The corpora are made in a
# temporary folder, or kept in $ZELTO_BENCH_CACHE for the next run (made
# again for another folder; delete it when the folder's PDFs change).
# $ZELTO_BENCH_JOBS sets the conversions at once (default 2, which the goals
# were set for). Exits 1 when a text or a report row differs.
#
# Each time comes with the CPU time of the whole run (tools and workers
# included): the workers' gain should show in both, not only on the clock.
set -euo pipefail
folder=$(realpath -- "${1:?usage: bash bench/worker-engine.sh FOLDER [rounds]}")
[[ -z ${ZELTO_BUILD-} ]] || ZELTO_BUILD=$(realpath -- "$ZELTO_BUILD")
[[ -z ${ZELTO_BENCH_CACHE-} ]] || ZELTO_BENCH_CACHE=$(realpath -m -- "$ZELTO_BENCH_CACHE")
cd "$(dirname "$0")/.."
rounds=${2:-3}
jobs=${ZELTO_BENCH_JOBS:-2}
cores=$(nproc)
build=${ZELTO_BUILD:-build/ci}
target=1000
per_doc=8
for program in zelto-extract zelto-extract-worker; do
  if [[ ! -x $build/src/$program ]]; then
    echo "no $build/src/$program: build it first (cmake --build --preset ci)" >&2
    exit 2
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A build finishing during the rounds must not swap the programs under
# them; the worker is looked for beside the command, so both move together.
mkdir "$work/bin"
cp "$build/src/zelto-extract" "$build/src/zelto-extract-worker" "$work/bin/"
extract=$work/bin/zelto-extract

cache=${ZELTO_BENCH_CACHE:-$work/cache}
mkdir -p "$cache"
key=$(printf '%s\n' "$folder" "$target" "$per_doc")
if [[ ! -f $cache/complete || $(cat "$cache/complete") != "$key" ]]; then
  rm -rf "$cache/one-page" "$cache/real" "$cache"/*.shape "$cache/complete"
fi

calc() { awk "BEGIN { print $1 }"; }
# The PDFs of a corpus as a NUL-separated list of absolute paths, sorted
# the same way whatever the locale, so that every run meets them in the same
# order.
pdf_list() { find "$1" -type f -iname '*.pdf' -print0 | LC_ALL=C sort -z; }
# A text lands under the text folder as NAME.txt for NAME.pdf: files given
# one by one, not inside a folder given, land flat there, so the corpora may
# hold no two PDFs of one name.

mapfile -d '' sources < <(pdf_list "$folder")
if ((${#sources[@]} == 0)); then
  echo "no PDFs in $folder" >&2
  exit 2
fi

# "real": the folder's PDFs as they are, linked rather than copied where
# they share a file system. Two of the same name get a number.
if [[ ! -d $cache/real ]]; then
  rm -rf "$cache/real.tmp"
  mkdir "$cache/real.tmp"
  declare -A taken=()
  for src in "${sources[@]}"; do
    base=${src##*/}
    stem=${base%.*} name=$base n=1
    while [[ -n ${taken[${name%.*}]-} ]]; do
      n=$((n + 1))
      name="$stem ($n).${base##*.}"
    done
    taken[${name%.*}]=1
    ln -- "$src" "$cache/real.tmp/$name" 2>/dev/null || cp -- "$src" "$cache/real.tmp/$name"
  done
  unset taken
  mv "$cache/real.tmp" "$cache/real"
fi

# "one-page": the first pages of every document, as many from each as it
# takes to reach the target (at most $per_doc), so that the pages come from
# as many documents as possible rather than from the first few.
if [[ ! -d $cache/one-page ]]; then
  rm -rf "$cache/one-page.tmp"
  mkdir -p "$cache/one-page.tmp" "$work/cut"
  avail=()
  for src in "${sources[@]}"; do
    p=$(pdfinfo -- "$src" 2>/dev/null | awk '/^Pages:/ {print $2}') || true
    avail+=($((${p:-0} < per_doc ? ${p:-0} : per_doc)))
  done
  # The fewest pages per document that reach the target; documents in
  # sorted order take one page more until the target is met exactly.
  for ((k = 1; k <= per_doc; k++)); do
    sum=0
    for a in "${avail[@]}"; do sum=$((sum + (a < k ? a : k))); done
    ((sum >= target)) && break
  done
  ((k > per_doc)) && k=$per_doc
  take=() sum=0
  for a in "${avail[@]}"; do
    t=$((a < k - 1 ? a : k - 1))
    take+=("$t")
    sum=$((sum + t))
  done
  for i in "${!avail[@]}"; do
    ((sum >= target)) && break
    if ((avail[i] >= k && take[i] < k)); then
      take[i]=$((take[i] + 1))
      sum=$((sum + 1))
    fi
  done
  skipped=0
  for i in "${!sources[@]}"; do
    ((take[i] > 0)) || { ((avail[i] > 0)) || skipped=$((skipped + 1)); continue; }
    rm -f "$work/cut"/*
    # pdfseparate reads its pattern with %d, so the cut pages get plain
    # names first and the document's name only afterwards.
    if ! pdfseparate -f 1 -l "${take[i]}" -- "${sources[i]}" "$work/cut/%d.pdf" 2>/dev/null; then
      skipped=$((skipped + 1))
      continue
    fi
    base=${sources[i]##*/}
    for ((p = 1; p <= take[i]; p++)); do
      [[ -f $work/cut/$p.pdf ]] &&
        mv "$work/cut/$p.pdf" "$cache/one-page.tmp/$(printf '%04d-%d' "$i" "$p") ${base%.*}.pdf"
    done
  done
  ((skipped == 0)) || echo "one-page: $skipped PDFs skipped, unreadable by pdfinfo or pdfseparate"
  mv "$cache/one-page.tmp" "$cache/one-page"
fi

# The corpus's shape: files, bytes, pages, and how many make pdftotext
# print something on standard error (warnings cost time on both sides).
shape() {
  local dir=$1 files bytes
  files=$(find "$dir" -type f -iname '*.pdf' | wc -l)
  bytes=$(find "$dir" -type f -iname '*.pdf' -printf '%s\n' | awk '{s += $1} END {print s + 0}')
  # shellcheck disable=SC2016 # $0 and $2 are for the sh that xargs starts
  pdf_list "$dir" | xargs -0 -r -P "$cores" -n 1 sh -c '
    p=$(pdfinfo "$0" 2>/dev/null | awk "/^Pages:/ {print \$2}")
    e=$(pdftotext -layout "$0" /dev/null 2>&1 | head -c 1 | wc -c)
    echo "${p:-?} $e"' |
    sort -n | awk -v files="$files" -v mb="$(calc "$bytes / 1000000")" '
      $1 != "?" {p[++n] = $1}
      $1 == "?" {unread++}
      $2 > 0 {warned++}
      function rank(q) { i = int(q * n); if (i < q * n) i++; return p[i < 1 ? 1 : i] }
      END {
        printf "%d PDFs, %.1f MB, pages min %d, median %d, 90th percentile %d, max %d", \
          files, mb, p[1], rank(0.5), rank(0.9), p[n]
        if (unread) printf " (%d unreadable by pdfinfo)", unread
        printf ", %d with pdftotext messages on stderr\n", warned
      }'
}
corpora=(one-page real)
for c in "${corpora[@]}"; do
  [[ -f $cache/$c.shape ]] || shape "$cache/$c" > "$cache/$c.shape"
  echo "corpus $c (from $folder): $(cat "$cache/$c.shape")"
done
printf '%s\n' "$key" > "$cache/complete"
echo "machine: $cores cores, load $(cut -d' ' -f1-3 /proc/loadavg); $jobs at once"

# The lists: the command's (paths) and xargs's (each path followed by where
# its text goes, so pdftotext writes a file of the same name as the
# command's into a tree of its own).
for c in "${corpora[@]}"; do
  pdf_list "$cache/$c" > "$work/$c.list"
  : > "$work/$c.pairs"
  while IFS= read -r -d '' pdf; do
    base=${pdf##*/}
    printf '%s\0%s\0' "$pdf" "$work/out/$c/a/${base%.*}.txt"
  done < "$work/$c.list" > "$work/$c.pairs"
  # The first round should not be the one that reads the PDFs from disk.
  xargs -0 -r cat < "$work/$c.list" > /dev/null
done

# Runs a command and prints its wall-clock seconds, the CPU seconds of it
# and everything it started, and its exit status.
timed() {
  python3 -c 'import resource, subprocess, sys, time
start = time.monotonic()
code = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
wall = time.monotonic() - start
used = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.2f %.2f %d" % (wall, used.ru_utime + used.ru_stime, code))' "$@"
}
# Runs a command and, every 0.2 s, reads the peak resident memory (VmHWM)
# of it and of each zelto-extract-worker it started; prints the command's
# peak in KB, then each worker's.
sampled() {
  python3 -c 'import os, subprocess, sys, time
def status(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            fields = dict(line.split(":", 1) for line in f if ":" in line)
        # The program, not the name: a child forked and not yet started
        # still bears the name of the command.
        name = os.path.basename(os.readlink("/proc/%d/exe" % pid).removesuffix(" (deleted)"))
        return name, int(fields["PPid"]), int(fields.get("VmHWM", "0 kB").split()[0])
    except (OSError, KeyError, ValueError):
        return None
child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
peaks, workers = {child.pid: 0}, set()
while child.poll() is None:
    known = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            seen = status(int(entry))
            if seen:
                known[int(entry)] = seen
    # Only descendants count: another run of the command may have its own
    # workers on the machine.
    mine = {child.pid}
    grew = True
    while grew:
        grew = False
        for pid, (name, ppid, _) in known.items():
            if ppid in mine and pid not in mine:
                mine.add(pid)
                grew = True
    for pid in mine:
        if pid in known:
            name, _, hwm = known[pid]
            if pid == child.pid or name == "zelto-extract-worker":
                peaks[pid] = max(peaks.get(pid, 0), hwm)
                if pid != child.pid:
                    workers.add(pid)
    time.sleep(0.2)
print(peaks[child.pid], *(peaks[pid] for pid in sorted(workers)))' "$@"
}

declare -A best_wall best_cpu
declare -A labels=([a]="xargs pdftotext" [b]="workers" [c]="--engine pdftotext")
run() { # corpus side
  local out=$work/out/$1/$2
  rm -rf "$out"
  mkdir -p "$out"
  case $2 in
    a) timed xargs -0 -a "$work/$1.pairs" -P "$jobs" -n 2 pdftotext -layout ;;
    b) timed "$extract" -q -j "$jobs" --existing replace --text-folder "$out" --from "$work/$1.list" -0 \
         --report "$work/$1.$2.csv" ;;
    c) timed "$extract" -q -j "$jobs" --existing replace --text-folder "$out" --from "$work/$1.list" -0 \
         --report "$work/$1.$2.csv" --engine pdftotext ;;
  esac
}
# Each round runs every corpus and side in turn, the order of the sides
# turning by one each round, so that a moment of noise, or a cache warmed by
# the run before, falls on every side alike.
sides=(a b c)
for ((round = 1; round <= rounds; round++)); do
  for c in "${corpora[@]}"; do
    line="round $round $c:"
    for ((s = 0; s < 3; s++)); do
      side=${sides[(s + round - 1) % 3]}
      read -r wall cpu code < <(run "$c" "$side")
      line+=" ${labels[$side]} $wall s (CPU $cpu s$( ((code == 0)) || echo ", exit $code"));"
      slot=$c.$side
      best_wall[$slot]=$(calc "${best_wall[$slot]:-999999} < $wall ? ${best_wall[$slot]:-999999} : $wall")
      best_cpu[$slot]=$(calc "${best_cpu[$slot]:-999999} < $cpu ? ${best_cpu[$slot]:-999999} : $cpu")
    done
    echo "${line%;}"
  done
done

declare -A goal=([one-page]=0.45 [real]=0.95)
for c in "${corpora[@]}"; do
  a_wall=${best_wall[$c.a]} a_cpu=${best_cpu[$c.a]}
  printf '%s best of %d: xargs pdftotext %.2f s (CPU %.2f s)\n' "$c" "$rounds" "$a_wall" "$a_cpu"
  for side in b c; do
    w=${best_wall[$c.$side]} u=${best_cpu[$c.$side]}
    printf '  %-18s %.2f s (CPU %.2f s): %s/a %.3f (CPU %.3f)' "${labels[$side]}" "$w" "$u" "$side" \
      "$(calc "$w / $a_wall")" "$(calc "$u / $a_cpu")"
    if [[ $side == b ]]; then
      printf ' (goal <= %s, %s)' "${goal[$c]}" "$(calc "$w / $a_wall <= ${goal[$c]} ? \"met\" : \"missed\"")"
    fi
    echo
  done
done

# The texts of the last round: the workers' and the command's runs of
# pdftotext against pdftotext's own.
status=0
for c in "${corpora[@]}"; do
  for side in b c; do
    compared=0 differ=0 neither=0 listed=()
    while IFS= read -r -d '' pdf; do
      base=${pdf##*/} name=${base%.*}.txt
      a=$work/out/$c/a/$name x=$work/out/$c/$side/$name
      if [[ ! -e $a && ! -e $x ]]; then
        neither=$((neither + 1))
        continue
      fi
      if [[ -e $a && -e $x ]]; then
        compared=$((compared + 1))
        cmp -s -- "$a" "$x" && continue
        listed+=("$name")
      elif [[ -e $a ]]; then
        listed+=("$name (no text from ${labels[$side]})")
      else
        listed+=("$name (no text from pdftotext)")
      fi
      differ=$((differ + 1))
    done < "$work/$c.list"
    printf '%s identity, %s against pdftotext -layout: %d compared, %d differ, %d without text from either\n' \
      "$c" "${labels[$side]}" "$compared" "$differ" "$neither"
    for ((i = 0; i < ${#listed[@]} && i < 50; i++)); do echo "  differs: ${listed[i]}"; done
    ((${#listed[@]} <= 50)) || echo "  and $((${#listed[@]} - 50)) more"
    ((differ == 0)) || status=1
  done
done

# The messages of the last round: every report row of the workers' run (the
# outcome, every message about the file, the exit status and signal) as the
# run of pdftotext wrote it, once the text folders' names are the same.
for c in "${corpora[@]}"; do
  python3 -c 'import csv, sys
def rows(path, folder):
    with open(path, newline="", encoding="utf-8", errors="surrogateescape") as f:
        return sorted((r["source"], r["outcome"], r["message"].replace(folder, "OUT"), r["exit_status"],
                       r["signal"]) for r in csv.DictReader(f))
b, c = rows(sys.argv[1], sys.argv[2]), rows(sys.argv[3], sys.argv[4])
differ = [x for x, y in zip(b, c) if x != y] + (["(row count)"] if len(b) != len(c) else [])
print("%s messages, workers against --engine pdftotext: %d report rows, %d differ" % (sys.argv[5], len(b), len(differ)))
for row in differ[:20]:
    print("  differs:", row)
sys.exit(1 if differ else 0)' "$work/$c.b.csv" "$work/out/$c/b" "$work/$c.c.csv" "$work/out/$c/c" "$c" || status=1
done

# Memory: one more run of the workers on each corpus, watched. A worker is
# replaced after a number of files, so there may be more workers than jobs.
for c in "${corpora[@]}"; do
  out=$work/out/$c/m
  mkdir -p "$out"
  read -r main peaks < <(sampled "$extract" -q -j "$jobs" --existing replace --text-folder "$out" \
    --from "$work/$c.list" -0)
  read -r -a peaks <<< "${peaks:-}"
  printf '%s memory: zelto-extract peak %.1f MB; %d workers, peak MB each:' "$c" \
    "$(calc "$main / 1024")" "${#peaks[@]}"
  for kb in "${peaks[@]}"; do printf ' %.1f' "$(calc "$kb / 1024")"; done
  echo
  rm -rf "$out"
done
exit "$status"
