#!/usr/bin/env python3
"""Writes test pictures, so that the loaders are checked against files written
by other code than ours.

    make_picture.py OUT WIDTH HEIGHT [--alpha] [--rle] [--id TEXT] [--top-left]

writes the test pattern through Pillow, the format following OUT's extension
(png, bmp, tga; a BMP's rows top row first by hand). The pattern must match
patternPixel() in the tests; (x, y) counts y from the bottom row.

    make_picture.py OUT.bmp WIDTH HEIGHT --masks RED GREEN BLUE ALPHA
                    --expected EXPECTED.rgba [--header N] [--alpha-bitfields]

writes a 32-bit BMP with these channel masks byte by byte, and the pixels a
reader must find in it as raw RGBA bytes, bottom row first. Each field holds a
pattern of its own width; a reader scales a field of n bits to 8 bits as
round(value * 255 / (2^n - 1)), and a file without an alpha mask is opaque.
When Pillow reads the file too, its pixels must equal those; standard output
then says "pillow", otherwise "rule"."""
import argparse
import io
import struct
import sys

from PIL import Image


def pattern_pixel(x, y, alpha):
    return ((x * 37 + y * 11 + 5) % 256, (x * 13 + y * 71 + 100) % 256, (x * 7 + y * 3 + 200) % 256,
            128 + (x * 13 + y * 7) % 127 if alpha else 255)


def pattern(args):
    picture = Image.new("RGBA", (args.width, args.height))
    for row in range(args.height):  # Pillow counts rows from the top
        for x in range(args.width):
            picture.putpixel((x, row), pattern_pixel(x, args.height - 1 - row, args.alpha))
    options = {}
    if args.out.endswith(".tga"):  # an empty image ID is none
        options = {"rle": args.rle, "orientation": 1 if args.top_left else -1, "id_section": args.id.encode()}
    (picture if args.alpha else picture.convert("RGB")).save(args.out, **options)
    if args.top_left and args.out.endswith(".bmp"):  # Pillow writes bottom row first: the rows reversed
        with open(args.out, "r+b") as out:
            data = bytearray(out.read())
            offset, = struct.unpack_from("<I", data, 10)
            stride = (len(data) - offset) // args.height
            rows = [data[offset + r * stride:offset + (r + 1) * stride] for r in range(args.height)]
            data[offset:] = b"".join(reversed(rows))
            struct.pack_into("<i", data, 22, -args.height)  # under a negative height
            out.seek(0)
            out.write(data)


def masked(args):
    def top(mask):  # the largest value of the mask's field
        return (1 << bin(mask).count("1")) - 1

    pixels, expected = b"", b""
    for y in range(args.height):  # bottom row first
        for x in range(args.width):
            fields = [(x * 37 + y * 11 + c * 53 + 5) * 2654435761 % (top(m) + 1) if m else 0
                      for c, m in enumerate(args.masks)]
            shifts = [(m & -m).bit_length() - 1 if m else 0 for m in args.masks]
            pixels += struct.pack("<I", sum(f << s for f, s in zip(fields, shifts)))
            expected += bytes((f * 255 + top(m) // 2) // top(m) if m else 255 for f, m in zip(fields, args.masks))

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
        return print("rule")
    rows = picture.convert("RGBA").tobytes()
    stride = args.width * 4
    if b"".join(rows[i * stride:(i + 1) * stride] for i in reversed(range(args.height))) != expected:
        sys.exit("Pillow reads other pixels than the rule gives")
    print("pillow")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("width", type=int)
    parser.add_argument("height", type=int)
    for flag in ("--alpha", "--rle", "--top-left", "--alpha-bitfields"):
        parser.add_argument(flag, action="store_true")
    parser.add_argument("--id", default="")
    parser.add_argument("--masks", nargs=4, type=lambda text: int(text, 0))
    parser.add_argument("--expected")
    parser.add_argument("--header", type=int, default=40)
    args = parser.parse_args()
    (masked if args.masks else pattern)(args)


if __name__ == "__main__":
    main()
