#!/usr/bin/env bash
# Builds the libFuzzer targets of the payload codec and readers (clang with ASan and
# UBSan) and runs each for a bounded time. A crash, a leak or a failed check
# is a finding: the script then exits non-zero and leaves the reproducer in
# the target's folder.
#   FUZZ_SECONDS  run time per target (default 15)
#   BUILD_DIR     build folder; the targets go to $BUILD_DIR/fuzz
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=$build/fuzz
seconds=${FUZZ_SECONDS:-15}
mkdir -p "$out"
cd "$out"

flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root")
core=("$root"/payload/szdd*.cpp "$root/payload/payload_format.cpp" "$root/payload/pe_resource.cpp")
for target in szdd_expand szdd_roundtrip payload_walk pe_resource; do
  if [ ! -x "$target" ] || [ -n "$(find "$root/payload" "$root/tests/fuzz" -newer "$target" -name '*.[ch]*' -print -quit)" ]; then
    clang++ "${flags[@]}" "$root/tests/fuzz/${target}_fuzz.cpp" "${core[@]}" -o "$target"
  fi
  mkdir -p "$target.corpus"
done

# Seeds: real files in each target's format, where this machine has them.
kvxpack=$build/native/tools/kvxpack
dll=/usr/lib/i386-linux-gnu/wine/i386-windows/lz32.dll
if [ -x "$kvxpack" ] && [ -z "$(ls -A szdd_expand.corpus)" ]; then
  head -c 3000 "$root/payload/szdd_expand.cpp" >seed.txt
  "$kvxpack" compress seed.txt szdd_expand.corpus/text.sz
  cp seed.txt szdd_roundtrip.corpus/text
  [ -f "$dll" ] && "$kvxpack" compress "$dll" szdd_expand.corpus/dll.sz
  mkdir -p seed/dalmont
  i=0
  for name in KVX.exe KVXS.exe KVX.hlp KVX.cnt KVXuninstall.exe ReadMe.txt dalmont/dalmont.idx dalmont/ngf0700c1.kvx dalmont/ngf1b433d.kvx; do
    head -c $((100 + i * 50)) "$root/payload/szdd_compress.cpp" >"seed/$name"; i=$((i + 1))
  done
  "$kvxpack" pack seed payload_walk.corpus/payload.bin
  rm -rf seed seed.txt
fi
[ -f "$dll" ] && cp -n "$dll" pe_resource.corpus/lz32.dll

failed=0
for target in szdd_expand szdd_roundtrip payload_walk pe_resource; do
  echo "fuzz: $target for ${seconds}s"
  if ! ./"$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=0 -artifact_prefix="$out/$target-" \
      "$target.corpus" >"$target.log" 2>&1; then
    echo "fuzz: FINDING in $target (see $out/$target.log)"; tail -30 "$target.log"; failed=1
  else
    grep -E '^#[0-9]+.*DONE' "$target.log" | tail -1 || true
  fi
done
exit $failed
