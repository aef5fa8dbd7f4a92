#!/usr/bin/env python3
"""Writes a 32-bit BMP with the given channel masks, byte by byte, and the
pixels a reader must find in it as raw RGBA bytes, bottom row first.

    make_masked_bmp.py OUT.bmp EXPECTED.rgba WIDTH HEIGHT RED GREEN BLUE ALPHA
                       [--header 40|108] [--alpha-bitfields]

Each field holds a pattern of its own width; a reader scales a field of n bits
to 8 bits as round(value * 255 / (2^n - 1)), and a file without an alpha mask
is opaque. When Pillow reads the file too, its pixels must equal those;
standard output then says "pillow", otherwise "rule"."""
import argparse
import io
import struct
import sys

from PIL import Image


def field_width(mask):
    return bin(mask).count("1")


def shift_of(mask):
    return (mask & -mask).bit_length() - 1 if mask else 0


def pattern_field(x, y, channel, mask):
    top = (1 << field_width(mask)) - 1
    return (x * 37 + y * 11 + channel * 53 + 5) * 2654435761 % (top + 1) if mask else 0


def scaled(value, mask):
    top = (1 << field_width(mask)) - 1
    return (value * 255 + top // 2) // top if mask else 255


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("expected")
    parser.add_argument("width", type=int)
    parser.add_argument("height", type=int)
    parser.add_argument("masks", nargs=4, type=lambda text: int(text, 0))
    parser.add_argument("--header", type=int, default=40)
    parser.add_argument("--alpha-bitfields", action="store_true")
    args = parser.parse_args()

    pixels, expected = b"", b""
    for y in range(args.height):  # bottom row first
        for x in range(args.width):
            fields = [pattern_field(x, y, c, m) for c, m in enumerate(args.masks)]
            pixels += struct.pack("<I", sum(f << shift_of(m) for f, m in zip(fields, args.masks)))
            expected += bytes(scaled(f, m) for f, m in zip(fields, args.masks))

    compression = 6 if args.alpha_bitfields else 3
    info = struct.pack("<IiiHHIIiiII", args.header, args.width, args.height, 1, 32, compression, len(pixels),
                       2835, 2835, 0, 0)
    masks = struct.pack("<IIII", *args.masks)
    if args.header == 40:
        info += masks if args.alpha_bitfields else masks[:12]
    else:
        info += masks + bytes(args.header - 56)
    offset = 14 + len(info)
    data = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + pixels
    with open(args.out, "wb") as out:
        out.write(data)
    with open(args.expected, "wb") as out:
        out.write(expected)

    try:
        picture = Image.open(io.BytesIO(data))
        picture.load()
    except (OSError, ValueError):
        print("rule")
        return 0
    rows = picture.convert("RGBA").tobytes()
    stride = args.width * 4
    bottom_first = b"".join(rows[i * stride:(i + 1) * stride] for i in reversed(range(args.height)))
    if bottom_first != expected:
        sys.stderr.write("Pillow reads other pixels than the rule gives\n")
        return 1
    print("pillow")
    return 0


if __name__ == "__main__":
    sys.exit(main())
