#!/usr/bin/env bash
# Runs one Windows program under Wine in a throwaway copy of the template
# prefix, with its own HOME, under a time limit, and removes the copy after
# the program and everything it started have ended. ctest uses it as the
# cross build's emulator, so every test case gets a fresh prefix.
#   KVX_WINE_TIMEOUT  seconds before the run is killed (default 150)
#   KVX_WINE_KEEP     keep the prefix (its path is printed) for inspection
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
"$kvx_root/scripts/wine-template.sh" || { echo "wine-run: no template prefix" >&2; exit 2; }
run=$(mktemp -d "${TMPDIR:-/tmp}/kvx-wine.XXXXXX")
# Hard links for the ~600 MB of system files nothing writes to; real copies
# of the registry and ini files, which Wine rewrites.
cp -al "$kvx_template" "$run/prefix"
find "$run/prefix" -maxdepth 4 -type f \( -name '*.reg' -o -name '*.ini' \) -print0 |
  while IFS= read -r -d '' f; do cp --remove-destination "$(readlink -f "$f")" "$f.tmp" && mv -f "$f.tmp" "$f"; done
# Wine links the user's Desktop, Documents, ... to the HOME the template was
# made with; each run gets real folders of its own instead.
for link in "$run"/prefix/drive_c/users/*/*; do
  [ -L "$link" ] || continue
  rm -f "$link" && mkdir -p "$link"
done
mkdir -p "$run/home"
export WINEPREFIX=$run/prefix HOME=$run/home XDG_CONFIG_HOME=$run/home/.config XDG_DATA_HOME=$run/home/.local/share
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; run under xvfb-run -a" >&2
fi
timeout -k 5 "${KVX_WINE_TIMEOUT:-150}" wine "$@"
rc=$?
timeout 30 wineserver -w || true
wineserver -k 2>/dev/null || true
if [ -n "${KVX_WINE_KEEP:-}" ]; then echo "wine-run: prefix kept at $WINEPREFIX" >&2; else rm -rf "$run"; fi
exit $rc
