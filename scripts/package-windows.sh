#!/usr/bin/env bash
# Builds Veltrax for 64-bit Windows against the Qt that build-qt-windows.sh
# made, and packs it three times:
#   dist/veltrax-<version>-windows-x64.zip  the program folder, to unpack anywhere
#   dist/veltrax-<version>-x64.msi          for a whole computer (wixl)
#   dist/veltrax-<version>-setup.exe        for one user (NSIS)
# The Windows build also holds the widget tests (ui_tests.exe) for Wine.
# Usage: package-windows.sh [BUILD_FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-windows}
qt=$("$here/scripts/build-qt-windows.sh")

cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DVELTRAX_UI=ON -DVELTRAX_TESTS=ON
cmake --build "$build"
version=$("$here/scripts/version.sh")

# The program folder: the program, Qt's libraries, the platform and style
# plugins and the compiler's run-time libraries (Qt's Russian texts are
# inside the program).
name=veltrax-$version-windows-x64
folder=$build/$name
rm -rf "$folder"
mkdir -p "$folder/platforms" "$folder/styles"
cp "$build/app/veltrax.exe" "$folder/"
cp "$qt"/bin/Qt6Core.dll "$qt"/bin/Qt6Gui.dll "$qt"/bin/Qt6Widgets.dll "$folder/"
cp "$qt"/plugins/platforms/qwindows.dll "$folder/platforms/"
cp "$qt"/plugins/styles/qwindowsvistastyle.dll "$folder/styles/"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
cp "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$folder/"
find "$folder" -name '*.dll' -o -name '*.exe' | xargs x86_64-w64-mingw32-strip --strip-unneeded
cp "$here/packaging/copyright" "$folder/copyright.txt"
# The program as a web page, for a computer where nothing may be installed.
[[ -f $here/dist/veltrax.html ]] || make -C "$here" web
cp "$here/dist/veltrax.html" "$folder/"
# The licences of Qt, of the code compiled into it and of the compiler's
# run-time, with where the exact Qt sources are.
qt_work=$(cat "$qt/veltrax/build-folder")
node "$here/scripts/windows-licenses.mjs" "$qt_work" "$here" "$folder/licenses"
# The ready element tables, beside the program.
mkdir -p "$folder/tables"
cp "$here"/tables/NameMass-school.dat "$here"/tables/NameMass-iupac-2021.dat "$folder/tables/"
sed 's/$/\r/' "$here/tables/README.md" > "$folder/tables/README.txt"

# Both are written beside and moved into place: an installer or zip that is
# being read (copied, run) keeps its bytes.
mkdir -p "$here/dist"
rm -f "$build/$name.zip"
(cd "$build" && zip -q -r -X "$build/$name.zip" "$name")
mv -f "$build/$name.zip" "$here/dist/$name.zip"

# The uninstaller removes exactly the files the installer wrote.
filelist=$build/installed-files.nsh
(
  cd "$folder"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|^|  Delete "$INSTDIR\\|; s|$|"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|^|  RMDir "$INSTDIR\\|; s|$|"|'
) > "$filelist"
# The longest path inside the folder, with the backslash before it, so that
# the installer refuses a folder whose files would pass 259 characters.
longest=$( (cd "$folder" && find . -type f && echo ./uninstall.exe && echo ./veltrax.installed) |
          awk '{ n = length($0) - 1; if (n > m) m = n } END { print m }')
# The licence page: Veltrax's licence in plain words, and what it ships besides.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$here/packaging/windows/license.txt"; } > "$build/license.txt"
makensis -V2 -DVERSION="$version" -DRUNNING_MARK="$(cat "$build/app/running-mark.txt")" -DDIST="$folder" \
  -DICON="$here/packaging/icons/org.veltrax.Veltrax.ico" -DLICENSE="$build/license.txt" -DFILELIST="$filelist" \
  -DLONGEST="$longest" -DOUTFILE="$build/veltrax-$version-setup.exe" "$here/packaging/windows/veltrax.nsi"
mv -f "$build/veltrax-$version-setup.exe" "$here/dist/veltrax-$version-setup.exe"

# The MSI: the same folder, for a whole computer.
msi=veltrax-$version-x64.msi
"$here/scripts/make-msi.sh" "$folder" "$version" "$here/dist/$msi"
echo "built dist/$name.zip, dist/$msi and dist/veltrax-$version-setup.exe"
