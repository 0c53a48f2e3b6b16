#!/usr/bin/env bash
# Two programs run side by side through the Wine wrapper in a session neither
# was given: the one that started the session ends first, and the other must
# still run to its end; the last one out stops the session.
# Usage: side_by_side_test.sh WRAPPER STATE_DIR
set -uo pipefail
wrapper=$1 state=$2
"$wrapper" --stop "$state" 2>/dev/null
rm -f "$state/started-by-run"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$wrapper" "$state" cmd /c "ping -n 6 127.0.0.1 >nul & echo first-done" >"$out/first" 2>&1 &
first=$!
for _ in $(seq 600); do [ -f "$state/session" ] && break; sleep 0.1; done
"$wrapper" "$state" cmd /c "ping -n 12 127.0.0.1 >nul & echo second-done" >"$out/second" 2>&1 &
second=$!
wait $first; rc1=$?
wait $second; rc2=$?
cat "$out/first" "$out/second"
status=0
grep -q first-done "$out/first" && [ $rc1 -eq 0 ] || { echo "the first program did not end well ($rc1)"; status=1; }
grep -q second-done "$out/second" && [ $rc2 -eq 0 ] || { echo "the second program lost its session ($rc2)"; status=1; }
if [ -f "$state/session" ]; then echo "the session was left running"; "$wrapper" --stop "$state"; status=1; fi
[ $status -ne 0 ] || echo "SIDE BY SIDE OK"
exit $status
