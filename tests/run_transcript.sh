#!/usr/bin/env bash
# Runs the program on NAME.in and compares standard output, standard error
# and the way it ended with NAME.out, NAME.err (empty when absent) and
# NAME.status ("exit 0", "exit 1" or "abort"), byte for byte.
# Usage: run_transcript.sh PROGRAM DIRECTORY/NAME
set -u
program=$1
case=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$program" <"$case.in" >"$work/out" 2>"$work/err"
rc=$?
if [ "$rc" -eq 134 ]; then
  status=abort
else
  status="exit $rc"
fi

expected_err=/dev/null
[ -f "$case.err" ] && expected_err=$case.err
failed=0
if ! cmp -s "$case.out" "$work/out"; then
  echo "standard output differs from $case.out:"
  diff -a <(cat -A "$case.out") <(cat -A "$work/out") | head -40
  failed=1
fi
if ! cmp -s "$expected_err" "$work/err"; then
  echo "standard error differs from $expected_err:"
  diff -a <(cat -A "$expected_err") <(cat -A "$work/err") | head -20
  failed=1
fi
if [ "$status" != "$(cat "$case.status")" ]; then
  echo "ended with '$status', expected '$(cat "$case.status")'"
  failed=1
fi
exit $failed
