#!/usr/bin/env bash
# The C libraries of the native and the WebAssembly build must round the
# engine's transcendental functions to the same single-precision values:
# builds libm_agreement.cpp natively (g++, as the program is built) and
# compares its lines with the WebAssembly build's under Node.
# Usage: libm_agreement.sh SOURCE NODE_SCRIPT
set -u
source=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -ffp-contract=off -o "$work/native" "$source" || exit 1
"$work/native" >"$work/native.txt" || exit 1
node "$script" >"$work/node.txt" || exit 1
if ! diff "$work/native.txt" "$work/node.txt"; then
  echo "FAIL: the rounded results differ for the functions above"
  exit 1
fi
echo "same rounded results: $(wc -l <"$work/native.txt") functions"
