# Sourced by the end-to-end stream tests, after they set $program: a
# scratch directory, failure bookkeeping, and a run of the program on the
# bytes of a generator.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}
program_args=()  # the program's arguments for run_on
run_seconds=60   # run_on stops a run that takes longer

# Runs the program on the bytes of a generator; leaves its status in
# $status, its output and standard error in $work/out and $work/err and its
# peak memory in kilobytes in $rss.
run_on() {  # generator command...
  "$@" | /usr/bin/time -f '%M' -o "$work/rss" timeout "$run_seconds" \
    "$program" "${program_args[@]}" >"$work/out" 2>"$work/err"
  status=${PIPESTATUS[1]}
  rss=$(tail -n 1 "$work/rss")
}
