#!/usr/bin/env python3
"""Draws the hand pointer and writes it as a Windows cursor file (.cur).

    make-hand-cursor.py OUT.cur                 the shipped cursor: 32 x 32, 32-bit with alpha
    make-hand-cursor.py OUT.cur --corpus DIR    also writes the same hand in every depth the
                                                reader takes, for the fuzz corpus
"""
import argparse
import os
import struct

# '#' outline, '.' fill, anything else transparent. The fingertip is the hotspot.
HAND = [
    "     ##",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..###",
    "    #..#..###",
    "    #..#..#..##",
    "    #..#..#..#.#",
    " ## #..#..#..#..#",
    "#..##..........#",
    "#...#..........#",
    " #.............#",
    "  #............#",
    "  #...........#",
    "   #..........#",
    "   #..........#",
    "    #........#",
    "    #........#",
    "    #........#",
    "    ##########",
]
SIZE = 32
HOTSPOT = (5, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


def pixels():
    """Rows top first of (r, g, b) or None for transparent."""
    rows = []
    for y in range(SIZE):
        line = HAND[y] if y < len(HAND) else ""
        row = []
        for x in range(SIZE):
            c = line[x] if x < len(line) else " "
            row.append(BLACK if c == "#" else WHITE if c == "." else None)
        rows.append(row)
    return rows


def stride(bits):
    return (SIZE * bits + 31) // 32 * 4


def pack_bits(values, bits):
    out = bytearray(stride(bits))
    for x, v in enumerate(values):
        bit = x * bits
        out[bit // 8] |= v << (8 - bits - bit % 8)
    return bytes(out)


def image_bytes(bits):
    rows = pixels()
    palette = [BLACK, WHITE] if bits <= 8 else []
    colour, mask = b"", b""
    for row in reversed(rows):  # bottom-up
        mask += pack_bits([1 if p is None else 0 for p in row], 1)
        if bits == 32:
            colour += b"".join(bytes((0, 0, 0, 0)) if p is None else bytes((p[2], p[1], p[0], 255)) for p in row)
        elif bits == 24:
            line = b"".join(bytes((0, 0, 0)) if p is None else bytes((p[2], p[1], p[0])) for p in row)
            colour += line + bytes(stride(24) - len(line))
        else:
            colour += pack_bits([0 if p is None else palette.index(p) for p in row], bits)
    palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, bits, 0, len(colour) + len(mask), 0, 0,
                         len(palette), 0)
    return header + palette_bytes + colour + mask


def cursor_file(bits):
    image = image_bytes(bits)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out")
    parser.add_argument("--corpus")
    args = parser.parse_args()
    with open(args.out, "wb") as f:
        f.write(cursor_file(32))
    if args.corpus:
        os.makedirs(args.corpus, exist_ok=True)
        for bits in (1, 4, 8, 24, 32):
            with open(os.path.join(args.corpus, f"hand-{bits}bit.cur"), "wb") as f:
                f.write(cursor_file(bits))


if __name__ == "__main__":
    main()
