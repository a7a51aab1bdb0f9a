#!/usr/bin/env bash
# Runs a Windows program under Wine, without a display unless DISPLAY is
# set, in a Wine prefix of its own (made on first use).
# Usage: wine-run.sh PROGRAM.exe [ARGUMENT...]
set -euo pipefail
export WINEPREFIX=${WINEPREFIX:-${VELTRAX_CACHE:-$HOME/.cache/veltrax}/wine-tests}
export WINEDEBUG=${WINEDEBUG:--all}
# No prompts for Wine's Mono and Gecko, which these programs do not use.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
mkdir -p "$(dirname "$WINEPREFIX")"
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
status=0
wine "$@" || status=$?
wineserver --kill 2>/dev/null || true
exit "$status"
