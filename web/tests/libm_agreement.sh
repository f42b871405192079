#!/usr/bin/env bash
# The C libraries of the native and the WebAssembly build must round the
# engine's transcendental functions to the same single-precision values:
# builds libm_agreement.cpp natively (g++, as the program is built) and
# compares its lines with the WebAssembly build's under Node. STRIDE 1
# takes every float argument of each range (a few minutes).
# NODE_SCRIPT may also be a program of its own (not ending in .js), such as
# the Windows build's under Wine, whose text-mode lines end in CR LF.
# Usage: libm_agreement.sh SOURCE NODE_SCRIPT [STRIDE]
set -u
source=$1
script=$2
stride=${3:-61}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -ffp-contract=off -o "$work/native" "$source" || exit 1
"$work/native" "$stride" >"$work/native.txt" || exit 1
case $script in
  *.js) node "$script" "$stride" >"$work/node.txt" || exit 1 ;;
  *) "$script" "$stride" >"$work/raw.txt" || exit 1
     tr -d '\r' <"$work/raw.txt" >"$work/node.txt" ;;
esac
if ! diff "$work/native.txt" "$work/node.txt"; then
  echo "FAIL: the rounded results differ for the functions above"
  exit 1
fi
echo "same rounded results: $(wc -l <"$work/native.txt") functions"
