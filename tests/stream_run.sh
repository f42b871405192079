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

# The program's resident memory when it has only started (its code and the
# shared libraries it is linked with, which the coastline and GRIB readers
# made larger): what a stream may add is measured on top of it.
/usr/bin/time -f '%M' -o "$work/rss" "$program" --version >/dev/null 2>&1
start_kb=$(tail -n 1 "$work/rss")

# Runs the program on the bytes of a generator; leaves its status in
# $status, its output and standard error in $work/out and $work/err and in
# $rss the kilobytes its peak memory rose above start_kb.
run_on() {  # generator command...
  "$@" | /usr/bin/time -f '%M' -o "$work/rss" timeout "$run_seconds" \
    "$program" "${program_args[@]}" >"$work/out" 2>"$work/err"
  status=${PIPESTATUS[1]}
  rss=$(($(tail -n 1 "$work/rss") - start_kb))
}
