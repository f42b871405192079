#!/usr/bin/env bash
# Runs the program with the arguments of NAME.args (one per line) and
# NAME.in (when present) as standard input, and compares standard output,
# standard error and the exit status with NAME.out, NAME.err (empty when
# absent) and NAME.status ("exit N"), byte for byte.
# Usage: run_cli_transcript.sh PROGRAM DIRECTORY/NAME
set -u
program=$1
case=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mapfile -t args <"$case.args"
input=/dev/null
[ -f "$case.in" ] && input=$case.in
"$program" "${args[@]}" <"$input" >"$work/out" 2>"$work/err"
status="exit $?"

failed=0
expected_out=/dev/null
[ -f "$case.out" ] && expected_out=$case.out
expected_err=/dev/null
[ -f "$case.err" ] && expected_err=$case.err
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
