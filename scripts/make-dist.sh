#!/usr/bin/env bash
# Puts every artefact the project ships into dist/, with SHA256SUMS:
#   veltrax_<version>_amd64.deb       the Debian package (the page inside it)
#   veltrax.html                      the program as one offline web page
#   web/                              the same page for a web server: installable, offline
#   veltrax-<version>-windows-x64.zip and veltrax-<version>-setup.exe
#                                     where Qt for Windows is built on this machine
#   source/                           then also the exact Qt sources they were built from
# and says which it could not build, and why.
# Usage: make-dist.sh BUILD_FOLDER   (after make package)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$1
dist=${VELTRAX_DIST:-$here/dist}  # another folder for a trial run
mkdir -p "$dist"
[[ -f $here/dist/veltrax.html && -f $here/dist/web/sw.js ]] || make -C "$here" web
[[ $dist -ef $here/dist ]] || { cp "$here/dist/veltrax.html" "$dist/"; rm -rf "$dist/web"; cp -r "$here/dist/web" "$dist/"; }
package=$(ls -t "$build"/veltrax_*.deb | head -n 1)
cp "$package" "$dist/"
missing=()

source "$here/packaging/windows/qt.env"
qt=${VELTRAX_CACHE:-$HOME/.cache/veltrax}/qt-$QT_VERSION-mingw-w64-r$QT_RECIPE
if [[ -f $qt/.complete ]]; then
  make -C "$here" windows
  [[ $dist -ef $here/dist ]] || cp "$here"/dist/veltrax-*-windows-x64.zip "$here"/dist/veltrax-*-setup.exe "$dist/"
  # The Corresponding Source of the shipped Qt: Debian's source package files
  # exactly as they were built, and those of Qt's Russian texts.
  work=$(cat "$qt/veltrax/build-folder")
  rm -rf "$dist/source"
  mkdir -p "$dist/source"
  cp "$work"/files/* "$dist/source/"
  if ! ls "$dist"/source/qt6-translations_*.orig.tar.* >/dev/null 2>&1; then
    missing+=("source/ of qt6-translations: the archive this machine reaches does not hold its tarballs; the written offer in licenses\\README.txt covers it")
  fi
else
  rm -f "$dist"/veltrax-*-windows-x64.zip "$dist"/veltrax-*-setup.exe
  missing+=("the Windows zip and installer: Qt for Windows is not built on this machine (make windows builds it once, about 45 minutes on two cores, then both)")
fi

(cd "$dist" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort | xargs sha256sum > SHA256SUMS)
echo "dist/:"
sed 's/^/  /' "$dist/SHA256SUMS"
for what in "${missing[@]}"; do
  echo "not built: $what"
done
