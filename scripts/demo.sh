#!/usr/bin/env bash
# The unattended demo behind scripts/run.sh; needs a display (xvfb-run).
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
build=${BUILD_DIR:-$kvx_root/build}
shots=$build/screenshots
robot=$build/win32/tests/kvxrobot.exe
run=$(mktemp -d "${TMPDIR:-/tmp}/kvx-demo.XXXXXX")
trap 'wineserver -k 2>/dev/null; rm -rf "$run"' EXIT
kvx_prefix "$run" || exit 1
mkdir -p "$shots" && rm -f "$shots"/*.png
caption="Setup Nalvora"
bot() { timeout 60 wine "$robot" "$@"; }
shot() { sleep 1; import -window root "$shots/$1.png" && echo "screenshot: $shots/$1.png"; }

timeout 300 wine "$build/setup.exe" &
bot wait "$caption" 30000 || { echo "demo: the setup dialog did not appear"; exit 1; }
echo "proposed folder: $(bot text "$caption" 1001)"
shot 1-ready
bot click "$caption" 1000
if bot wait "Setup Folder" 5000; then
  shot 2-browse
  bot click "Setup Folder" 2
  bot gone "Setup Folder" 5000
fi
bot click "$caption" 1
timeout 60 bash -c "until wine '$robot' text '$caption' 1002 | grep -q successfully; do sleep 0.5; done" ||
  { echo "demo: the install did not complete"; exit 1; }
shot 3-completed
bot click "$caption" 1
bot gone "$caption" 10000
timeout 30 wineserver -w

echo; echo "Installed files:"
(cd "$WINEPREFIX/drive_c" && find "Program Files/Corvane Software" -type f -printf '  C:/%p  %s bytes  %TY-%Tm-%Td %TH:%TM\n' | sort)
echo; echo "Shortcuts:"
(cd "$WINEPREFIX/drive_c" && find users -name KVX.lnk -printf '  C:/%p\n')
echo; echo "Registry:"
for key in 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\KVX.exe' \
           'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Nalvora' \
           'HKCU\Software\Corvane Software\KVX\Settings'; do
  timeout 60 wine reg query "$key" 2>/dev/null | tr -d '\r' | grep -v '^$' | sed 's/^/  /'
done
exit 0
