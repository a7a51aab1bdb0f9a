#!/usr/bin/env bash
# Checks the .deb in the build folder as a distribution would: lintian with
# no errors or warnings, a valid desktop entry, valid AppStream metadata.
# Usage: check-package.sh BUILD_FOLDER
set -euo pipefail
package=$(ls -t "$1"/veltrax_*.deb | head -n 1)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"

echo "lintian $package"
lintian --fail-on error,warning --allow-root "$package"
desktop-file-validate "$unpacked"/usr/share/applications/org.veltrax.Veltrax.desktop
desktop-file-validate "$unpacked"/usr/share/applications/org.veltrax.Veltrax.Web.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/org.veltrax.Veltrax.metainfo.xml
# The page is in the package, the very one that was built.
cmp "$unpacked/usr/share/veltrax/veltrax.html" "$(dirname "$0")/../dist/veltrax.html"
echo "package checks passed: $(basename "$package")"
