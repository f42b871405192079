#!/usr/bin/env bash
# Batches side by side: this build with one job and with two against a
# baseline build of an earlier commit, on the same seeded wind-sea file,
# as CSV and as JSON Lines, with development tables on every row and on
# none (winds below 10 kt end the report before its table). For each run:
# rows per second of wall time, the speed-up over the baseline, and the
# peak memory; for two jobs also the scaling over one job. Each figure is
# the best of three runs, output to /dev/null. Checks on the way that every
# run gives the baseline's bytes.
# Usage: bench/parallel_batch.sh [ROWS] [BASELINE]
#   ROWS      rows in each file (default 1000000)
#   BASELINE  the commit to compare with (default 8bcea28, the batch of one
#             core that wrote a string per cell)
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-1000000}
baseline=${2:-8bcea28}
work=$(mktemp -d)
trap 'git worktree remove --force "$work/base" 2>/dev/null; rm -rf "$work"' EXIT

# Both builds as the README's program command builds them.
cmake --preset program >/dev/null
cmake --build --preset program >/dev/null
program=build/program/morvelstandrik
git worktree add --quiet --detach "$work/base" "$baseline"
(cd "$work/base" && cmake --preset program >/dev/null &&
  cmake --build --preset program >/dev/null)
base=$work/base/build/program/morvelstandrik

# The seeded files: the spread of the dialogue benchmark's session.
awk -v n="$rows" -v dir="$work" 'BEGIN {
  head = "wind_kt,duration_h,fetch_km,depth_m,current_kt"
  print head > dir "/tables.csv"
  print head > dir "/light.csv"
  for (k = 0; k < n; ++k) {
    d = 1 + (k * 7) % 200; f = 1 + (k * 37) % 5000
    z = 100 + (k * 13) % 4900; c = (k % 5) - 2
    printf "%d,%d,%d,%d,%d\n", 20 + k % 40, d, f, z, c > dir "/tables.csv"
    printf "%d,%d,%d,%d,%d\n", 1 + k % 9, d, f, z, c > dir "/light.csv"
  }
}'

best() {  # command...: sets $wall (best of three, s) and $peak (kB)
  wall=
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
    read -r w peak <"$work/time"
    if [ -z "$wall" ] || awk -v a="$w" -v b="$wall" 'BEGIN{exit !(a<b)}'; then
      wall=$w
    fi
  done
}

printf '%-8s %-6s %-9s %12s %9s %9s %8s\n' file format build rows/s \
  "vs base" "vs 1 job" "peak kB"
for file in tables light; do
  for format in csv json; do
    "$base" windsea --batch "$work/$file.csv" --format "$format" \
      >"$work/expected" 2>/dev/null || true
    base_rate=
    one_rate=
    for build in baseline 1-job 2-jobs; do
      case $build in
        baseline) cmd=("$base" windsea --batch "$work/$file.csv" --format "$format") ;;
        1-job) cmd=("$program" windsea --batch "$work/$file.csv" --format "$format" --jobs 1) ;;
        2-jobs) cmd=("$program" windsea --batch "$work/$file.csv" --format "$format" --jobs 2) ;;
      esac
      "${cmd[@]}" 2>/dev/null | cmp -s - "$work/expected" ||
        echo "$file $format $build: not the baseline's bytes" >&2
      best "${cmd[@]}"
      rate=$(awk -v n="$rows" -v w="$wall" 'BEGIN { printf "%.0f", n / w }')
      [ -n "$base_rate" ] || base_rate=$rate
      [ "$build" != 1-job ] || one_rate=$rate
      vs_base=$(awk -v a="$rate" -v b="$base_rate" 'BEGIN { printf "%.2fx", a / b }')
      vs_one=-
      [ "$build" != 2-jobs ] ||
        vs_one=$(awk -v a="$rate" -v b="$one_rate" 'BEGIN { printf "%.2fx", a / b }')
      printf '%-8s %-6s %-9s %12s %9s %9s %8s\n' "$file" "$format" "$build" \
        "$rate" "$vs_base" "$vs_one" "$peak"
    done
  done
done
