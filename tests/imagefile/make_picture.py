#!/usr/bin/env python3
"""Writes the test pattern as a picture file through Pillow, so that the loaders
are checked against files written by a library other than ours.

    make_picture.py OUT WIDTH HEIGHT [--alpha] [--rle] [--id TEXT] [--top-left]

The format follows OUT's extension (png, bmp, tga). The pattern must match
patternPixel() in the tests; (x, y) counts y from the bottom row.
"""
import argparse

from PIL import Image


def pattern_pixel(x, y, alpha):
    red = (x * 37 + y * 11 + 5) % 256
    green = (x * 13 + y * 71 + 100) % 256
    blue = (x * 7 + y * 3 + 200) % 256
    opacity = 128 + (x * 13 + y * 7) % 127 if alpha else 255
    return red, green, blue, opacity


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("width", type=int)
    parser.add_argument("height", type=int)
    parser.add_argument("--alpha", action="store_true")
    parser.add_argument("--rle", action="store_true")
    parser.add_argument("--id", default="")
    parser.add_argument("--top-left", action="store_true")
    args = parser.parse_args()

    picture = Image.new("RGBA", (args.width, args.height))
    for row in range(args.height):  # Pillow counts rows from the top
        for x in range(args.width):
            picture.putpixel((x, row), pattern_pixel(x, args.height - 1 - row, args.alpha))
    if not args.alpha:
        picture = picture.convert("RGB")

    options = {}
    if args.out.endswith(".tga"):
        options = {"rle": args.rle, "orientation": 1 if args.top_left else -1}
        if args.id:
            options["id_section"] = args.id.encode()
    picture.save(args.out, **options)


if __name__ == "__main__":
    main()
