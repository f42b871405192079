#!/usr/bin/env bash
# Builds the Debian packages of a configured build with its `package` target
# and checks them as a distribution would: the file names, lintian (no error,
# no warning; its whole output is shown), the split between the program and
# the -dev package, the hardened and stripped program. Then installs the
# packages into a temporary root with dpkg, runs the installed program on
# scripted sessions, checks the installed manual page, compiles every
# installed header on its own, and builds and runs the example consumer of
# the kernels against the installed CMake package.
# Usage: package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "package test FAILED: $*"
  exit 1
}

rm -f "$build"/*.deb
cmake --build "$build" --target package >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "the package target failed"; }

# NAME_VERSION_ARCH.deb, one for the program and one for the libraries.
arch=$(dpkg --print-architecture)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' \
  "$build/CPackConfig.cmake")
[ -n "$version" ] || fail "no package version in CPackConfig.cmake"
program_deb=$build/morvelstandrik_${version}_${arch}.deb
dev_deb=$build/libmorvelstandrik-dev_${version}_${arch}.deb
python_deb=$build/python3-morvelstandrik_${version}_${arch}.deb
debs=("$program_deb" "$dev_deb")
if grep -q '^MORVEL_PYTHON_MODULE:BOOL=ON$' "$build/CMakeCache.txt"; then
  debs+=("$python_deb")
fi
for deb in "${debs[@]}"; do
  [ -f "$deb" ] || fail "$(basename "$deb") was not built: $(ls "$build"/*.deb)"
  echo "package: $(basename "$deb")"
  dpkg-deb --field "$deb" Package Version Architecture Maintainer Section \
    Depends | sed 's/^/  /'
done
[ "$(ls "$build"/*.deb | wc -l)" -eq "${#debs[@]}" ] ||
  fail "more than ${#debs[@]} packages"

# The changelog's latest entry is this version.
top=$(dpkg-deb --fsys-tarfile "$program_deb" |
  tar -xO ./usr/share/doc/morvelstandrik/changelog.gz | gzip -dc | head -n 1)
[[ $top == "morvelstandrik ($version) "* ]] ||
  fail "the latest changelog entry is not version $version: $top
(add an entry to cmake/debian/changelog)"

# lintian, in full; any error or warning fails.
command -v lintian >/dev/null ||
  fail "lintian is not installed (scripts/setup.sh --tests installs it)"
echo "lintian:"
status=0
lintian --display-info --pedantic --fail-on error,warning \
  "${debs[@]}" >"$work/lintian" 2>&1 || status=$?
sed 's/^/  /' "$work/lintian"
if [ "$status" -ne 0 ] || grep -E '^[EW]: ' "$work/lintian" >/dev/null; then
  fail "lintian reports errors or warnings (status $status)"
fi
echo "lintian: no error, no warning"

# What goes where: the program with its manual page, README and licence;
# headers, static libraries and the CMake package in -dev only.
dpkg-deb --contents "$program_deb" | awk '{print $6}' >"$work/program.files"
dpkg-deb --contents "$dev_deb" | awk '{print $6}' >"$work/dev.files"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for f in ./usr/bin/morvelstandrik ./usr/share/man/man1/morvelstandrik.1.gz \
  ./usr/share/doc/morvelstandrik/README.md \
  ./usr/share/doc/morvelstandrik/LICENSE \
  ./usr/share/doc/morvelstandrik/copyright \
  ./usr/share/doc/morvelstandrik/changelog.gz; do
  grep -qx "$f" "$work/program.files" || fail "morvelstandrik lacks $f"
done
for f in ./usr/include/morvelstandrik/physics/wvnum.hpp \
  ./usr/include/morvelstandrik/swell/decay_table.hpp \
  ./usr/include/morvelstandrik/swell/swelld.hpp \
  "./usr/lib/$multiarch/libmorvelstandrik_physics.a" \
  "./usr/lib/$multiarch/libmorvelstandrik_swell.a" \
  "./usr/lib/$multiarch/cmake/morvelstandrik/morvelstandrikConfig.cmake" \
  ./usr/share/doc/libmorvelstandrik-dev/copyright \
  ./usr/share/doc/libmorvelstandrik-dev/changelog.gz; do
  grep -qx "$f" "$work/dev.files" || fail "libmorvelstandrik-dev lacks $f"
done
if grep -E '^\./usr/(include|lib)/.' "$work/program.files"; then
  fail "the program package carries development files"
fi
if grep -E '^\./usr/(bin|share/man)/.' "$work/dev.files"; then
  fail "the -dev package carries the program"
fi

# Both install together into a temporary root (the libraries they depend
# on are those of this machine).
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# Every file, whatever path-exclude rules this machine sets for itself.
dpkg --root="$root" --log=/dev/null --force-not-root --force-depends \
  --path-include="*" \
  --install "${debs[@]}" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg could not install the packages"; }
dpkg --root="$root" --list morvelstandrik libmorvelstandrik-dev \
  $([ "${#debs[@]}" -eq 3 ] && echo python3-morvelstandrik) \
  >"$work/installed"
[ "$(grep -c '^ii ' "$work/installed")" -eq "${#debs[@]}" ] ||
  fail "the packages are not installed"
echo "installed ${#debs[@]} packages into a temporary root"

# The installed program: stripped, and hardened (full RELRO, stack
# protector, fortified libc calls).
bin=$root/usr/bin/morvelstandrik
readelf --sections --program-headers --dynamic --dyn-syms --wide "$bin" \
  >"$work/elf"
if grep -E ' \.(debug_[a-z]+|symtab|comment) ' "$work/elf"; then
  fail "the installed program is not stripped"
fi
grep -q GNU_RELRO "$work/elf" || fail "no RELRO segment"
grep -qE 'BIND_NOW|FLAGS_1.*NOW' "$work/elf" ||
  fail "relocations are not bound at start (no full RELRO)"
grep -q ' __stack_chk_fail@' "$work/elf" || fail "no stack protector"
grep -qE ' __[a-z]+_chk@' "$work/elf" || fail "no fortified libc calls"
echo "installed program: stripped, full RELRO, stack protector, fortified"

# The installed program on a swell session of 10 s and 3 m and on a wind
# sea of 20 kt over 10 h and 100 km in 10 m of water.
printf '2\n10\n3\n\n0\n0\n' | "$bin" >"$work/swell.out"
grep -qx ' Windspeed = 30. kt, Bft=  7;   Distance =  400. km' \
  "$work/swell.out" || fail "swell session"
[ "$(tail -n 1 "$work/swell.out")" = '  ~~~~~~ END of MORVELSTANDRIK ~~~~~~~~' ] ||
  fail "swell session did not end at the menu"
printf '1\n\n20\n10\n100\n10\n0\nq\n0\n' | "$bin" >"$work/windsea.out"
grep -qx '    ==>            Hc= 1.7 m, Lc= 39.m, Tc= 5.2 sec ' \
  "$work/windsea.out" || fail "wind-sea session"
echo "installed program: swell and wind-sea sessions as expected"

# The manual page where man looks for it, compressed, formatting cleanly.
page=$root/usr/share/man/man1/morvelstandrik.1.gz
gzip --test "$page" || fail "the manual page is not gzip-compressed"
export LC_ALL=C.UTF-8 MANWIDTH=80 MANPATH=$root/usr/share/man
man --warnings -E UTF-8 -Tutf8 -Z morvelstandrik >/dev/null 2>"$work/man.err" ||
  true
[ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "man warns"; }
man morvelstandrik >"$work/man.txt" 2>&1 || true
grep -q 'THE WIND-SEA REPORT' "$work/man.txt" ||
  fail "man does not find the installed page"
echo "manual page: $(wc -l <"$work/man.txt") lines, no warning"

# Every installed header compiles on its own, by the name it is included by.
for header in $(cd "$root/usr/include" && find morvelstandrik -name '*.hpp'); do
  echo "#include <$header>" |
    g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror -fsyntax-only \
      -I"$root/usr/include" -x c++ - ||
    fail "<$header> does not compile on its own"
done
echo "installed headers: each compiles on its own"

# A program of its own finds the kernels through find_package, in the
# multiarch library directory.
cmake -S "$source_dir/examples/consumer" -B "$work/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
grep -qx "morvelstandrik_DIR:PATH=$root/usr/lib/$multiarch/cmake/morvelstandrik" \
  "$work/consumer/CMakeCache.txt" ||
  fail "the consumer did not find the installed CMake package"
cmake --build "$work/consumer" >/dev/null
"$work/consumer/sea_state" | tee "$work/consumer.out" | sed 's/^/  /'
grep -q 'deep water: Hs 1.88 m, T 5.24 s, L 42.8 m' "$work/consumer.out"
grep -q 'in 10 m: Hs 1.74 m, L 39.5 m, status 0' "$work/consumer.out"
grep -q 'swell 10 s, 3 m: wind 30.5 kt, distance 450 km, outcome 0' \
  "$work/consumer.out"
grep -q 'engine: Hc 1.74 m, Lc 39.5 m, Tc 5.24 s, sea sickness 17 %, 680 waves per hour' \
  "$work/consumer.out"
# The walk names 33 numbers (6 entries with the force, 3 deep-water and 3
# wave figures, 4 report figures, 3 horizons of 5, the waves per hour and
# the fully developed height); this sea has every one of them.
grep -q 'engine: 33 fields, 33 with a value' "$work/consumer.out" ||
  fail "the consumer's walk over the report"
grep -q 'engine: swell 10 s, 3 m: inside, Bft 7, shown 400 km' \
  "$work/consumer.out"

# The installed wvnum gives the literal scan's bits, many times faster. The
# literal scan is test code, not installed: its source comes along.
reference=$work/reference/morvelstandrik/physics
mkdir -p "$reference"
cp "$source_dir"/physics/{wvnum_reference.hpp,wvnum_reference.cpp} \
  "$source_dir"/physics/{wvnum_grid.hpp,float_math.hpp} "$reference"
cmake -S "$source_dir/tests/installed_wvnum" -B "$work/installed_wvnum" \
  -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$root/usr" \
  -DMORVEL_REFERENCE_DIR="$work/reference" >/dev/null
cmake --build "$work/installed_wvnum" >/dev/null
"$work/installed_wvnum/installed_wvnum" | sed 's/^/  /'
# The Python package from Debian's Python path in the temporary root, with
# the Python it is built for: the worked example of 20 kt, 10 h, 100 km and
# 10 m, and the swell of 10 s and 3 m.
if [ "${#debs[@]}" -eq 3 ]; then
  dpkg-deb --contents "$python_deb" | awk '{print $6}' >"$work/python.files"
  site=./usr/lib/python3/dist-packages/morvelstandrik
  for f in "$site/__init__.py" "$site/xarray.py" \
    ./usr/share/doc/python3-morvelstandrik/copyright \
    ./usr/share/doc/python3-morvelstandrik/changelog.gz; do
    grep -qx "$f" "$work/python.files" || fail "python3-morvelstandrik lacks $f"
  done
  grep -qE "^$site/_engine\.cpython-[0-9]+-[a-z0-9_-]+\.so$" \
    "$work/python.files" || fail "python3-morvelstandrik lacks the module"
  PYTHONPATH=$root/usr/lib/python3/dist-packages /usr/bin/python3 -c '
import sys
import morvelstandrik as ms
assert ms.__file__.startswith(sys.argv[1]), ms.__file__
r = ms.windsea(20, 10, 100, 10)
assert abs(float(r["wave.height_m"]) - 1.744) < 5e-4
assert int(r["sea_sickness_percent"]) == 17
s = ms.swell(10, 3)
assert int(s["beaufort"]) == 7 and abs(float(s["wind_kt"]) - 30.49) < 5e-3
print("  " + ms.__file__)
' "$root" || fail "the installed Python package"
  echo "installed Python package: imports with /usr/bin/python3, Hc 1.74 m"
fi
echo "package test passed"
