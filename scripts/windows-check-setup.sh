# The per-user setup.exe under Wine: sourced by windows-check.sh, in its
# prefix and with its functions, after the MSI's checks.

echo "setup.exe for one user"
setup=veltrax-$version-setup.exe
cp "$here/dist/$setup" "$drive/"
personal_key="HKCU\\$uninstall_key"
[[ $(exit_code "C:\\$setup" /S) == 0 ]] || fail "setup.exe failed"
personal=$(ls -d "$drive"/users/*/AppData/Local/Programs/Veltrax)
check_layout "$personal"
start_menu "Veltrax (только для меня).lnk" >/dev/null || fail "no Start menu entry for the user"
[[ $(registry_value "$personal_key" DisplayVersion) == "$version" ]] || fail "no Apps entry for the user"
[[ -n $(registry_value "$personal_key" EstimatedSize) ]] || fail "no size in the Apps entry"

echo "a silent downgrade is refused unless asked for"
wine reg add "$personal_key" /v DisplayVersion /t REG_SZ /d 9.0.0 /f /reg:64 >/dev/null 2>&1
[[ $(exit_code "C:\\$setup" /S) == 3 ]] || fail "a silent downgrade went ahead"
[[ $(exit_code "C:\\$setup" /S /Downgrade) == 0 ]]
[[ $(registry_value "$personal_key" DisplayVersion) == "$version" ]]

echo "an unusable /D= is refused, nothing written"
echo "a file" > "$drive/a-file"
before=$(cd "$drive" && find . -path ./windows -prune -o -print | sort)
for folder in 'relative\Veltrax' 'Q:\Veltrax' 'C:\a-file' 'C:\a-file\Veltrax' '"C:\Quoted Folder"' 'C:\Not Last /S' \
              "C:\\$(printf 'L%.0s' $(seq 1 230))"; do
  [[ $(line_code "C:\\$setup /S /D=$folder") == 1 ]] || fail "/D=$folder was not refused"
done
# /S after /D= is part of the folder to NSIS, and still means silent.
[[ $(line_code "C:\\$setup /D=C:\\Elsewhere /S") == 1 ]] || fail "a /D= followed by /S was not refused"
[[ $(cd "$drive" && find . -path ./windows -prune -o -print | sort | grep -v '^./line.bat$') == $(grep -v '^./line.bat$' <<<"$before") ]] || fail "a refused install wrote something"
check_layout "$personal"

if chattr +i "$work" 2>/dev/null && chattr -i "$work"; then
  echo "a read-only folder: nothing written; a failed write rolled back, the earlier copy whole"
  mkdir -p "$drive/ReadOnly"
  chattr +i "$drive/ReadOnly"
  [[ $(exit_code "C:\\$setup" /S '/D=C:\ReadOnly') == 4 ]] || fail "a read-only folder was not refused"
  chattr -i "$drive/ReadOnly"
  [[ -z $(ls -A "$drive/ReadOnly") ]] || fail "something was written into the read-only folder"
  # A folder of this user's (its marker), where one part cannot be written.
  user=$(basename "$(dirname "$(dirname "$(dirname "$(dirname "$personal")")")")")
  mkdir -p "$drive/Partly/platforms"
  printf 'Veltrax %s\r\ninstalled for the user %s\r\n' "$version" "$user" > "$drive/Partly/veltrax.installed"
  chattr +i "$drive/Partly/platforms"
  [[ $(exit_code "C:\\$setup" /S '/D=C:\Partly') == 4 ]] || fail "a failed write was not reported"
  chattr -i "$drive/Partly/platforms"
  [[ $(cd "$drive/Partly" && find . | sort | tr '\n' ' ') == ". ./platforms ./veltrax.installed " ]] || fail "a failed write was not rolled back"
  check_layout "$personal"
  [[ $(registry_value "HKCU\\Software\\Veltrax" InstallDir) == "$(winepath -w "$personal")" ]] || fail "the earlier copy's entry went"
else
  echo "(no read-only folder for root here: chattr does not work on this file system)"
fi

echo "one setup.exe at a time"
codes=$(for i in 1 2 3; do (s=0; wine "C:\\$setup" /S >/dev/null 2>&1 || s=$?; echo "$s") & done; wait)
wineserver --wait
[[ $(sort <<<"$codes" | tr '\n' ' ') == "0 5 5 " ]] || fail "three installers at once gave: $codes"
check_layout "$personal"

echo "another program's, another user's and the machine's folder: a subfolder, each untouched"
other="$drive/OtherApp"
mkdir -p "$other/platforms"
echo "another program" > "$other/other.exe"
echo "another program's Qt" > "$other/Qt6Core.dll"
echo "another program's plugin" > "$other/platforms/qwindows.dll"
shared="$drive/Shared/Veltrax"
mkdir -p "$shared"
printf 'Veltrax %s\r\ninstalled for the user pupil2\r\n' "$version" > "$shared/veltrax.installed"
echo "pupil2's program" > "$shared/veltrax.exe"
[[ $(exit_code msiexec /i "C:\\veltrax-$version-x64.msi" /qn) == 0 ]]
for target in "$other" "$shared" "$installed"; do
  before=$(files_of "$target")
  [[ $(line_code "C:\\$setup /S /D=$(winepath -w "$target")") == 0 ]] || fail "no install beside $target"
  check_layout "$target/Veltrax"
  [[ $(cd "$target" && find . -path ./Veltrax -prune -o -type f -exec md5sum {} + | sort) == "$before" ]] || fail "the install touched $target"
done
# Its own uninstaller, run by its path, removes this user's copy and nothing else.
[[ $(exit_code "$installed/Veltrax/uninstall.exe" /S) == 0 ]]
for _ in $(seq 10); do [[ -e $installed/Veltrax ]] && sleep 1; done
test ! -e "$installed/Veltrax" || fail "the user's copy stayed"
check_layout "$installed"
[[ -n $(msi_entry) ]] || fail "the user's uninstall took the machine's entry"
[[ $(exit_code msiexec /x "$(property ProductCode)" /qn) == 0 ]]

echo "a table beside an earlier copy is kept"
school="$drive/SchoolApps/Veltrax"
[[ $(exit_code "C:\\$setup" /S '/D=C:\SchoolApps\Veltrax') == 0 ]]
echo "the class's table" > "$school/NameMass.dat"
rm -rf "$drive/ProgramData/veltrax"
[[ $(exit_code "C:\\$setup" /S) == 0 ]] || fail "the upgrade failed"
check_layout "$school"
[[ $(cat "$drive/ProgramData/veltrax/NameMass.dat") == "the class's table" ]] || fail "the table did not become the administrator's"
echo "the class's second table" > "$school/NameMass.dat"
[[ $(exit_code "C:\\$setup" /S) == 0 ]]
[[ $(cat "$school/NameMass.dat.saved") == "the class's second table" ]] || fail "the table was not kept beside"
[[ $(cat "$drive/ProgramData/veltrax/NameMass.dat") == "the class's table" ]] || fail "the administrator's table was written over"

echo "a new user's table is made from the administrator's"
cp "$school/tables/NameMass-school.dat" "$drive/ProgramData/veltrax/NameMass.dat"
rm -f "$drive"/users/*/AppData/Roaming/veltrax/NameMass.dat
type_formula 'C:\SchoolApps\Veltrax\veltrax.exe' 'HCl'
wineserver -k 2>/dev/null || true
cmp "$school/tables/NameMass-school.dat" "$drive"/users/*/AppData/Roaming/veltrax/NameMass.dat

echo "the quiet uninstall: its true exit code, held up only by this copy running"
quiet=$(registry_value "$personal_key" QuietUninstallString)
wine 'C:\SchoolApps\Veltrax\veltrax.exe' >/dev/null 2>&1 &
xdotool search --sync --name '^Veltrax$' >/dev/null
[[ $(line_code "$quiet") == 2 ]] || fail "the quiet uninstall of a running Veltrax did not say 2"
check_layout "$school"
wineserver -k 2>/dev/null || true
sleep 1
mkdir -p "$drive/Stick"
unzip -q "$here/dist/veltrax-$version-windows-x64.zip" -d "$drive/Stick"
wine "C:\\Stick\\veltrax-$version-windows-x64\\veltrax.exe" >/dev/null 2>&1 &
xdotool search --sync --name '^Veltrax$' >/dev/null
[[ $(line_code "$quiet") == 0 ]] || fail "a copy running from a stick held up the uninstall"
sleep 4
[[ $(cd "$school" && find . -type f | sort | tr '\n' ' ') == "./NameMass.dat.saved " ]] || fail "the quiet uninstall left files"
[[ -z $(registry_value "$personal_key" DisplayVersion) ]] || fail "the Apps entry stayed"
wineserver -k 2>/dev/null || true
test -f "$drive"/users/*/AppData/Roaming/veltrax/NameMass.dat

