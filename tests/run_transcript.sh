#!/usr/bin/env bash
# Runs the program with the arguments of NAME.args (one a line; none when
# absent) on NAME.in (empty when absent) and compares standard output,
# standard error and the way it ended with NAME.out and NAME.err (empty when
# absent) and NAME.status ("exit 0", "exit 1", ... or "abort"), byte for
# byte.
# Usage: run_transcript.sh PROGRAM DIRECTORY/NAME
set -u
program=$1
case=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

args=()
[ -f "$case.args" ] && mapfile -t args <"$case.args"
input=/dev/null
[ -f "$case.in" ] && input=$case.in
"$program" "${args[@]}" <"$input" >"$work/out" 2>"$work/err"
rc=$?
if [ "$rc" -eq 134 ]; then
  status=abort
else
  status="exit $rc"
fi

expected_out=/dev/null
[ -f "$case.out" ] && expected_out=$case.out
expected_err=/dev/null
[ -f "$case.err" ] && expected_err=$case.err
failed=0
if ! cmp -s "$expected_out" "$work/out"; then
  echo "standard output differs from $expected_out:"
  diff -a <(cat -A "$expected_out") <(cat -A "$work/out") | head -40
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
