#!/usr/bin/env bash
# The scan benchmark: generates a tree in a temporary folder (by default 20
# folders of 1,000 subfolders each, 10 files in every folder: 200,210 files in
# 20,021 folders), times `du` on it natively, then under Wine a plain
# recursive FindFirstFileExW walk (the floor), the analyser's scan and the
# deletion of the scanned root, and prints the figures with the ratio
# scan/floor; then, in the program's main window with its detail list shown,
# the first scan and an Update of the root expanded one level and of the
# whole tree expanded, each with its ratio to the first scan, and the exit
# with the whole tree expanded. Exits non-zero
# when the counts differ. Needs the win64 tree (tools/test builds it).
#   bench/scan_bench.sh     FANOUT=20,10,10,10 (subfolders per level) and FILES_PER_FOLDER=... change the tree,
#                           RUNS=1 runs each figure once (default 3, the best counts),
#                           SCAN_BENCH_EXE=... times another build of scan_bench.exe
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win64"
exe=${SCAN_BENCH_EXE:-$build/bin/scan_bench.exe}
if [ ! -f "$exe" ]; then
  echo "scan_bench: $exe is missing; build the win64 tree first (tools/test)" >&2
  exit 1
fi
fanout=${FANOUT:-20,1000}
per=${FILES_PER_FOLDER:-10}

dir=$(mktemp -d /tmp/scan-bench.XXXXXX)
trap 'rm -rf "$dir"' EXIT

echo "== generating folders of $fanout subfolders per level with $per files each in $dir"
python3 - "$dir" "$fanout" "$per" <<'PY'
import os, random, sys
base, fanout, per = sys.argv[1], [int(n) for n in sys.argv[2].split(",")], int(sys.argv[3])
rng = random.Random(7)
def fill(folder, level):
    for k in range(per):
        with open(os.path.join(folder, "file%02d.dat" % k), "wb") as f:
            f.truncate(rng.randint(1, 200000))
    if level < len(fanout):
        for j in range(fanout[level]):
            sub = os.path.join(folder, "d%04d" % j)
            os.mkdir(sub)
            fill(sub, level + 1)
fill(base, 0)
PY

echo "== du (native)"
start=$(date +%s.%N)
du_all=$(du -s -b "$dir" | cut -f1)
end=$(date +%s.%N)
du_objects=$(du -s --inodes "$dir" | cut -f1)
# du counts directories' own sizes too; the scan counts file sizes only.
du_folders=$(find "$dir" -type d | wc -l)
dir_bytes=$(find "$dir" -type d -printf '%s\n' | awk '{s += $1} END {print s}')
du_files=$((du_objects - du_folders))
du_bytes=$((du_all - dir_bytes))
du_seconds=$(awk "BEGIN {print $end - $start}")
printf 'du:    files %d folders %d bytes %d seconds %.2f\n' "$du_files" "$du_folders" "$du_bytes" "$du_seconds"

echo "== floor, scan and deletion (Wine)"
winpath="Z:$(echo "$dir" | tr / '\\')"
status=0
# The figures show as they come; the window's Updates can take a while.
"$root/tools/wine-run" "$build/wine" "$exe" "$winpath" "${RUNS:-3}" | stdbuf -oL tr -d '\r' | tee "$dir.out" || status=$?
out=$(cat "$dir.out")
rm -f "$dir.out"
read -r _ _ s_files _ s_folders _ s_bytes _ <<<"$(grep '^scan:' <<<"$out")"

if [ "$status" -eq 0 ] && [ "$s_files" = "$du_files" ] && [ "$s_folders" = "$du_folders" ] && [ "$s_bytes" = "$du_bytes" ]; then
  echo "totals agree"
else
  echo "totals DIFFER" >&2
  exit 1
fi
