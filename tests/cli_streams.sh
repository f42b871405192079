#!/usr/bin/env bash
# The command line's batches as streams: a 100 MB line, a quoted field that
# never closes over 100 MB, and many rows must all pass through in small
# memory, every row answered in order, with one job and with four; output
# that cannot be written ends the program as the dialogue's does.
# Usage: cli_streams.sh PROGRAM
set -u
program=$1
source "$(dirname "$0")/stream_run.sh"
program_args=(swell --batch -)
run_seconds=120
# Peak resident memory (kB) allowed above the program's at start; a
# sanitizer's shadow memory needs more.
limit_kb=${MORVEL_STREAM_LIMIT_KB:-16384}

run_batch() {  # label, generator command...
  label=$1
  shift
  run_on "$@"
  [ "$rss" -le "$limit_kb" ] || fail "$label: memory above start ${rss} kB"
  echo "$label: status $status, memory above start ${rss} kB, $(wc -l <"$work/out") output lines"
}

# A row of 100 MB between two good rows: an error row of its own, the rows
# around it answered.
long_line() {
  printf 'id,period_s,height_m\na,10,3\nb,'
  head -c 100000000 /dev/zero | tr '\0' '7'
  printf ',3\nc,10,12\n'
}
run_batch "100 MB line" long_line
[ "$status" -eq 1 ] || fail "100 MB line: status $status, expected 1"
[ "$(wc -l <"$work/out")" -eq 4 ] || fail "100 MB line: not 4 output lines"
grep -q '^a,10,3,inside,' "$work/out" || fail "100 MB line: row a"
grep -q '^c,10,12,above,' "$work/out" || fail "100 MB line: row c"
grep -q '^b,.*record longer than' "$work/out" || fail "100 MB line: row b"
grep -q 'standard input:3: record longer than' "$work/err" ||
  fail "100 MB line: no message for line 3"

# A quote opened and never closed: the rest of the input is one field.
open_quote() {
  printf 'period_s,height_m\n10,3\n"'
  head -c 100000000 /dev/zero | tr '\0' '\n'
}
run_batch "unclosed quote over 100 MB" open_quote
[ "$status" -eq 1 ] || fail "unclosed quote: status $status, expected 1"
[ "$(wc -l <"$work/out")" -eq 3 ] || fail "unclosed quote: not 3 lines"

# Many rows: memory does not grow with their number.
many_rows() {
  printf 'period_s,height_m\n'
  yes '10,3' | head -n 200000
}
run_batch "200000 rows" many_rows
[ "$status" -eq 0 ] || fail "200000 rows: status $status"
[ "$(wc -l <"$work/out")" -eq 200001 ] || fail "200000 rows: row count"

# Output closed: a notice and status 2, as the dialogue; a broken pipe ends
# the program by its signal.
"$program" swell 10 3 >&- 2>"$work/err"
status=$?
[ "$status" -eq 2 ] || fail "closed output: status $status, expected 2"
many_rows | "$program" swell --batch - 2>/dev/null | head -n 1 >/dev/null
status=${PIPESTATUS[1]}
[ "$status" -eq 141 ] || fail "broken pipe: status $status, expected 141"

# The same with four jobs: bounded memory over many rows and over a long
# line, the same bytes as one job from a pipe, and an output failure in the
# middle of the run ending it as with one job.
program_args=(swell --batch - --jobs 4)
run_batch "200000 rows, 4 jobs" many_rows
[ "$status" -eq 0 ] || fail "200000 rows, 4 jobs: status $status"
cp "$work/out" "$work/out4"
program_args=(swell --batch - --jobs 1)
run_on many_rows
cmp -s "$work/out" "$work/out4" || fail "4 jobs: not the bytes of one job"
program_args=(swell --batch - --jobs 4)
run_batch "100 MB line, 4 jobs" long_line
[ "$status" -eq 1 ] || fail "100 MB line, 4 jobs: status $status, expected 1"
many_rows | "$program" swell --batch - --jobs 4 >/dev/full 2>"$work/err"
status=${PIPESTATUS[1]}
[ "$status" -eq 2 ] || fail "full disk, 4 jobs: status $status, expected 2"
grep -q '^morvelstandrik: standard output: No space left on device$' \
  "$work/err" || fail "full disk, 4 jobs: no notice"
many_rows | "$program" swell --batch - --jobs 4 2>/dev/null | head -n 1000 >/dev/null
status=${PIPESTATUS[1]}
[ "$status" -eq 141 ] || fail "broken pipe, 4 jobs: status $status, expected 141"

exit $failed
