#!/usr/bin/env bash
# Install run figures under Wine: the time from the OK press to the files
# written and to the completed state, against a plain copy of the same nine
# files in the same prefix, and the installer's peak memory. Run after
# scripts/build.sh (same BUILD_DIR); it builds the benchmark itself.
#   BENCH_RUNS  timed installs (default 7; the median is printed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export KVX_WINE_TEMPLATE=${KVX_WINE_TEMPLATE:-$build/wine-template}
log=$build/bench-install.log
cmake --build "$build/win32" --target install_bench >"$log" 2>&1 ||
  { echo "bench: building install_bench failed, see $log" >&2; exit 1; }
run=("$root/scripts/wine-run.sh")
command -v xvfb-run >/dev/null && [ -z "${DISPLAY:-}" ] && run=(xvfb-run -a -s '-screen 0 1024x768x24' "${run[@]}")
echo "load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
"${run[@]}" "$build/win32/bench/install_bench.exe" "${BENCH_RUNS:-7}" | tr -d '\r'
