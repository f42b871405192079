#!/usr/bin/env bash
# Runs every example of the README: the block after "<!-- example NAME
# input -->" is fed to the program (or the block after "<!-- example NAME
# command -->" is run by bash with the program as morvelstandrik), and the
# block after "<!-- example NAME output -->" must appear, line for line, in
# what the program prints.
# Usage: readme_examples.sh PROGRAM README
set -u
program=$1
readme=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes each marked block to $work/NAME.input or $work/NAME.output.
awk -v dir="$work" '
  /^<!-- example .* (input|command|output) -->$/ { name = $3 "." $4; next }
  name != "" && /^```/ {
    if (inside) { inside = 0; name = ""; next }
    inside = 1; file = dir "/" name; printf "" > file; next
  }
  inside { print > file }
' "$readme"

mkdir "$work/bin"
ln -s "$(cd "$(dirname "$program")" && pwd)/$(basename "$program")" \
  "$work/bin/morvelstandrik"

failed=0
count=0
for input in "$work"/*.input "$work"/*.command; do
  [ -f "$input" ] || continue
  name=$(basename "$input")
  name=${name%.*}
  expected=$work/$name.output
  if [ ! -f "$expected" ]; then
    echo "example $name has no output block"
    failed=1
    continue
  fi
  if [ "${input##*.}" = command ]; then
    PATH="$work/bin:$PATH" bash "$input" >"$work/$name.actual" 2>/dev/null
  else
    "$program" <"$input" >"$work/$name.actual" 2>&1
  fi
  # The expected lines must stand together, in order, in the output.
  if ! python3 - "$expected" "$work/$name.actual" <<'PY'; then
import sys
want = open(sys.argv[1], 'rb').read()
got = open(sys.argv[2], 'rb').read()
sys.exit(0 if (b'\n' + want) in (b'\n' + got) else 1)
PY
    echo "example $name: the output shown in the README is not what the program prints"
    failed=1
  fi
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no examples found"; failed=1; }
echo "$count examples checked"
exit $failed
