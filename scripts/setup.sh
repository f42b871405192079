#!/usr/bin/env bash
# Installs what morvelstandrik needs beyond a fresh Debian 12 machine of the
# project's kind, and nothing that is already there. This is the one place
# that names the project's Debian and npm packages.
#
#   scripts/setup.sh          what building and running the program needs
#   scripts/setup.sh --tests  everything the tests need as well
set -euo pipefail
cd "$(dirname "$0")/.."

# Building and running the program.
program_packages=(
  cmake            # 3.25, with CTest and CPack
  ninja-build      # the presets' generator
  g++              # g++ 12
  libcli11-dev     # command-line parsing
  libgeographiclib-dev  # geodesics and positions for the fetch
  libnetcdf-dev    # reads the GSHHG shorelines
  libshp-dev       # reads a user's land polygons from shapefiles
  nlohmann-json3-dev  # reads a user's land polygons from GeoJSON
  libeccodes-dev   # reads winds from GRIB files
  gmt-gshhg-low    # the GSHHG shorelines, crude to intermediate (LGPL-3)
)
# Tests, sanitizers, fuzzing, benchmarks, packages, the browser version,
# the Windows program and Wine to run it.
test_packages=(
  clang                # clang++ 14: sanitizer, fuzz and clang presets
  libclang-rt-14-dev   # the sanitizer and libFuzzer runtimes
  libgtest-dev         # GoogleTest
  libgmock-dev         # GoogleMock, which GoogleTest's CMake package expects
  libbenchmark-dev     # Google Benchmark
  dpkg-dev             # dpkg-deb and dpkg-architecture for the packages
  lintian              # checks the Debian packages
  man-db               # man, to check the manual page
  groff-base           # the manual as plain text for the Windows zip
  emscripten           # the WebAssembly build of the engine
  nodejs               # runs the WebAssembly build and the browser tests
  npm                  # installs the pinned front-end packages
  chromium             # headless browser for the page's tests
  python3              # test scripts: output comparison, process limits
  pybind11-dev         # the Python module of the engine
  python3-dev          # Python's headers, for /usr/bin/python3
  python3-numpy        # the module's arrays
  python3-xarray       # labelled arrays and datasets
  python3-dask         # lazy, chunked arrays
  python3-distributed  # Dask's scheduler and workers, for the cluster test
  python3-netcdf4      # NetCDF files in the worked example
  python3-matplotlib   # the worked example's map and time series
  python3-pytest       # runs the Python tests
  python3-hypothesis   # property tests of shapes and NaN
  g++-mingw-w64-x86-64-posix  # the Windows program (MinGW-w64, posix threads)
  wine64               # runs the Windows program in the tests
  wine                 # the wine launcher that wine64 is started through
  libeccodes-data      # ecCodes' sample templates, for the GRIB fixtures
  libeccodes-tools     # grib_get, beside the GRIB benchmark
  python-grib-doc      # a real GFS forecast file among its examples
)

want=("${program_packages[@]}")
if [ "${1:-}" = "--tests" ]; then
  want+=("${test_packages[@]}")
fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
    grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# node, npm and python3 may come with the machine's image outside Debian's
# packages. Only the exact names are dropped: python3-numpy and the like
# are still wanted.
have_command() {
  case "$1" in
    nodejs) command -v node >/dev/null ;;
    npm | python3) command -v "$1" >/dev/null ;;
    *) return 1 ;;
  esac
}
kept=()
for p in "${missing[@]}"; do
  have_command "$p" || kept+=("$p")
done
missing=("${kept[@]}")
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Front-end packages, pinned by package-lock.json, only when it changed.
if [ "${1:-}" = "--tests" ] && [ -f package-lock.json ]; then
  if [ ! -f node_modules/.package-lock.json ] ||
    [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund --loglevel=error
  fi
fi
