#!/usr/bin/env bash
# A batch file whose name is not plain ASCII (accents, a dash, a Danish
# letter, a space) is read like any other, and a message about it gives
# the name back byte for byte.
# Usage: batch_file_names.sh PROGRAM
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0

name='Überfahrt Kiel–Sønderborg.csv'
printf 'wind_kt,duration_h,fetch_km,depth_m\n20,6,50,30\n35,12,120,15\n' >"$name"
"$program" windsea --batch "$name" >from_file.csv 2>from_file.err
rc=$?
"$program" windsea --batch - <"$name" >from_stdin.csv 2>from_stdin.err
if [ "$rc" -ne 0 ] || [ -s from_file.err ]; then
  echo "reading '$name': status $rc, standard error:"
  cat from_file.err
  failed=1
elif ! cmp -s from_file.csv from_stdin.csv; then
  echo "the rows read from '$name' differ from the same rows on standard input"
  failed=1
elif [ "$(wc -l <from_file.csv)" -ne 3 ]; then
  echo "expected a header and two rows, got:"
  cat from_file.csv
  failed=1
fi

missing='Ærø Ø.csv'
"$program" windsea --batch "$missing" >/dev/null 2>missing.err
rc=$?
if [ "$rc" -ne 2 ] || ! grep -qF "cannot read $missing:" missing.err; then
  echo "a missing '$missing': status $rc, standard error:"
  cat missing.err
  failed=1
fi
exit $failed
