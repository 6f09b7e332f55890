#!/usr/bin/env bash
# Runs one Windows program under Wine in a throwaway copy of the template
# prefix, with its own HOME, under a time limit, and removes the copy after
# the program and everything it started have ended. ctest uses it as the
# cross build's emulator, so every test case gets a fresh prefix and a
# virtual screen of its own.
#   KVX_WINE_TIMEOUT  seconds before the run is killed (default 150)
#   KVX_WINE_KEEP     keep the prefix (its path is printed) for inspection
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
run=$(mktemp -d "${TMPDIR:-/tmp}/kvx-wine.XXXXXX")
kvx_prefix "$run" || { echo "wine-run: no template prefix" >&2; rm -rf "$run"; exit 2; }
# A virtual screen of its own: windows of test cases running side by side
# never overlap, so what one case reads off its screen is its own.
exec 3>"$run/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
if timeout 10 bash -c "until [ -s '$run/display' ]; do sleep 0.05; done"; then
  export DISPLAY=":$(head -n1 "$run/display")"
else
  echo "wine-run: no virtual screen; using DISPLAY=${DISPLAY:-none}" >&2
fi
timeout -k 5 "${KVX_WINE_TIMEOUT:-150}" wine "$@"
rc=$?
timeout 30 wineserver -w || true
wineserver -k 2>/dev/null || true
kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null
if [ -n "${KVX_WINE_KEEP:-}" ]; then echo "wine-run: prefix kept at $WINEPREFIX" >&2; else rm -rf "$run"; fi
exit $rc
