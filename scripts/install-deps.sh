#!/usr/bin/env bash
# Installs the Debian packages that Veltrax needs, and only those that are
# missing. Safe to run again and again.
#
#   install-deps.sh            building and running the program
#   install-deps.sh --test     and everything the tests, benchmarks and packaging use
#   install-deps.sh --windows  and what cross-building for Windows uses
#   install-deps.sh --screen   and a virtual screen to take pictures of the window
#   install-deps.sh --web      and what building and testing the web page uses
set -euo pipefail

run=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-qpa-plugins libgl-dev
  fonts-liberation
)
windows=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 googletest wixl msitools)
web=(emscripten node-acorn chromium fonts-liberation googletest librsvg2-bin)
# npm where no node with its npm is there already (a node from elsewhere
# brings its own, and Debian's npm would not fit it).
command -v npm >/dev/null 2>&1 || web+=(nodejs npm)
tests=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  dpkg-dev file lintian desktop-file-utils appstream python3 zbar-tools
  "${windows[@]}"
  "${web[@]}"
)

packages=("${run[@]}")
for mode in "$@"; do
  case $mode in
    --test) packages+=("${tests[@]}") ;;
    --windows) packages+=("${windows[@]}" nsis zip dpkg-dev xvfb xauth xdotool xclip imagemagick) ;;
    --screen) packages+=(xvfb xauth xdotool imagemagick) ;;
    --web) packages+=("${web[@]}") ;;
    *) echo "install-deps.sh: unknown option $mode" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
