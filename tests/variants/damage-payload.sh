#!/usr/bin/env bash
# Writes damaged copies of a payload, one folder each, for the installer's
# failure builds:
#   truncated/      entry 7's stream cut to half, its length prefix to match
#   bad_signature/  entry 3's first signature byte after "SZDD" changed
#   empty_entry/    entry 5 a sound SZDD file of 0 expanded bytes
#   ends_early/     the end marker right after the six program files
#   cut/            the payload itself ending in the middle of entry 8
#   oversized/      entry 8 a sound SZDD file one byte longer than the
#                   installer's 2,400,000-byte buffer (kvxpack compresses it;
#                   its pack command would refuse the file)
# Every entry not named stays byte for byte as it was.
#   damage-payload.sh PAYLOAD OUTDIR KVXPACK
set -euo pipefail
in=$1
out=$2
kvxpack=$3

# Bytes [from, from + count) of the payload.
slice() { dd if="$in" bs=64K iflag=skip_bytes,count_bytes skip="$1" count="$2" status=none; }
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
u32_at() {
  local b
  read -r -a b < <(od -An -tu1 -j "$1" -N4 "$in")
  echo $((b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24))
}

# Where each length prefix stands, and the lengths; the last one is the end marker.
offsets=()
lengths=()
pos=0
size=$(stat -c %s "$in")
while :; do
  [ $((pos + 4)) -le "$size" ] || { echo "damage-payload: $in has no end marker" >&2; exit 1; }
  g=$(u32_at $pos)
  offsets+=("$pos")
  lengths+=("$g")
  [ "$g" -eq 0 ] && break
  pos=$((pos + 4 + g))
done
[ ${#offsets[@]} -eq 10 ] || { echo "damage-payload: $in does not hold nine entries" >&2; exit 1; }
end=$size

# Entry i's whole record (prefix and body), and everything from entry i on.
before() { slice 0 "${offsets[$1]}"; }
from() { slice "${offsets[$1]}" $((end - offsets[$1])); }

mkdir -p "$out"/{truncated,bad_signature,empty_entry,ends_early,cut,oversized}

half=$((lengths[7] / 2))
{ before 7; le32 $half; slice $((offsets[7] + 4)) $half; from 8; } >"$out/truncated/payload.bin"

{ before 3; le32 "${lengths[3]}"; printf '\x89'; slice $((offsets[3] + 5)) $((lengths[3] - 1)); from 4; } \
  >"$out/bad_signature/payload.bin"

# The ten header bytes after "SZDD": signature rest, mode 'A', no missing
# character, expanded length 0; no compressed data follows.
{ before 5; le32 10; printf '\x88\xf0\x27\x33A\x00'; le32 0; from 6; } >"$out/empty_entry/payload.bin"

{ before 6; le32 0; } >"$out/ends_early/payload.bin"

slice 0 $((offsets[8] + 4 + lengths[8] / 2)) >"$out/cut/payload.bin"

head -c 2400001 /dev/zero >"$out/oversized/file"
rm -f "$out/oversized/file.sz"
"$kvxpack" compress "$out/oversized/file" "$out/oversized/file.sz"
big=$(($(stat -c %s "$out/oversized/file.sz") - 4))
{ before 8; le32 $big; dd if="$out/oversized/file.sz" bs=64K iflag=skip_bytes skip=4 status=none; le32 0; } \
  >"$out/oversized/payload.bin"
rm -f "$out/oversized/file" "$out/oversized/file.sz"
