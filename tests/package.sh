#!/usr/bin/env bash
# Builds the Debian package from a configured build, installs it into a
# temporary root, runs the installed program on a scripted session, checks
# the manual page, and builds and runs the example consumer of the kernel
# library against the installed CMake package.
# Usage: package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/*.deb)
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture | sed 's/^/  /'
root=$work/root
dpkg-deb -x "$deb" "$root"

# The installed program on a swell session of 10 s and 3 m.
printf '2\n10\n3\n\n0\n0\n' | "$root/usr/bin/morvelstandrik" >"$work/out"
grep -qx ' Windspeed = 30. kt, Bft=  7;   Distance =  400. km' "$work/out"
tail -n 1 "$work/out" | grep -qx '  ~~~~~~ END of MORVELSTANDRIK ~~~~~~~~'
echo "installed program: swell session as expected"

# The manual page is where man looks for it and formats cleanly.
page=$root/usr/share/man/man1/morvelstandrik.1
man -l "$page" 2>/dev/null | grep -q 'EXIT STATUS' ||
  { echo "manual page missing or unreadable"; exit 1; }
echo "manual page: $(man -l "$page" 2>/dev/null | wc -l) lines"

# A program of its own finds the kernels through find_package.
cmake -S "$source_dir/examples/consumer" -B "$work/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$work/consumer" >/dev/null
"$work/consumer/sea_state" | tee "$work/consumer.out" | sed 's/^/  /'
grep -q 'deep water: Hs 1.88 m, T 5.24 s, L 42.8 m' "$work/consumer.out"
grep -q 'in 10 m: Hs 1.74 m, L 39.5 m, status 0' "$work/consumer.out"
grep -q 'swell 10 s, 3 m: wind 30.5 kt, distance 450 km, outcome 0' \
  "$work/consumer.out"

# The installed wvnum gives the literal scan's bits, many times faster. The
# literal scan is test code, not installed: its source comes along.
reference=$work/reference/morvelstandrik/physics
mkdir -p "$reference"
cp "$source_dir"/physics/{wvnum_reference.hpp,wvnum_reference.cpp,float_math.hpp} \
  "$reference"
cmake -S "$source_dir/tests/installed_wvnum" -B "$work/installed_wvnum" \
  -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$root/usr" \
  -DMORVEL_REFERENCE_DIR="$work/reference" >/dev/null
cmake --build "$work/installed_wvnum" >/dev/null
"$work/installed_wvnum/installed_wvnum" | sed 's/^/  /'
echo "package test passed"
