#!/usr/bin/env bash
# make dist as on a machine without Qt for Windows, into a folder of its own:
# the .deb and the page with their checksums, and a clear word about the
# Windows artefacts. Usage: check-dist.sh BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
trial=$(mktemp -d)
trap 'rm -rf "$trial"' EXIT
output=$(VELTRAX_DIST=$trial/dist VELTRAX_CACHE=$trial/no-qt "$here/scripts/make-dist.sh" "$1")
echo "$output"
grep -q "^not built: the Windows zip, MSI and setup.exe: Qt for Windows is not built" <<<"$output"
(cd "$trial/dist" && sha256sum --check --quiet SHA256SUMS)
grep -q "veltrax_.*_amd64\.deb$" "$trial/dist/SHA256SUMS" && grep -q " veltrax\.html$" "$trial/dist/SHA256SUMS"
grep -q " web/index\.html$" "$trial/dist/SHA256SUMS" && grep -q " web/sw\.js$" "$trial/dist/SHA256SUMS"
echo "dist check passed"
