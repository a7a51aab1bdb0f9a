#!/usr/bin/env bash
# Makes the Windows icon, packaging/icons/org.veltrax.Veltrax.ico, from the
# 16-pixel calculator drawn for its size (ui/veltrax_16.xpm, also the 16-pixel
# PNG of the menus) and the larger PNGs; 20 and 40 pixels are reduced from
# the 256-pixel picture. Needs ImageMagick (install-deps.sh --screen).
set -euo pipefail
icons=$(cd "$(dirname "$0")/../packaging/icons" && pwd)
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$convert" "$icons/../../ui/veltrax_16.xpm" "PNG32:$icons/org.veltrax.Veltrax-16.png"
for size in 20 40; do
  "$convert" "$icons/org.veltrax.Veltrax-256.png" -filter Box -resize "${size}x${size}" "PNG32:$work/$size.png"
done
"$convert" "$icons/org.veltrax.Veltrax-16.png" "$work/20.png" "$icons/org.veltrax.Veltrax-24.png" \
  "$icons/org.veltrax.Veltrax-32.png" "$work/40.png" "$icons/org.veltrax.Veltrax-48.png" \
  "$icons/org.veltrax.Veltrax-256.png" "$icons/org.veltrax.Veltrax.ico"
echo "made $icons/org.veltrax.Veltrax.ico"
