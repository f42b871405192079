#!/usr/bin/env bash
# Hostile streams, end to end: lines of 100 MB without a newline at a number
# read and at a line read (memory must stay small), standard output closed
# or a broken pipe (the program must end, not hang), and interrupt and
# termination requests while a report is being printed.
# Usage: hostile_streams.sh PROGRAM
set -u
program=$1
source "$(dirname "$0")/stream_run.sh"
size=100000000
limit_kb=${2:-16384}  # resident memory (kB) any run may add to its start

# An abort shows as status 134 (128 + SIGABRT) through timeout and time.
expect_abort_with() {  # first diagnostic line
  [ "$status" -eq 134 ] || fail "$label: ended with $status, expected an abort"
  if [ "$(head -n 1 "$work/err")" != "$1" ]; then
    fail "$label: diagnostic '$(head -n 1 "$work/err")', expected '$1'"
  fi
  if [ "$rss" -gt "$limit_kb" ]; then
    fail "$label: memory above start ${rss} kB"
  fi
  echo "$label: memory above start ${rss} kB"
}

# 100 MB of blanks at the menu prompt: skipped, then the input ends.
label="100 MB of blanks at the menu"
run_on bash -c "head -c $size /dev/zero | tr '\\0' ' '"
expect_abort_with "list in: end of file"

# A number of 100 MB digits: out of range, the menu is drawn again, and the
# line had no newline, so the next read fails at its start.
label="100 MB number at the menu"
run_on bash -c "head -c $size /dev/zero | tr '\\0' 7"
expect_abort_with "read start: end of file"
[ "$(grep -c 'Now chose by entering' "$work/out")" -eq 2 ] ||
  fail "$label: expected two menu screens"

# A 100 MB line at the wind entry: its first 8 characters count (99999999,
# limited and compressed to 70 knots), the rest is discarded unseen.
label="100 MB line at a line read"
run_on bash -c "printf '1\\n\\n'; head -c $size /dev/zero | tr '\\0' 9"
expect_abort_with "read start: end of file"
grep -q '^ 99999999$' "$work/out" || fail "$label: echo of 8 characters missing"
grep -q 'NOTE: Results for winds above 65' "$work/out" ||
  fail "$label: the compressed wind was not announced"

# 100 MB skipped by the introduction's "hit ENTER" line.
label="100 MB line skipped"
run_on bash -c "printf '1\\n'; head -c $size /dev/urandom | tr -d '\\n'"
expect_abort_with "read start: end of file"

# Standard output closed: the program ends at once with a notice.
printf '2\n10\n3\n\n0\n0\n' >"$work/session"
timeout 10 "$program" <"$work/session" >&- 2>"$work/err"
status=$?
[ "$status" -eq 2 ] || fail "closed output: status $status, expected 2"
grep -q 'standard output' "$work/err" || fail "closed output: no notice"

# A reader that stops early: the program ends by the broken pipe, even when
# that signal was ignored when it started, and even on endless input.
for ignore in no yes; do
  (
    [ "$ignore" = yes ] && trap '' PIPE
    yes 2 2>/dev/null | timeout 20 "$program" 2>/dev/null | head -c 1000 >/dev/null
    exit "${PIPESTATUS[1]}"
  )
  status=$?
  [ "$status" -eq 141 ] ||
    fail "broken pipe (SIGPIPE ignored: $ignore): status $status, expected 141"
done

# Interrupt and termination while reports are being printed: a session of
# wind-sea cycles that never ends by itself (however fast the reports
# come), stopped once its reports show.
endless() {
  printf '1\n\n'
  yes $'20\n10\n100\n10\n0\n'
}
for pair in INT:Interrupt TERM:Killed; do
  signal=${pair%%:*}
  notice=${pair#*:}
  # The previous run's report must not be taken for this one's: the shell
  # truncates the file only once the new process runs, which under load can
  # be after the first look below, and the request would then come before
  # the program has its handlers.
  rm -f "$work/out" "$work/err"
  endless | "$program" >"$work/out" 2>"$work/err" &
  pid=$!
  for _ in $(seq 100); do
    grep -q 'Height of Ocean Waves' "$work/out" 2>/dev/null && break
    sleep 0.05
  done
  kill "-$signal" "$pid"
  wait "$pid"
  status=$?
  [ "$status" -eq 1 ] || fail "SIG$signal during a report: status $status"
  [ "$(cat -A "$work/err")" = "$notice\$" ] ||
    fail "SIG$signal during a report: standard error '$(cat -A "$work/err")'"
  grep -q 'END of MORVELSTANDRIK' "$work/out" &&
    fail "SIG$signal arrived only after the session ended"
done

exit $failed
