#!/usr/bin/env bash
# The same random cases through the native core and the WebAssembly core:
# every report, message, drawn text and record must be the same bytes.
# Usage: web-differential.sh NATIVE-BUILD WEB-TEST-BUILD [COUNT]
set -euo pipefail
native=$1/tests/differential
wasm=$2/tests/differential.js
count=${3:-10000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/native" "$work/wasm"
node "$(dirname "$0")/../tests/web/cases.mjs" "$count" 20261207 >"$work/cases.txt"
"$native" "$work/cases.txt" "$work/native" >"$work/native.out"
node "$wasm" "$work/cases.txt" "$work/wasm" >"$work/wasm.out"
cmp "$work/native/NameMass.dat" "$work/wasm/NameMass.dat"
cases=$(grep -c '^case ' "$work/native.out")
if ! cmp -s "$work/native.out" "$work/wasm.out"; then
  echo "The native and the WebAssembly core differ:" >&2
  diff "$work/native.out" "$work/wasm.out" | head -n 40 >&2
  echo "0 passed, 1 failed"
  exit 1
fi
echo "native and WebAssembly core: $cases cases, $(wc -c <"$work/native.out") bytes of output, identical"
