#!/usr/bin/env bash
# Builds Qt's base module (Core, Gui, Widgets, the Windows platform plugin)
# for 64-bit Windows, once, from Debian's own qt6-base source package with
# Debian's patches applied (dpkg-source -x: the very tree that
# "apt-get source" gives), and against the Qt host tools that Debian
# installs. What Veltrax does not use is switched off at configure time, the
# freedesktop.org MIME database and image formats other than PNG and XPM
# included. The result goes to a cache folder outside the repository and is
# reused by every later build; the source files, the revision and the exact
# configure command are kept beside it for the licence notice and the
# source offer.
#
#   scripts/build-qt-windows.sh            prints the installed Qt's folder
#
# VELTRAX_CACHE chooses the cache folder (default ~/.cache/veltrax).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/packaging/windows/qt.env"
version=$QT_VERSION
cache=${VELTRAX_CACHE:-$HOME/.cache/veltrax}
recipe=$QT_RECIPE
prefix=$cache/qt-$version-mingw-w64-r$recipe
if [[ -f $prefix/.complete ]]; then
  echo "$prefix"
  exit 0
fi

"$here/scripts/install-deps.sh" --windows >&2
mkdir -p "$cache"
work=$cache/qt-$version-build-r$recipe
mkdir -p "$work"

# The source through a source list of its own, so that the machine's apt
# configuration stays as it is.
if [[ ! -d $work/source ]]; then
  apt_dir=$work/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial"
  sed -n 's/^URIs: //p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1 > "$apt_dir/uri"
  uri=$(cat "$apt_dir/uri")
  echo "deb-src ${uri:-http://deb.debian.org/debian} bookworm main" > "$apt_dir/sources.list"
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
               -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::Archives=$apt_dir/archives"
               -o "APT::Sandbox::User=root")
  apt-get "${apt_options[@]}" update -q >&2
  # The newest Debian revision of this Qt version: a point release of Debian
  # moves the revision on, and any of them serves.
  revision=$(apt-cache "${apt_options[@]}" showsrc qt6-base 2>/dev/null | sed -n 's/^Version: //p' |
             grep "^$version+dfsg-" | sort -V | tail -n 1)
  if [[ -z $revision ]]; then
    echo "build-qt-windows.sh: the Debian archive has no source of qt6-base $version" >&2
    exit 1
  fi
  echo "build-qt-windows.sh: taking Debian's qt6-base $revision" >&2
  echo "$revision" > "$work/revision"
  mkdir -p "$work/files"
  (cd "$work/files" && apt-get "${apt_options[@]}" source --download-only "qt6-base=$revision" >&2)
  rm -rf "$work/unpacked"
  dpkg-source --no-check -x "$work"/files/qt6-base_"${revision#*:}".dsc "$work/unpacked" >&2
  mv "$work/unpacked" "$work/source"
fi

# Debian's source leaves out the third-party tablet headers of the Windows
# plugin (tabletevent off), and 6.4's plugin needs dynamic OpenGL off when
# OpenGL itself is.
configure=(
  cmake -S "$work/source" -B "$work/build" -G Ninja
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake"
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_tabletevent=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_mimetype_database=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_libpng=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_doubleconversion=OFF
)
printf '%q ' "${configure[@]}" | sed "s|$work|<source folder>|g; s|$here|<veltrax>|g; s|$prefix|<install folder>|g" \
  > "$work/configure-command.txt"
"${configure[@]}" >&2
cmake --build "$work/build" >&2
cmake --install "$work/build" >&2
# What the licence notice and the source offer name, kept with the build.
mkdir -p "$prefix/veltrax"
cp "$work/revision" "$work/configure-command.txt" "$prefix/veltrax/"
echo "$work" > "$prefix/veltrax/build-folder"
touch "$prefix/.complete"
echo "$prefix"
