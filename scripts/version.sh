#!/usr/bin/env bash
# Prints Veltrax's version, as CMakeLists.txt's project() gives it.
sed -n 's/^project(Veltrax VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt"
