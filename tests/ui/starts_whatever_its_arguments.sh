#!/usr/bin/env bash
# The program has no command line: started with Qt's own options, a platform
# that does not exist among them, it must start and keep running as ever.
# Usage: starts_whatever_its_arguments.sh PROGRAM
set -u
timeout 3 "$1" -platform nosuch -style nosuch -reverse -qwindowgeometry 1x1 -session x NameMass.dat
status=$?
if [[ $status -eq 124 ]]; then
  echo "1 passed, 0 failed"
  exit 0
fi
echo "the program ended with status $status instead of running on" >&2
echo "0 passed, 1 failed"
exit 1
