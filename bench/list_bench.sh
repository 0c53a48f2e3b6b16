#!/usr/bin/env bash
# The big-folder benchmark: generates folders of 20,000, 50,000 and 200,000
# files and a tree of folders (by default 26 folders of 1,000 subfolders:
# 26,027 items when wholly open) in a temporary folder, then times under Wine
# in Foldwick's main window: each folder's detail list from its selection
# until every row is shown, a sort of that list by Size and by Name, and a
# change of View and of unit with the whole tree open. Needs the win64 tree
# (tools/test builds it).
#   bench/list_bench.sh     VIEW_FANOUT=26,1000 (subfolders per level) changes the tree,
#                           ROWS="20000 50000 200000" the list sizes,
#                           RUNS=1 runs each figure once (default 3, the best counts)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win64"
exe=${LIST_BENCH_EXE:-$build/bin/list_bench.exe}
if [ ! -f "$exe" ]; then
  echo "list_bench: $exe is missing; build the win64 tree first (tools/test)" >&2
  exit 1
fi
dir=$(mktemp -d /tmp/list-bench.XXXXXX)
trap 'rm -rf "$dir"' EXIT

echo "== generating lists of ${ROWS:-20000 50000 200000} files and a tree of ${VIEW_FANOUT:-26,1000} folders in $dir"
python3 - "$dir" "${ROWS:-20000 50000 200000}" "${VIEW_FANOUT:-26,1000}" <<'PY'
import os, random, sys
base, rows, fanout = sys.argv[1], [int(n) for n in sys.argv[2].split()], [int(n) for n in sys.argv[3].split(",")]
rng = random.Random(7)
os.makedirs(os.path.join(base, "list"))
for n in rows:
    folder = os.path.join(base, "list", "rows%d" % n)
    os.mkdir(folder)
    for k in range(n):
        with open(os.path.join(folder, "file%06d.dat" % k), "wb") as f:
            f.truncate(rng.randint(1, 200000))
def fill(folder, level):
    if level < len(fanout):
        for j in range(fanout[level]):
            sub = os.path.join(folder, "d%04d" % j)
            os.mkdir(sub)
            fill(sub, level + 1)
os.makedirs(os.path.join(base, "view"))
fill(os.path.join(base, "view"), 0)
PY

winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
"$root/tools/wine-run" "$build/wine" "$exe" "$(winpath "$dir/list")" "$(winpath "$dir/view")" "${RUNS:-3}" |
  stdbuf -oL tr -d '\r'
