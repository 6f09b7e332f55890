#!/usr/bin/env python3
"""Draws the installer's three icons (our own pictures) as 16-colour ICO files.

res/icons/product.ico: 32x32 and 16x16, a blue tile with a yellow K.
res/icons/folder_closed.ico, folder_open.ico: 16x16 folders.
Run it again after changing a drawing; the output is deterministic.
"""
import struct
import sys
from pathlib import Path

# The standard 16-colour palette (index: colour) as B, G, R, 0.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# Characters of the drawings: '.' is transparent.
INK = {'k': 0, 'n': 4, 'b': 12, 'y': 11, 'o': 3, 'g': 8, 'w': 15, 's': 7}


def image(rows):
    size = len(rows)
    assert all(len(r) == size for r in rows), "drawings are square"
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = b''
    mask = b''
    for row in reversed(rows):  # bottom-up
        nibbles = [INK.get(c, 0) for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += line.ljust(xor_stride, b'\0')
        bits = 0
        out = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c == '.' else 0)
            if i % 8 == 7:
                out.append(bits)
                bits = 0
        mask += bytes(out).ljust(and_stride, b'\0')
    return size, header + palette + xor + mask


def ico(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(data), offset + len(body))
        body += data
    return out + body


def product(size):
    rows = []
    for y in range(size):
        row = ''
        for x in range(size):
            edge = x in (0, size - 1) or y in (0, size - 1)
            inside = 0 < x < size - 1 and 0 < y < size - 1
            stem = size // 4 <= x < size // 4 + max(2, size // 8) and size // 5 <= y < size - size // 5
            mid = size // 2
            arm = abs((x - size // 4) - abs(y - mid)) <= max(1, size // 16) and x > size // 4 + 1 \
                and size // 5 <= y < size - size // 5
            row += 'n' if edge else ('y' if stem or arm else ('b' if inside else '.'))
        rows.append(row)
    return rows


FOLDER_CLOSED = [
    "................",
    "................",
    "..kkkkk.........",
    ".kyyyyyk........",
    "kyyyyyyykkkkkkk.",
    "kwwwwwwwwwwwwwok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "koooooooooooooook"[:16],
    ".kkkkkkkkkkkkkk.",
    "................",
]
FOLDER_OPEN = [
    "................",
    "................",
    "..kkkkk.........",
    ".kyyyyyk........",
    "kyyyyyyykkkkkk..",
    "kywwwwwwwwwwwyk.",
    "kyw..........yk.",
    "kyw.kkkkkkkkkkkk",
    "kywkyyyyyyyyyyyk",
    "kyykyyyyyyyyyyk.",
    "kykyyyyyyyyyyyk.",
    "kykyyyyyyyyyyk..",
    "kkyyyyyyyyyyyk..",
    "kkooooooooooook.",
    ".kkkkkkkkkkkkk..",
    "................",
]


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / 'res' / 'icons')
    out.mkdir(parents=True, exist_ok=True)
    (out / 'product.ico').write_bytes(ico([image(product(32)), image(product(16))]))
    (out / 'folder_closed.ico').write_bytes(ico([image(FOLDER_CLOSED)]))
    (out / 'folder_open.ico').write_bytes(ico([image(FOLDER_OPEN)]))


if __name__ == '__main__':
    main()
