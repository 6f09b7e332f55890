# Sourced by the Wine scripts: the environment every Wine run of ours uses.
# Never the user's ~/.wine, never the user's HOME (Wine links the Desktop
# folder to it), no menu builder, no Mono or Gecko prompts, a fixed time zone.
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export TZ=${TZ:-UTC}
kvx_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kvx_template=${KVX_WINE_TEMPLATE:-$kvx_root/build/wine-template}
