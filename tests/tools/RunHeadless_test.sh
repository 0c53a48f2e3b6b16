#!/usr/bin/env bash
# tools/run without a display, as a user runs it on a machine with no screen:
# it must print where it saved its pictures, every time, and each path it
# prints must be a picture on disk.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(env -u DISPLAY CORVANE_JOBS=1 "$root/tools/run" "${1:-corvane}" 2>&1)
rc=$?
printf '%s\n' "$out"
[ $rc -eq 0 ] || { echo "FAIL: tools/run exited $rc"; exit 1; }
mapfile -t paths < <(printf '%s\n' "$out" | sed -n '/^Pictures of /,$p' | sed 1d)
[ "${#paths[@]}" -gt 0 ] || { echo "FAIL: no picture paths printed"; exit 1; }
for p in "${paths[@]}"; do
  case "$p" in *.png) ;; *) echo "FAIL: not a picture path: $p"; exit 1 ;; esac
  [ -s "$p" ] || { echo "FAIL: printed path missing: $p"; exit 1; }
done
echo "RUN PICTURES OK"
