#!/usr/bin/env bash
# Starts the program under a virtual X server, types a formula and presses
# Enter, and saves a picture of the screen. Usage: screenshot.sh PROGRAM OUTPUT.png
set -euo pipefail
program=$(realpath "$1")
output=$2
"$(dirname "$0")/install-deps.sh" --screen

display=:97
Xvfb "$display" -screen 0 640x400x24 -dpi 96 >/dev/null 2>&1 &
xvfb=$!
workdir=$(mktemp -d)
cleanup() { kill "$app" "$xvfb" 2>/dev/null || true; rm -rf "$workdir"; }
trap cleanup EXIT
sleep 1

# A copy of the program in a scratch directory, so that its NameMass.dat lands there.
cp "$program" "$workdir/veltrax"
DISPLAY=$display LANG=ru_RU.UTF-8 QT_QPA_PLATFORM=xcb "$workdir/veltrax" &
app=$!
sleep 2
window=$(DISPLAY=$display xdotool search --sync --name '^Veltrax$' | head -n 1)
DISPLAY=$display xdotool windowactivate --sync "$window" 2>/dev/null || DISPLAY=$display xdotool windowfocus "$window"
DISPLAY=$display xdotool key --window "$window" ctrl+a
DISPLAY=$display xdotool type --window "$window" --delay 40 'Ca(OH)2'
DISPLAY=$display xdotool key --window "$window" Return
sleep 1
DISPLAY=$display import -window root -crop 477x270+81+65 "$output" 2>/dev/null || DISPLAY=$display import -window root "$output"
echo "saved $output"
