#!/usr/bin/env bash
# Codec figures side by side, in one run: expansion speed of ours against
# libmspack (native, in memory) and against the platform's LZ32 (under Wine,
# in-process, our 32-bit build), compressed size against Debian's mscompress,
# and compression speed. Run after scripts/build.sh (same BUILD_DIR); it
# builds the two benchmark programs itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export KVX_WINE_TEMPLATE=${KVX_WINE_TEMPLATE:-$build/wine-template}
work=$build/bench-codec
rm -rf "$work"; mkdir -p "$work/corpus" "$work/mscompress"
for tree in native:codec_bench win32:codec_bench_lz32; do
  cmake --build "$build/${tree%%:*}" --target "${tree#*:}" >"$work/build.log" 2>&1 ||
    { echo "bench: building ${tree#*:} failed, see $work/build.log" >&2; exit 1; }
done
corpus=$work/corpus

# Files nobody here wrote: Wine's own 32-bit DLLs, text, a ~1 MB data file;
# then the edge files. The category is the name's prefix.
wine_dlls=/usr/lib/i386-linux-gnu/wine/i386-windows
for dll in kernel32 gdi32 msvcrt comdlg32 advpack cabinet lz32; do
  [ -f "$wine_dlls/$dll.dll" ] && cp "$wine_dlls/$dll.dll" "$corpus/dll-$dll.dll"
done
for text in /usr/share/common-licenses/GPL-3 /usr/share/vim/vim90/doc/version9.txt; do
  [ -f "$text" ] && cp "$text" "$corpus/text-$(basename "$text")"
done
data=/usr/share/xml/iso-codes/iso_639-3.xml
[ -f "$data" ] && cp "$data" "$corpus/data-$(basename "$data")"
python3 - "$corpus" <<'PY'
import random, sys
d = sys.argv[1]
random.seed(2003)
edges = {"empty": b"", "one-byte": b"A", "18-equal": b"q" * 18, "zeros-1MB": bytes(1 << 20),
         "spaces-4096": b" " * 4096, "random-256KB": bytes(random.getrandbits(8) for _ in range(1 << 18))}
for name, data in edges.items():
    open(f"{d}/edge-{name}", "wb").write(data)
PY
files=("$corpus"/*)

# mscompress: one process over the whole corpus; its output names end in _.
cp "${files[@]}" "$work/mscompress/"
start=$(date +%s.%N)
(cd "$work/mscompress" && mscompress ./* >/dev/null 2>&1)
end=$(date +%s.%N)
ms_size=$(cat "$work/mscompress"/*_ | wc -c)
for f in "$work/mscompress"/*_; do echo "MS $(basename "$f") $(stat -c %s "$f")"; done >"$work/mscompress.txt"
ms_seconds=$(echo "$end - $start" | bc -l)

"$build/native/bench/codec_bench" "${files[@]}" >"$work/native.txt"
winpaths=(); for f in "${files[@]}"; do winpaths+=("Z:$f"); done
run=("$root/scripts/wine-run.sh")
command -v xvfb-run >/dev/null && run=(xvfb-run -a "${run[@]}")
"${run[@]}" "$build/win32/bench/codec_bench_lz32.exe" "${winpaths[@]}" | tr -d '\r' >"$work/wine.txt"

awk -v load="$(cut -d' ' -f1-3 /proc/loadavg)" -v ms_size="$ms_size" -v ms_s="$ms_seconds" -v mscorpus="$work/mscompress" '
  function cat(path,   n) { n = split(path, p, "/"); split(p[n], q, "-"); return q[1] }
  FNR == 1 { src = FILENAME ~ /wine/ ? "wine" : "native" }
  $1 == "FILE" {
    c = cat($2)
    size[src] += $3; packed[src] += $4; comp[src] += $5; ours[src] += $6; peer[src] += $7
    if (src == "native") { csize[c] += $3; cpacked[c] += $4; files++ }
  }
  $1 == "MS" { cms[cat($2)] += $3 }
  END {
    mb = size["native"] / 1e6
    printf "corpus: %d files, %.1f MB; load average %s\n", files, mb, load
    printf "native figures in thread processor time, Wine figures by the wall clock (best of batches)\n\n"
    printf "%-44s %10s\n", "expansion, in-process", "MB/s"
    printf "%-44s %10.0f\n", "ours, native x86-64", size["native"] / ours["native"] / 1e6
    printf "%-44s %10.0f\n", "libmspack SZDD, native x86-64", size["native"] / peer["native"] / 1e6
    printf "%-44s %10.0f\n", "ours, i686 build under Wine", size["wine"] / ours["wine"] / 1e6
    printf "%-44s %10.0f\n", "Wine LZ32 (open, one LZRead, close)", size["wine"] / peer["wine"] / 1e6
    printf "%-44s %10.2f\n", "ours / fastest peer, native", peer["native"] / ours["native"]
    printf "%-44s %10.2f\n\n", "ours / fastest peer, Wine", peer["wine"] / ours["wine"]
    printf "%-44s %10s %10s\n", "compression", "ratio", "MB/s"
    printf "%-44s %10.4f %10.1f\n", "ours, native x86-64", packed["native"] / size["native"], mb / comp["native"]
    printf "%-44s %10.4f %10.1f\n", "ours, i686 build under Wine", packed["wine"] / size["wine"], mb / comp["wine"]
    printf "%-44s %10.4f %10.1f\n", "mscompress (one process, wall clock)", ms_size / size["native"], mb / ms_s
    printf "%-44s %10.4f\n\n", "ours / mscompress size", packed["native"] / ms_size
    printf "%-32s %10s %10s %10s %10s\n", "size by kind", "bytes", "ours", "mscompress", "ours/ms"
    for (c in csize) {
      printf "  %-30s %10d %10.4f %10.4f %10.4f\n", c, csize[c], cpacked[c] / csize[c], cms[c] / csize[c],
             cpacked[c] / cms[c]
    }
  }' "$work/native.txt" "$work/wine.txt" "$work/mscompress.txt"
