#!/usr/bin/env bash
# Proves the Windows build under Wine, as a person would use it, on a copy of
# the installer (dist/ is left as it is):
# - installs it silently for all users into a fresh Wine prefix, starts the
#   installed program on a virtual screen, types Ca(OH)2 and Enter, reads the
#   report back through the clipboard and takes a picture of the window;
# - runs the widget tests built for Windows with Qt's offscreen platform;
# - upgrades it over an older version, leaving a file that no Veltrax put there;
# - refuses a silent downgrade (exit code 3) unless /Downgrade is given;
# - installs it for the current user only, without administrator rights;
# - installs both kinds, upgrades each, and the other stays whole;
# - honours /D= in both modes: a school's own folder, where the program is
#   known as installed and the user's table is made from %ProgramData%'s;
# - installs into a folder holding another program's files, which stay as
#   they were, also through the uninstall;
# - refuses to uninstall while Veltrax runs (exit code 2, nothing removed);
# - reads the manifest back, looks for the licences in every layout, and holds
#   the third-party code in the shipped DLLs against them;
# - uninstalls each, and the users' tables stay.
# The picture goes to BUILD_FOLDER/veltrax-windows.png, or to
# docs/veltrax-windows.png with VELTRAX_REFRESH_DOCS=1.
# Usage: windows-check.sh [BUILD_FOLDER]   (after scripts/package-windows.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-windows}
qt=$("$here/scripts/build-qt-windows.sh")
"$here/scripts/install-deps.sh" --windows

work=$(mktemp -d)
setup=$work/$(basename "$(ls -t "$here"/dist/veltrax-*-setup.exe | head -n 1)")
cp "$(ls -t "$here"/dist/veltrax-*-setup.exe | head -n 1)" "$setup"
picture=$build/veltrax-windows.png
[[ ${VELTRAX_REFRESH_DOCS:-0} == 1 ]] && picture=$here/docs/veltrax-windows.png
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

# The installed program's layout: the program, its licences and tables, and
# a manifest that says what the program needs of Windows.
check_layout() {
  test -f "$1/veltrax.exe" && test -f "$1/veltrax.installed"
  cmp "$1/veltrax.html" "$here/dist/veltrax.html"
  test -f "$1/licenses/Qt-configure-command.txt" && test -f "$1/licenses/build-qt-windows.sh"
  test -f "$1/licenses/Qt-translations.txt"
  grep -q "Written offer" "$1/licenses/README.txt"
  test -f "$1/licenses/README.txt" && test -f "$1/licenses/LGPL-3.0.txt" && test -f "$1/licenses/Qt-freetype.txt"
  test -f "$1/licenses/GCC-runtime.txt" && test -f "$1/licenses/MinGW-w64-runtime.txt"
  test -f "$1/tables/NameMass-school.dat"
  for setting in PerMonitorV2 '<longPathAware' 'UTF-8</activeCodePage>' 'level="asInvoker"' \
                 '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'; do
    grep -aqF -- "$setting" "$1/veltrax.exe" || { echo "the manifest lacks $setting"; exit 1; }
  done
}
registry_value() {  # KEY VALUE: the value as reg query prints it, or nothing
  wine reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { print $3 }'
}
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrax'

echo "installing $(basename "$setup") for all users"
wine "$setup" /S /AllUsers
wineserver --wait
installed="$WINEPREFIX/drive_c/Program Files/Veltrax"
check_layout "$installed"
test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Veltrax.lnk"
[[ -n $(registry_value "HKLM\\$uninstall_key" EstimatedSize) ]] || { echo "no size in the Apps entry"; exit 1; }

# Starts the program (a Windows path), types a formula and presses Enter;
# $window is its window.
type_formula() {
  wine "$1" >/dev/null 2>&1 &
  window=$(xdotool search --sync --name '^Veltrax$' | head -n 1)
  sleep 2
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --window "$window" ctrl+a
  xdotool type --window "$window" --delay 60 "$2"
  xdotool key --window "$window" Return
  sleep 1
}
type_formula 'C:\Program Files\Veltrax\veltrax.exe' 'Ca(OH)2'
geometry=$(xdotool getwindowgeometry --shell "$window")
eval "$geometry"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$picture"

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

# The exit code of a silent run of the installer or an uninstaller.
exit_code() {
  local status=0
  wine "$@" || status=$?
  wineserver --wait
  echo "$status"
}

echo "the page in the zip is the page that was built"
unzip -p "$(ls -t "$here"/dist/veltrax-*-windows-x64.zip | head -n 1)" '*/veltrax.html' | cmp - "$here/dist/veltrax.html"

echo "the third-party code in the shipped DLLs, against the licences"
strings -a "$installed/Qt6Gui.dll" | grep -q "FreeType" && test -f "$installed/licenses/Qt-freetype.txt"
strings -a "$installed/Qt6Gui.dll" | grep -qi "harfbuzz" && ls "$installed"/licenses/Qt-harfbuzz*.txt >/dev/null
test -f "$installed/licenses/Qt-pcre2.txt" && test -f "$installed/licenses/Qt-zlib.txt"
! grep -aq "application/vnd.oasis.opendocument.text" "$installed/Qt6Core.dll" || { echo "the MIME database is in Qt6Core.dll"; exit 1; }
! grep -q "pixman\|cocoa\|macOS" "$installed/licenses/README.txt" || { echo "licences of code not built for Windows"; exit 1; }

echo "upgrading over an older version with a file that no Veltrax put there"
wine reg add "HKLM\\$uninstall_key" /v DisplayVersion /t REG_SZ /d 0.9.0 /f /reg:64 >/dev/null 2>&1
echo "not Veltrax's" > "$installed/other-program.dll"
[[ $(exit_code "$setup" /S /AllUsers) == 0 ]]
check_layout "$installed"
test -f "$installed/other-program.dll" || { echo "the upgrade removed a file that was not Veltrax's"; exit 1; }
test ! -e "$installed/Veltrax/veltrax.exe" || { echo "the upgrade went into a subfolder"; exit 1; }
rm "$installed/other-program.dll"
[[ $(registry_value "HKLM\\$uninstall_key" DisplayVersion) != 0.9.0 ]] || { echo "the upgrade kept the old version"; exit 1; }

echo "a silent downgrade is refused unless asked for"
wine reg add "HKLM\\$uninstall_key" /v DisplayVersion /t REG_SZ /d 9.0.0 /f /reg:64 >/dev/null 2>&1
[[ $(exit_code "$setup" /S /AllUsers) == 3 ]] || { echo "a silent downgrade went ahead"; exit 1; }
[[ $(registry_value "HKLM\\$uninstall_key" DisplayVersion) == 9.0.0 ]]
[[ $(exit_code "$setup" /S /AllUsers /Downgrade) == 0 ]]
[[ $(registry_value "HKLM\\$uninstall_key" DisplayVersion) != 9.0.0 ]]

echo "uninstalling is refused while Veltrax runs"
wine 'C:\Program Files\Veltrax\veltrax.exe' >/dev/null 2>&1 &
xdotool search --sync --name '^Veltrax$' >/dev/null
# Run in place (_?=, which takes no quotes), the uninstaller gives its own
# exit code; the program keeps running meanwhile.
printf '@start "" /wait "C:\\Program Files\\Veltrax\\uninstall.exe" /S /AllUsers _?=C:\\Program Files\\Veltrax\r\n@exit /b %%ERRORLEVEL%%\r\n' \
  > "$WINEPREFIX/drive_c/uninstall-in-place.bat"
status=0
wine cmd /c 'C:\uninstall-in-place.bat' || status=$?
[[ $status == 2 ]] || { echo "uninstalled a running Veltrax ($status)"; exit 1; }
check_layout "$installed"
[[ -n $(registry_value "HKLM\\$uninstall_key" DisplayVersion) ]] || { echo "the Apps entry went"; exit 1; }
wineserver -k 2>/dev/null || true

echo "uninstalling for all users"
[[ $(exit_code "$installed/uninstall.exe" /S /AllUsers) == 0 ]]
sleep 2
test ! -e "$installed/veltrax.exe"
test -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/veltrax/NameMass.dat

echo "installing for the current user only"
wine "$setup" /S /CurrentUser
wineserver --wait
personal=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Veltrax)
check_layout "$personal"
test ! -e "$installed/veltrax.exe"
[[ -n $(registry_value "HKCU\\$uninstall_key" DisplayVersion) ]] || { echo "no Apps entry for the user"; exit 1; }

echo "both kinds installed, each upgraded, the other whole"
[[ $(exit_code "$setup" /S /AllUsers) == 0 ]]
check_layout "$installed"
[[ $(exit_code "$setup" /S /CurrentUser) == 0 ]]
check_layout "$installed"
test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Veltrax.lnk"
[[ -n $(registry_value "HKLM\\$uninstall_key" DisplayVersion) ]] || { echo "the per-user upgrade removed the all-users copy"; exit 1; }
[[ $(exit_code "$setup" /S /AllUsers) == 0 ]]
check_layout "$personal"
[[ -n $(registry_value "HKCU\\$uninstall_key" DisplayVersion) ]] || { echo "the all-users upgrade removed the user's copy"; exit 1; }
[[ $(exit_code "$personal/uninstall.exe" /S /CurrentUser) == 0 ]]
test ! -e "$personal/veltrax.exe"
[[ -z $(registry_value "HKCU\\$uninstall_key" DisplayVersion) ]] || { echo "the Apps entry stayed"; exit 1; }
check_layout "$installed"
[[ $(exit_code "$installed/uninstall.exe" /S /AllUsers) == 0 ]]
test ! -e "$installed/veltrax.exe"

echo "/D= in both modes: a school's own folder, a table seeded from ProgramData"
school="$WINEPREFIX/drive_c/SchoolApps/Veltrax"
[[ $(exit_code "$setup" /S /AllUsers '/D=C:\SchoolApps\Veltrax') == 0 ]]
check_layout "$school"
test ! -e "$installed/veltrax.exe" || { echo "/D= was ignored"; exit 1; }
[[ $(exit_code "$school/uninstall.exe" /S /AllUsers) == 0 ]]
[[ $(exit_code "$setup" /S /CurrentUser '/D=C:\SchoolApps\Veltrax') == 0 ]]
check_layout "$school"
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/veltrax/NameMass.dat
mkdir -p "$WINEPREFIX/drive_c/ProgramData/veltrax"
cp "$school/tables/NameMass-school.dat" "$WINEPREFIX/drive_c/ProgramData/veltrax/NameMass.dat"
type_formula 'C:\SchoolApps\Veltrax\veltrax.exe' 'HCl'
wineserver -k 2>/dev/null || true
test ! -e "$school/NameMass.dat" || { echo "the school's folder got a shared table"; exit 1; }
cmp "$school/tables/NameMass-school.dat" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/veltrax/NameMass.dat
[[ $(exit_code "$school/uninstall.exe" /S /CurrentUser) == 0 ]]
test ! -e "$school/veltrax.exe"

echo "a folder holding another program's files: nothing of it touched"
other="$WINEPREFIX/drive_c/OtherApp"
mkdir -p "$other/platforms"
echo "another program" > "$other/other.exe"
echo "another program's Qt" > "$other/Qt6Core.dll"
echo "another program's plugin" > "$other/platforms/qwindows.dll"
before=$(cd "$other" && find . -type f -exec md5sum {} + | sort)
[[ $(exit_code "$setup" /S /CurrentUser '/D=C:\OtherApp') == 0 ]]
check_layout "$other/Veltrax"
[[ $(cd "$other" && find . -path ./Veltrax -prune -o -type f -exec md5sum {} + | sort) == "$before" ]] || { echo "the install touched another program"; exit 1; }
[[ $(exit_code "$other/Veltrax/uninstall.exe" /S /CurrentUser) == 0 ]]
[[ $(cd "$other" && find . -type f -exec md5sum {} + | sort) == "$before" ]] || { echo "the uninstall touched another program"; exit 1; }

test -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/veltrax/NameMass.dat
echo "windows check passed; picture in $picture"
