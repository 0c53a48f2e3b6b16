#!/usr/bin/env bash
# The scan benchmark: generates a tree of 100,000 files in 10,000 folders in a
# temporary folder, times `du` on it natively and the analyser's scan under
# Wine, and prints the files, folders and bytes both count. Exits non-zero
# when the totals differ. Needs the win64 tree (tools/test builds it).
#   bench/scan_bench.sh            FOLDERS=... FILES_PER_FOLDER=... to change the size
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win64"
exe="$build/bin/scan_bench.exe"
if [ ! -f "$exe" ]; then
  echo "scan_bench: $exe is missing; build the win64 tree first (tools/test)" >&2
  exit 1
fi
top=${TOP_FOLDERS:-100}
sub=${SUB_FOLDERS:-99}
per=${FILES_PER_FOLDER:-10}

dir=$(mktemp -d /tmp/scan-bench.XXXXXX)
trap 'rm -rf "$dir"' EXIT

echo "== generating $((top + top * sub)) folders with $per files each in $dir"
python3 - "$dir" "$top" "$sub" "$per" <<'PY'
import os, random, sys
base, top, sub, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
rng = random.Random(7)
def fill(folder):
    os.mkdir(folder)
    for k in range(per):
        with open(os.path.join(folder, "file%02d.dat" % k), "wb") as f:
            f.truncate(rng.randint(1, 200000))
for i in range(top):
    t = os.path.join(base, "top%03d" % i)
    fill(t)
    for j in range(sub):
        fill(os.path.join(t, "sub%03d" % j))
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
printf 'du:   files %d folders %d bytes %d seconds %.2f\n' "$du_files" "$du_folders" "$du_bytes" "$du_seconds"

echo "== scan (Wine)"
winpath="Z:$(echo "$dir" | tr / '\\')"
scan=$("$root/tools/wine-run" "$build/wine" "$exe" "$winpath" | tr -d '\r')
echo "scan: $scan"
read -r _ s_files _ s_folders _ s_bytes _ _ _ _ <<<"$scan"

if [ "$s_files" = "$du_files" ] && [ "$s_folders" = "$du_folders" ] && [ "$s_bytes" = "$du_bytes" ]; then
  echo "totals agree"
else
  echo "totals DIFFER" >&2
  exit 1
fi
