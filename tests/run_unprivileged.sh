#!/bin/sh
# Runs a test program as an ordinary user, for the tests of permissions: root
# is not bound by them, so under root the program runs as "nobody", from a
# copy in a folder that user can reach. The output must contain EXPECTED, so
# that a test skipped for lack of rights does not count as passed.
# Usage: run_unprivileged.sh EXPECTED PROGRAM [ARGUMENT...]
set -eu
expected=$1
program=$2
shift 2
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
if [ "$(id -u)" -ne 0 ]; then
  "$program" "$@" > "$copy/out.txt" 2>&1 || { cat "$copy/out.txt"; exit 1; }
else
  cp "$program" "$copy/"
  chmod 755 "$copy" "$copy/$(basename "$program")"
  cd "$copy"
  setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$copy" TMPDIR=/tmp \
    "$copy/$(basename "$program")" "$@" > "$copy/out.txt" 2>&1 || { cat "$copy/out.txt"; exit 1; }
fi
cat "$copy/out.txt"
grep -qF -- "$expected" "$copy/out.txt"
