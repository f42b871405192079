#!/usr/bin/env bash
# An interrupt or a termination request ends the program at once with exit
# status 1 and a one-word notice on standard error, whatever it was doing.
# ONLY names the requests to try (INT, TERM; both by default): the Windows
# program under Wine gets Ctrl-C as SIGINT and has no termination request.
# Usage: stop_requests.sh PROGRAM [ONLY...]
set -u
program=$1
shift
only=("$@")
[ ${#only[@]} -eq 0 ] && only=(INT TERM)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

check() {  # signal, expected notice
  local signal=$1 notice=$2
  mkfifo "$work/in.$signal"
  # The first run's menu must not be taken for this one's: the shell
  # truncates the file only once the new process runs.
  rm -f "$work/out" "$work/err"
  # The menu waits for a choice that never comes: the fifo stays open.
  "$program" <"$work/in.$signal" >"$work/out" 2>"$work/err" &
  local pid=$!
  exec 3>"$work/in.$signal"
  for _ in $(seq 50); do
    [ -s "$work/out" ] && break
    sleep 0.1
  done
  kill "-$signal" "$pid"
  wait "$pid"
  local rc=$?
  exec 3>&-
  if [ "$rc" -ne 1 ]; then
    echo "SIG$signal: exit status $rc, expected 1"
    failed=1
  fi
  if [ "$(cat -A "$work/err")" != "$notice\$" ]; then
    echo "SIG$signal: standard error was:"
    cat -A "$work/err"
    failed=1
  fi
  if ! grep -q 'Now chose by entering' "$work/out"; then
    echo "SIG$signal: the menu was not shown before the wait"
    failed=1
  fi
}

for signal in "${only[@]}"; do
  case $signal in
    INT) check INT Interrupt ;;
    TERM) check TERM Killed ;;
    *) echo "unknown request $signal"; exit 2 ;;
  esac
done
exit $failed
