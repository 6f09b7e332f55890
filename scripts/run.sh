#!/usr/bin/env bash
# The main job: builds the installer and runs it under Wine.
# With a display: opens setup.exe in a project-local prefix (build/wine-prefix)
# for you to use. Without one (CI, ssh), or with KVX_DEMO=1: an unattended
# demo on a virtual display in a throwaway prefix, which saves a screenshot of
# each dialog state in build/screenshots/, installs as a user would and prints
# what was installed and written to the registry.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ] && [ -z "${KVX_DEMO:-}" ]; then
  source "$root/scripts/wine-env.sh"
  # A HOME of its own, so the shortcuts an install makes stay in the prefix
  # instead of landing on your own desktop; X still finds its authority file.
  export XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}
  export WINEPREFIX=$build/wine-prefix HOME=$build/wine-home
  mkdir -p "$HOME"
  [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
  exec wine "$build/setup.exe"
fi
"$root/scripts/wine-template.sh"
exec xvfb-run -a -s '-screen 0 1024x768x24' "$root/scripts/demo.sh"
