#!/usr/bin/env bash
# The page's tests: the core's GoogleTest suite compiled to WebAssembly and run
# under node, the native and the WebAssembly core compared on random cases,
# then the page itself in Debian's Chromium, headless.
# Usage: test-web.sh NATIVE-BUILD WEB-TEST-BUILD PAGE WEB-FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
native=$1 web_tests=$2 page=$3 web_folder=$4

node "$web_tests/tests/core_tests.js"
scripts/web-differential.sh "$native" "$web_tests" 10000

# playwright-core from npm drives the Chromium that Debian ships.
if [[ ! -d $web_tests/node_modules/playwright-core ]]; then
  cp tests/web/package.json "$web_tests/"
  (cd "$web_tests" && npm install --no-audit --no-fund --silent)
fi
VELTRAX_NODE_MODULES=$web_tests/node_modules VELTRAX_PAGE=$page VELTRAX_WEB_FOLDER=$web_folder \
  VELTRAX_SCREENSHOT=${VELTRAX_SCREENSHOT:-$web_tests/veltrax-web.png} \
  node --test --test-concurrency=1 tests/web/
