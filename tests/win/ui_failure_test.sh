#!/usr/bin/env bash
# Runs a UI test that fails on purpose through the Wine wrapper, twice (the
# second finds the first one's desktop still up), and checks that each run
# fails with the test's message in its output.
# Usage: ui_failure_test.sh WRAPPER STATE_DIR PROBE.exe
set -uo pipefail
wrapper=$1 state=$2 probe=$3
status=0
for run in 1 2; do
  output=$("$wrapper" "$state" "$probe" --gtest_color=no 2>&1)
  rc=$?
  printf '%s\n' "$output"
  if [ $rc -eq 0 ]; then
    echo "run $run: the failing UI test exited 0 through the wrapper"; status=1
  fi
  for expected in 'probe failure: the wrapper must show this' '[  FAILED  ] FailingUiProbe.FailsWithItsMessage'; do
    if ! grep -qF -- "$expected" <<<"$output"; then
      echo "run $run: \"$expected\" is missing from the output"; status=1
    fi
  done
done
exit $status
