#!/usr/bin/env bash
# The web page's icons from the program's: 192 and 512 pixels, and a
# maskable one (the calculator inside the circle that a phone may cut out, on
# the page's blue). Usage: make-web-icons.sh FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$1
svg=$here/packaging/icons/org.veltrax.Veltrax.svg
mkdir -p "$out"
rsvg-convert -w 192 -h 192 "$svg" -o "$out/icon-192.png"
rsvg-convert -w 512 -h 512 "$svg" -o "$out/icon-512.png"
{
  echo '<svg xmlns="http://www.w3.org/2000/svg" width="512" height="512" viewBox="0 0 48 48" shape-rendering="crispEdges">'
  echo '<rect width="48" height="48" fill="#2b579a"/><g transform="translate(8 8)">'
  grep '^<rect ' "$svg"
  echo '</g></svg>'
} | rsvg-convert -w 512 -h 512 -o "$out/icon-maskable.png"
