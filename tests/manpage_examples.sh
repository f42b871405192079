#!/usr/bin/env bash
# Runs every example of the manual page and checks that man formats the page
# without a warning. The no-fill block after '.\" example NAME command'
# holds one line "printf '...' | morvelstandrik" (its input is fed to the
# program) or "morvelstandrik ARGUMENTS" (the program runs with them), and every block after '.\" example NAME output' must appear, line
# for line, in what the program prints. In the blocks the roff escapes \e,
# \- and \& stand for a backslash, a minus sign and nothing.
# Usage: manpage_examples.sh PROGRAM PAGE
set -u
program=$1
page=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
# What man and groff find wrong with the page (lintian asks the same).
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" \
  >/dev/null 2>"$work/warnings"
if [ -s "$work/warnings" ]; then
  echo "man reports problems with $page:"
  cat "$work/warnings"
  failed=1
fi

# Writes each marked block to $work/NAME.command or $work/NAME.output.N.
if ! python3 - "$page" "$work" <<'PY'; then
import re, sys
page, work = sys.argv[1], sys.argv[2]
marker = re.compile(r'^\.\\" example (\S+) (command|output)$')
count = {}
name = kind = None
inside = False
lines = []
for raw in open(page, encoding='utf-8').read().split('\n'):
    m = marker.match(raw)
    if m:
        name, kind = m.groups()
        continue
    if name is None:
        continue
    if raw == '.nf':
        inside, lines = True, []
    elif raw == '.fi':
        text = '\n'.join(lines) + '\n'
        text = text.replace('\\e', '\0').replace('\\-', '-').replace('\\&', '')
        if '\\' in text:
            sys.exit(f'example {name}: a roff escape the test does not know')
        text = text.replace('\0', '\\')
        n = count[(name, kind)] = count.get((name, kind), 0) + 1
        path = f'{work}/{name}.{kind}' + (f'.{n}' if kind == 'output' else '')
        open(path, 'w', encoding='latin-1').write(text)
        inside, name = False, None
    elif inside:
        lines.append(raw)
PY
  echo "the examples of $page cannot be read"
  exit 1
fi

count=0
for command in "$work"/*.command; do
  [ -e "$command" ] || break
  name=$(basename "$command" .command)
  line=$(cat "$command")
  if [[ $line =~ ^printf\ \'([^\']*)\'\ \|\ morvelstandrik$ ]]; then
    # shellcheck disable=SC2059 # the example's format string is the input
    printf "${BASH_REMATCH[1]}" | "$program" >"$work/$name.actual" 2>&1
  elif [[ $line =~ ^morvelstandrik\ ([^\'\"]*)$ ]]; then
    read -r -a words <<<"${BASH_REMATCH[1]}"
    "$program" "${words[@]}" </dev/null >"$work/$name.actual" 2>&1
  else
    echo "example $name: not of the form printf '...' | morvelstandrik"
    echo "  or morvelstandrik ARGUMENTS"
    failed=1
    continue
  fi
  outputs=("$work/$name".output.*)
  if [ ! -e "${outputs[0]}" ]; then
    echo "example $name has no output block"
    failed=1
    continue
  fi
  for expected in "${outputs[@]}"; do
    if ! python3 - "$expected" "$work/$name.actual" <<'PY'; then
import sys
want = open(sys.argv[1], 'rb').read()
got = open(sys.argv[2], 'rb').read()
sys.exit(0 if (b'\n' + want) in (b'\n' + got) else 1)
PY
      echo "example $name: block $(basename "$expected") of the manual page is not what the program prints"
      failed=1
    fi
    count=$((count + 1))
  done
done
for expected in "$work"/*.output.*; do
  name=$(basename "$expected")
  name=${name%.output.*}
  if [ ! -f "$work/$name.command" ]; then
    echo "output block of example $name has no command"
    failed=1
  fi
done
[ "$count" -gt 0 ] || { echo "no examples found"; failed=1; }
echo "$count example blocks checked"
exit $failed
