#!/usr/bin/env bash
# Installs the page's npm packages (web/package.json) into
# BUILD/web-modules/node_modules, where they are missing or another version,
# and prints that folder. Usage: web-modules.sh BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
folder=$1/web-modules
mkdir -p "$folder"
if ! cmp -s "$here/web/package.json" "$folder/package.json" || [[ ! -d $folder/node_modules/esbuild ]]; then
  cp "$here/web/package.json" "$folder/package.json"
  (cd "$folder" && npm install --no-audit --no-fund --silent) >&2
fi
echo "$folder/node_modules"
