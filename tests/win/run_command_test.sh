#!/usr/bin/env bash
# Runs tools/run PROGRAM without a display on what the tree TREE has built and
# checks that it exits 0 and prints the path of each PICTURE it saved.
# Usage: run_command_test.sh TOOLS_RUN TREE PROGRAM PICTURE...
set -uo pipefail
run=$1 tree=$2 program=$3; shift 3
# The run has a display of its own, but it is as heavy as a UI test: without
# a desktop from ctest it waits for the wrapper's screen as UI tests do.
if [ -z "${CTEST_RESOURCE_GROUP_0_DESKTOP:-}" ]; then
  mkdir -p "$tree/wine"
  exec 8>"$tree/wine/screen"
  flock 8
fi
output=$(env -u DISPLAY CORVANE_RUN_TREE="$tree" "$run" "$program" 2>&1 8>&-)
rc=$?
printf '%s\n' "$output"
status=0
if [ $rc -ne 0 ]; then echo "tools/run $program exited $rc"; status=1; fi
listed=$(sed -n '/^Pictures of /,$p' <<<"$output" | tail -n +2)
for picture in "$@"; do
  path="$tree/pictures/run-$program/$picture"
  if ! grep -qxF -- "$path" <<<"$listed"; then echo "$path is not among the printed paths"; status=1; fi
done
while IFS= read -r path; do
  if [ -n "$path" ] && [ ! -s "$path" ]; then echo "$path was printed but not saved"; status=1; fi
done <<<"$listed"
exit $status
