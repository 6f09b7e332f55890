#!/usr/bin/env bash
# Creates the cached Wine prefix that every test run copies. Besides a plain
# 32-bit prefix it has extra drives for the tests: D: a fixed disk, E: a
# CD-ROM, N: a network drive, each a folder inside the prefix. Windows are
# not managed by an X window manager, so dialogs keep Wine's own captions. Built once;
# concurrent callers wait on a lock.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$(dirname "$kvx_template")"
exec 9>"$kvx_template.lock"
flock 9
[ -f "$kvx_template/.ready" ] && exit 0
rm -rf "$kvx_template" "$kvx_template.home"
mkdir -p "$kvx_template.home"
export WINEPREFIX=$kvx_template HOME=$kvx_template.home
timeout 300 wineboot -i >/dev/null 2>&1
for d in d e n; do mkdir -p "$WINEPREFIX/drive_$d"; ln -sfn "../drive_$d" "$WINEPREFIX/dosdevices/$d:"; done
timeout 60 wine reg add 'HKLM\Software\Wine\Drives' /v d: /d hd /f >/dev/null 2>&1
timeout 60 wine reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f >/dev/null 2>&1
timeout 60 wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >/dev/null 2>&1
# No window manager runs on the virtual display: Wine draws its own captions.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
timeout 60 wineserver -w
touch "$kvx_template/.ready"
