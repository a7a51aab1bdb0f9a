#!/usr/bin/env bash
# Proves the Windows build under Wine, as a school's IT and a teacher would
# use it, on copies of the installers (dist/ is left as it is):
# - the MSI: checks its tables (msiinfo), installs it silently for the machine
#   into a fresh Wine prefix, starts the installed program on a virtual
#   screen, types Ca(OH)2 and Enter, reads the report back through the
#   clipboard and takes a picture of the window; upgrades it with a newer
#   MSI, refuses an older one, installs into INSTALLDIR=, refuses a machine
#   with an all-users copy of an earlier setup.exe, and msiexec /x leaves only
#   the users' tables;
# - runs the widget tests built for Windows with Qt's offscreen platform;
# - setup.exe for one user: installs and upgrades, refuses a silent
#   downgrade (3), an unusable /D= (1, nothing written), a read-only folder
#   (4, nothing written), rolls a failed write back (4, the earlier copy
#   whole), one installer at a time (5), a subfolder for another program's,
#   another user's and the machine's folder (each untouched), a table beside
#   an earlier copy kept, the quiet uninstall's true exit code while Veltrax
#   runs (2) and not held up by a copy running elsewhere, a seeded table from
#   %ProgramData%;
# - reads the manifest back, looks for the licences in every layout, and holds
#   the third-party code in the shipped DLLs against them.
# The picture goes to BUILD_FOLDER/veltrax-windows.png, or to
# docs/veltrax-windows.png with VELTRAX_REFRESH_DOCS=1.
# Usage: windows-check.sh [BUILD_FOLDER]   (after scripts/package-windows.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-windows}
qt=$("$here/scripts/build-qt-windows.sh")
"$here/scripts/install-deps.sh" --windows

work=$(mktemp -d)
version=$("$here/scripts/version.sh")
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
  chattr -R -i "$work" 2>/dev/null || true
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
  grep -q "qt6-base_.*\.orig\.tar\.xz" "$1/licenses/README.txt"
  ! grep -qi "written offer\|qtbase_ru\|@veltrax" "$1/licenses/README.txt" || { echo "the licences offer what nobody can take up"; exit 1; }
  test ! -e "$1/translations" || { echo "a third-party translation is shipped"; exit 1; }
  test -f "$1/licenses/README.txt" && test -f "$1/licenses/LGPL-3.0.txt" && test -f "$1/licenses/Qt-freetype.txt"
  test -f "$1/licenses/GCC-runtime.txt" && test -f "$1/licenses/MinGW-w64-runtime.txt"
  test -f "$1/tables/NameMass-school.dat"
  for setting in PerMonitorV2 '<longPathAware' 'UTF-8</activeCodePage>' 'level="asInvoker"' \
                 '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'; do
    grep -aqF -- "$setting" "$1/veltrax.exe" || { echo "the manifest lacks $setting"; exit 1; }
  done
}
registry_value() {  # KEY VALUE: the value as reg query prints it, or nothing
  wine reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r' |
    awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrax'

# The exit code of a silent run of an installer, an uninstaller or msiexec.
exit_code() {
  local status=0
  wine "$@" >/dev/null 2>&1 || status=$?
  wineserver --wait
  echo "$status"
}
# The exit code of a command line given exactly as written, as a deployment
# tool gives it (wine would quote each argument of its own).
line_code() {
  printf '@%s\r\n@exit /b %%ERRORLEVEL%%\r\n' "$1" > "$WINEPREFIX/drive_c/line.bat"
  local status=0
  wine cmd /c 'C:\line.bat' >/dev/null 2>&1 || status=$?
  echo "$status"
}
fail() { echo "$*"; exit 1; }
drive=$WINEPREFIX/drive_c
start_menu() {  # NAME: whether the machine's or a user's Start menu has it
  find "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs" \
       "$drive"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs \
       -maxdepth 1 -name "$1" 2>/dev/null | grep -q .
}
files_of() { (cd "$1" && find . -type f -exec md5sum {} + | sort); }

echo "the MSI's tables"
msi=$work/veltrax-$version-x64.msi
cp "$here/dist/veltrax-$version-x64.msi" "$msi"
cp "$msi" "$drive/"
table() { msiinfo export "$msi" "$1" | tr -d '\r\0'; }  # whole, before any grep -q ends the pipe
properties=$(table Property)
property() { awk -F '\t' -v name="$1" '$1 == name { print $2 }' <<<"$properties"; }
[[ $(property ALLUSERS) == 1 && $(property ARPNOMODIFY) == 1 && $(property ProductLanguage) == 1049 ]] || fail "the MSI is not for the machine, in Russian, without Modify"
[[ $(property ARPPRODUCTICON) == veltrax.ico && $(property ProductVersion) == "$version" && -n $(property ARPSIZE) ]] || fail "the MSI lacks its icon, version or size"
grep -qx $'1251\t_ForceCodepage' <<<"$(table _ForceCodepage)" || fail "the MSI's code page is not 1251"
grep -qx "Template: x64;1049" <<<"$(msiinfo suminfo "$msi")" || fail "the MSI's summary is not for Russian"
grep -q "более новая версия Veltrax" <<<"$(table LaunchCondition)" || fail "no Russian refusal of a downgrade"
grep -q "Veltrax в браузере" <<<"$(table Shortcut)" || fail "no «Veltrax в браузере» in the Start menu"
files=$(table File)
grep -q "veltrax.installed" <<<"$files" || fail "the MSI leaves no marker"
# The same files as the zip, and the marker.
zipped=$(unzip -Z1 "$here/dist/veltrax-$version-windows-x64.zip")
[[ $(tail -n +4 <<<"$files" | wc -l) == $(( $(grep -vc '/$' <<<"$zipped") + 1 )) ]] || fail "the MSI and the zip hold different files"

echo "installing the MSI for the machine"
[[ $(exit_code msiexec /i "C:\\veltrax-$version-x64.msi" /qn) == 0 ]] || fail "msiexec /i failed"
installed="$drive/Program Files/Veltrax"
check_layout "$installed"
grep -q "MSI" "$installed/veltrax.installed"
start_menu Veltrax.lnk >/dev/null || fail "no Start menu entry «Veltrax»"
start_menu "Veltrax в браузере.lnk" >/dev/null || fail "no Start menu entry «Veltrax в браузере»"
msi_entry() {  # the Apps entries the Windows Installer made
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /reg:64 2>/dev/null | tr -d '\r' | grep '{'
}
[[ $(msi_entry | wc -l) == 1 ]] || fail "not one Apps entry for the MSI"
[[ $(registry_value "$(msi_entry)" DisplayVersion) == "$version" ]] || fail "the Apps entry lacks the version"
[[ $(registry_value "$(msi_entry)" NoModify) == 0x1 ]] || fail "the Apps entry offers Modify"

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
test -f "$drive"/users/*/AppData/Roaming/veltrax/NameMass.dat
test ! -e "$installed/NameMass.dat"
xdotool key --window "$window" alt+F4 || true
sleep 1
wineserver -k 2>/dev/null || true

echo "widget tests for Windows, offscreen"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
results=$work/ui_tests.txt
status=0
WINEPATH="$qt/bin;$runtime;/usr/x86_64-w64-mingw32/lib" QT_PLUGIN_PATH="$qt/plugins" \
  wine "$build/tests/ui/ui_tests.exe" -platform offscreen -o "$(winepath -w "$results"),txt" >/dev/null 2>&1 || status=$?
grep -E "^(FAIL|Totals)" -A2 "$results" || true
wineserver -k 2>/dev/null || true
[[ $status -eq 0 ]] || fail "widget tests failed under Wine"

echo "the page in the zip is the page that was built"
unzip -p "$here/dist/veltrax-$version-windows-x64.zip" '*/veltrax.html' | cmp - "$here/dist/veltrax.html"

echo "the third-party code in the shipped DLLs, against the licences"
strings -a "$installed/Qt6Gui.dll" | grep -q "FreeType" && test -f "$installed/licenses/Qt-freetype.txt"
strings -a "$installed/Qt6Gui.dll" | grep -qi "harfbuzz" && ls "$installed"/licenses/Qt-harfbuzz*.txt >/dev/null
test -f "$installed/licenses/Qt-pcre2.txt" && test -f "$installed/licenses/Qt-zlib.txt"
! grep -aq "application/vnd.oasis.opendocument.text" "$installed/Qt6Core.dll" || fail "the MIME database is in Qt6Core.dll"
! grep -q "pixman\|cocoa\|macOS" "$installed/licenses/README.txt" || fail "licences of code not built for Windows"
for source in $(tr -d '\r' < "$installed/licenses/README.txt" | sed -n 's/^  \(qt6-base_[^ ]*\)$/\1/p'); do
  test -f "$(cat "$qt/veltrax/build-folder")/files/$source" || fail "licenses\\README.txt names $source, which the build does not have"
done

# An MSI of the same program under another version number.
other_msi() {
  "$here/scripts/make-msi.sh" "$build/veltrax-$version-windows-x64" "$1" "$drive/veltrax-$1-x64.msi"
}
newer=$(awk -F. '{ print $1 "." $2 "." $3 + 1 }' <<<"$version")
other_msi "$newer"
other_msi 0.9.0

echo "a newer MSI upgrades, an older one is refused"
echo "not Veltrax's" > "$installed/other-program.dll"
[[ $(exit_code msiexec /i "C:\\veltrax-$newer-x64.msi" /qn) == 0 ]] || fail "the upgrade failed"
check_layout "$installed"
[[ $(msi_entry | wc -l) == 1 && $(registry_value "$(msi_entry)" DisplayVersion) == "$newer" ]] || fail "the upgrade left two entries or the old version"
test -f "$installed/other-program.dll" || fail "the upgrade removed a file that was not Veltrax's"
rm "$installed/other-program.dll"
[[ $(exit_code msiexec /i 'C:\veltrax-0.9.0-x64.msi' /qn) =~ ^(1603|67)$ ]] || fail "an older MSI went over a newer one"
[[ $(registry_value "$(msi_entry)" DisplayVersion) == "$newer" ]] || fail "the refused downgrade changed the install"

echo "msiexec /x leaves only the users' tables"
echo "the class's table" > "$installed/NameMass.dat"
[[ $(exit_code msiexec /x "$(msi_entry | sed 's/.*\\//')" /qn) == 0 ]] || fail "msiexec /x failed"
[[ $(find "$installed" -type f) == "$installed/NameMass.dat" ]] || fail "msiexec /x left files of Veltrax, or took a table"
rm -rf "$installed"
[[ -z $(msi_entry) ]] || fail "the Apps entry stayed"
test -f "$drive"/users/*/AppData/Roaming/veltrax/NameMass.dat

echo "INSTALLDIR= chooses the folder"
[[ $(exit_code msiexec /i "C:\\veltrax-$version-x64.msi" /qn 'INSTALLDIR=C:\SchoolApps\Veltrax') == 0 ]]
check_layout "$drive/SchoolApps/Veltrax"
test ! -e "$installed/veltrax.exe" || fail "INSTALLDIR= was ignored"
[[ $(exit_code msiexec /x "$(property ProductCode)" /qn) == 0 ]]
test ! -e "$drive/SchoolApps/Veltrax/veltrax.exe"

echo "a machine with an all-users copy of an earlier setup.exe is refused"
wine reg add 'HKLM\Software\Veltrax' /v InstallMode /t REG_SZ /d AllUsers /f /reg:64 >/dev/null 2>&1
# 1603, of which a Linux process's exit status keeps the low byte, 67.
[[ $(exit_code msiexec /i "C:\\veltrax-$version-x64.msi" /qn) =~ ^(1603|67)$ ]] || fail "the MSI went over an earlier setup.exe's copy"
test ! -e "$installed/veltrax.exe"
wine reg delete 'HKLM\Software\Veltrax' /f /reg:64 >/dev/null 2>&1

# setup.exe, for one user: its own file, with the functions above.
source "$here/scripts/windows-check-setup.sh"

echo "windows check passed; picture in $picture"
