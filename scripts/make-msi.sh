#!/usr/bin/env bash
# Packs a Windows program folder as an MSI for a whole computer: the folder
# listed by wixl-heat (the program and the page stand in veltrax.wxs itself,
# with the Start menu's entries), the marker of a machine's install, built by
# Debian's wixl, with the Russian texts put in by msi-texts.py.
# Usage: make-msi.sh PROGRAM_FOLDER VERSION OUTPUT.msi
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
folder=$(cd "$1" && pwd)
version=$2
output=$(realpath -m "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# wixl takes the files by paths relative to where it runs.
ln -s "$folder" "$work/program"
cp "$here/packaging/icons/org.veltrax.Veltrax.ico" "$work/veltrax.ico"
printf 'Veltrax %s\r\ninstalled by the MSI for all users\r\n' "$version" > "$work/veltrax.installed"
(cd "$work" && find -L program -type f ! -path program/veltrax.exe ! -path program/veltrax.html | sort |
  wixl-heat --var var.SourceDir -p program/ --directory-ref INSTALLDIR --component-group ProgramFiles --win64) \
  > "$work/files.wxs"
size=$(du -skL "$folder" | cut -f1)
(cd "$work" && wixl -a x64 -D Win64=yes -D Version="$version" -D Size="$size" -D SourceDir=program \
  -D Marker=veltrax.installed -D Icon=veltrax.ico -o package.msi "$here/packaging/windows/veltrax.wxs" files.wxs)
python3 "$here/scripts/msi-texts.py" "$work/package.msi" "$here/packaging/windows/msi-texts.txt"
# Written beside and moved into place: a package being read keeps its bytes.
mv -f "$work/package.msi" "$output"
