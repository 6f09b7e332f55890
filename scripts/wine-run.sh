#!/usr/bin/env bash
# Runs one Windows program under Wine in a throwaway copy of the template
# prefix, with its own HOME, under a time limit, and removes the copy after
# the program and everything it started have ended. ctest uses it as the
# cross build's emulator, so every test case gets a fresh prefix.
#   KVX_WINE_TIMEOUT  seconds before the run is killed (default 150)
#   KVX_WINE_KEEP     keep the prefix (its path is printed) for inspection
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
run=$(mktemp -d "${TMPDIR:-/tmp}/kvx-wine.XXXXXX")
kvx_prefix "$run" || { echo "wine-run: no template prefix" >&2; rm -rf "$run"; exit 2; }
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; run under xvfb-run -a" >&2
fi
timeout -k 5 "${KVX_WINE_TIMEOUT:-150}" wine "$@"
rc=$?
timeout 30 wineserver -w || true
wineserver -k 2>/dev/null || true
if [ -n "${KVX_WINE_KEEP:-}" ]; then echo "wine-run: prefix kept at $WINEPREFIX" >&2; else rm -rf "$run"; fi
exit $rc
