# Sourced by the Wine scripts: the environment every Wine run of ours uses.
# Never the user's ~/.wine, never the user's HOME (Wine links the Desktop
# folder to it), no menu builder, no Mono or Gecko prompts, a fixed time zone.
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export TZ=${TZ:-UTC}
kvx_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kvx_template=${KVX_WINE_TEMPLATE:-$kvx_root/build/wine-template}

# kvx_prefix DIR: a throwaway prefix in DIR/prefix with its own HOME in
# DIR/home, copied from the template, and exported for the following wine calls.
kvx_prefix() {
  local run=$1
  "$kvx_root/scripts/wine-template.sh" || return 1
  # Hard links for the ~600 MB of system files nothing writes to; real copies
  # of the registry and ini files, which Wine rewrites.
  cp -al "$kvx_template" "$run/prefix" || return 1
  find "$run/prefix" -maxdepth 4 -type f \( -name '*.reg' -o -name '*.ini' \) -print0 |
    while IFS= read -r -d '' f; do cp --remove-destination "$f" "$f.tmp" && mv -f "$f.tmp" "$f"; done
  # Wine links the user's Desktop, Documents, ... to the HOME the template was
  # made with; each run gets real folders of its own instead.
  local link
  for link in "$run"/prefix/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm -f "$link" && mkdir -p "$link"
  done
  mkdir -p "$run/home"
  export WINEPREFIX=$run/prefix HOME=$run/home XDG_CONFIG_HOME=$run/home/.config XDG_DATA_HOME=$run/home/.local/share
}
