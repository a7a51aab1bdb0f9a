#!/usr/bin/env bash
# Proves the Windows build under Wine, as a person would use it: installs the
# installer silently into a fresh Wine prefix, starts the installed program
# on a virtual screen, types Ca(OH)2 and Enter, reads the report back through
# the clipboard and saves a picture of the window; then runs the widget tests
# built for Windows with Qt's offscreen platform, and uninstalls.
# Usage: windows-check.sh [BUILD_FOLDER]   (after scripts/package-windows.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-windows}
qt=$("$here/scripts/build-qt-windows.sh")
setup=$(ls -t "$here"/dist/veltrax-*-setup.exe | head -n 1)
"$here/scripts/install-deps.sh" --windows

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:93
# A wineserver keeps the display it started with: none may be left running.
wineserver -k 2>/dev/null || true
Xvfb "$display" -screen 0 800x500x24 -dpi 96 >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

wineboot --init >/dev/null 2>&1
wineserver --wait
# Wine has neither Arial nor MS Sans Serif: the Liberation faces, made to
# their measures, stand in.
for face in "Arial" "MS Sans Serif" "Microsoft Sans Serif"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
done

echo "installing $(basename "$setup")"
wine "$setup" /S
wineserver --wait
installed="$WINEPREFIX/drive_c/Program Files/Veltrax"
test -f "$installed/veltrax.exe"
test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Veltrax.lnk"

wine 'C:\Program Files\Veltrax\veltrax.exe' >/dev/null 2>&1 &
window=$(xdotool search --sync --name '^Veltrax$' | head -n 1)
sleep 2
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --window "$window" ctrl+a
xdotool type --window "$window" --delay 60 'Ca(OH)2'
xdotool key --window "$window" Return
sleep 1
geometry=$(xdotool getwindowgeometry --shell "$window")
eval "$geometry"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$here/docs/veltrax-windows.png"

# The report, read back: the big box, all of it, to the clipboard.
xdotool mousemove --window "$window" 200 150 click 1
xdotool key --window "$window" ctrl+a ctrl+c
sleep 1
report=$(xclip -o -selection clipboard | tr -d '\r')
echo "$report"
grep -q '^# Масса - 74.01468$' <<<"$report"
grep -q '^Ca - 54%$' <<<"$report"
test -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/veltrax/NameMass.dat
test ! -e "$installed/NameMass.dat"
xdotool key --window "$window" alt+F4 || true
sleep 1
wineserver -k 2>/dev/null || true

echo "widget tests for Windows, offscreen"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
mkdir -p "$build/tests/ui/translations"
cp /usr/share/qt6/translations/qtbase_ru.qm "$build/tests/ui/translations/"
results=$work/ui_tests.txt
status=0
WINEPATH="$qt/bin;$runtime;/usr/x86_64-w64-mingw32/lib" QT_PLUGIN_PATH="$qt/plugins" \
  wine "$build/tests/ui/ui_tests.exe" -platform offscreen -o "$(winepath -w "$results"),txt" >/dev/null 2>&1 || status=$?
grep -E "^(FAIL|Totals)" -A2 "$results" || true
wineserver -k 2>/dev/null || true
[[ $status -eq 0 ]] || { echo "widget tests failed under Wine"; exit 1; }

echo "uninstalling"
wine "$installed/uninstall.exe" /S
wineserver --wait
sleep 2
test ! -e "$installed/veltrax.exe"
echo "windows check passed; picture in docs/veltrax-windows.png"
