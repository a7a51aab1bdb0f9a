#!/usr/bin/env bash
# Puts every artefact the project ships into dist/, with SHA256SUMS:
#   veltrax_<version>_amd64.deb       the Debian package (the page inside it)
#   veltrax.html                      the program as one offline web page
#   web/                              the same page for a web server: installable, offline
#   veltrax-<version>-windows-x64.zip, veltrax-<version>-x64.msi and
#   veltrax-<version>-setup.exe       where Qt for Windows is built on this machine
#   source/                           then also the exact sources they were built from
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
  [[ $dist -ef $here/dist ]] || cp "$here"/dist/veltrax-*-windows-x64.zip "$here"/dist/veltrax-*-x64.msi "$here"/dist/veltrax-*-setup.exe "$dist/"
  # The Corresponding Source of the shipped Qt, Debian's source package files
  # exactly as they were built, and Veltrax's own source: they go with the
  # program wherever it is passed on (licenses\README.txt names them).
  work=$(cat "$qt/veltrax/build-folder")
  rm -rf "$dist/source"
  mkdir -p "$dist/source"
  cp "$work"/files/qt6-base_* "$dist/source/"
  version=$("$here/scripts/version.sh")
  if git -C "$here" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$here" archive --format=tar.gz --prefix="veltrax-$version/" -o "$dist/source/veltrax-$version.tar.gz" HEAD
    [[ -z $(git -C "$here" status --porcelain --untracked-files=no) ]] ||
      missing+=("an exact source/veltrax-$version.tar.gz: the work tree has changes that are not committed; the archive holds the last commit")
  else
    missing+=("source/veltrax-$version.tar.gz: this source tree is not a git checkout")
  fi
else
  rm -f "$dist"/veltrax-*-windows-x64.zip "$dist"/veltrax-*-x64.msi "$dist"/veltrax-*-setup.exe
  missing+=("the Windows zip, MSI and setup.exe: Qt for Windows is not built on this machine (make windows builds it once, about 45 minutes on two cores, then both)")
fi

(cd "$dist" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort | xargs sha256sum > SHA256SUMS)
echo "dist/:"
sed 's/^/  /' "$dist/SHA256SUMS"
for what in "${missing[@]}"; do
  echo "not built: $what"
done
