#!/bin/sh
# Runs the permission tests of the element file as an ordinary user: root is
# not bound by file permissions, so under root they run as "nobody", from a
# copy of the test program in a directory that user can reach.
set -eu
program=$1
filter='HostileElementFile.AnUnreadableFileOrAReadOnlyDirectoryLeavesEverythingAsItWas'
if [ "$(id -u)" -ne 0 ]; then
  exec "$program" --gtest_filter="$filter"
fi
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$program" "$copy/"
chmod 755 "$copy" "$copy/$(basename "$program")"
cd "$copy"
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$copy" TMPDIR=/tmp \
  "$copy/$(basename "$program")" --gtest_filter="$filter" --gtest_also_run_disabled_tests > "$copy/out.txt" 2>&1 || { cat "$copy/out.txt"; exit 1; }
cat "$copy/out.txt"
grep -q "\[  PASSED  \] 1 test" "$copy/out.txt"
