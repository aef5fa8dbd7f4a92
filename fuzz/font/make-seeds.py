#!/usr/bin/env python3
"""Writes the fuzz seeds: two tiny TrueType fonts built from scratch (a few
glyphs each: straight and curved contours, a descender, a composite glyph and
a little hinting code), small enough to mutate quickly and to keep in the
repository. Run from anywhere; the files land in corpus/ beside this script."""

import os
import struct


def pack(layout, *values):
    return struct.pack(">" + layout, *values)


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def checksum(data):
    return sum(struct.unpack(">%dI" % (len(padded(data)) // 4), padded(data))) & 0xFFFFFFFF


def search_fields(count, size):
    """searchRange, entrySelector and rangeShift of a binary-searched table of `count` entries of `size` bytes."""
    power = 1 << (count.bit_length() - 1)
    return size * power, power.bit_length() - 1, size * (count - power)


def simple_glyph(contours, instructions=b""):
    """contours: lists of (x, y, on_curve) points; every coordinate a long delta."""
    points = [p for contour in contours for p in contour]
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    ends = [sum(len(c) for c in contours[:i + 1]) - 1 for i in range(len(contours))]
    return (pack("hhhhh", len(contours), min(xs), min(ys), max(xs), max(ys))
            + b"".join(pack("H", end) for end in ends) + pack("H", len(instructions)) + instructions
            + bytes(1 if on else 0 for _, _, on in points)
            + b"".join(pack("h", b - a) for values in (xs, ys) for a, b in zip([0] + values, values)))


def composite_glyph(box, components):
    """components: (glyph index, dx, dy); word arguments as x and y offsets, all but the last saying more follow."""
    return pack("hhhhh", -1, *box) + b"".join(
        pack("HHhh", 0x0003 | (0x0020 if i + 1 < len(components) else 0), index, dx, dy)
        for i, (index, dx, dy) in enumerate(components))


def cmap_table(mapping):
    """A format 4 subtable of one segment per code, for Windows Unicode."""
    segments = sorted(mapping.items()) + [(0xFFFF, 0)]
    count = len(segments)
    body = b"".join(pack("H", code) for code, _ in segments) + pack("H", 0)  # end codes, padding
    body += b"".join(pack("H", code) for code, _ in segments)  # start codes
    body += b"".join(pack("H", (glyph - code) % 0x10000 if code != 0xFFFF else 1) for code, glyph in segments)
    body += bytes(2 * count)  # range offsets
    return pack("HHHHI", 0, 1, 3, 1, 12) + pack("HHHH", 4, 14 + len(body), 0, 2 * count) + pack(
        "HHH", *search_fields(count, 2)) + body


def font(glyphs, mapping, family):
    """glyphs: (advance width, glyph data) per glyph, glyph 0 first."""
    offsets = [0]
    for _, data in glyphs:
        offsets.append(offsets[-1] + len(padded(data)))
    count, widest = len(glyphs), max(advance for advance, _ in glyphs)
    name = family.encode("utf-16-be")
    tables = {
        b"head": pack("IIIIHHqqhhhhHHhhh", 0x00010000, 0x00010000, 0, 0x5F0F3CF5, 0x000B, 1000, 0, 0, 0, -250,
                      widest, 900, 0, 8, 2, 1, 0),
        b"hhea": pack("IhhhHhhhhhhhhhhhH", 0x00010000, 800, -200, 0, widest, 0, 0, widest, 1, 0, 0, 0, 0, 0, 0, 0,
                      count),
        b"maxp": pack("IHHHHHHHHHHHHHH", 0x00010000, count, 64, 4, 64, 4, 2, 0, 4, 0, 0, 16, 32, 2, 1),
        b"hmtx": b"".join(pack("Hh", advance, 0) for advance, _ in glyphs),
        b"loca": b"".join(pack("I", offset) for offset in offsets),
        b"glyf": b"".join(padded(data) for _, data in glyphs),
        b"cmap": cmap_table(mapping),
        b"name": pack("HHH", 0, 1, 18) + pack("HHHHHH", 3, 1, 0x409, 1, len(name), 0) + name,
        b"post": pack("IihhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0),
    }
    directory, body = pack("IHHHH", 0x00010000, len(tables), *search_fields(len(tables), 16)), b""
    for tag in sorted(tables):
        directory += pack("4sIII", tag, checksum(tables[tag]), 12 + 16 * len(tables) + len(body), len(tables[tag]))
        body += padded(tables[tag])
    return directory + body


def box(x0, y0, x1, y1):
    return [(x0, y0, True), (x0, y1, True), (x1, y1, True), (x1, y0, True)]


NOTDEF = simple_glyph([box(50, 0, 550, 700), box(100, 50, 500, 650)[::-1]])
LETTER_A = simple_glyph([[(0, 0, True), (250, 700, True), (350, 700, True), (600, 0, True),
                          (480, 0, True), (300, 560, True), (120, 0, True)]])
# A bowl of quadratic curves over a tail that drops below the baseline.
LETTER_G = simple_glyph([[(300, 500, True), (550, 500, False), (550, 250, True), (550, 0, False),
                          (300, 0, True), (50, 0, False), (50, 250, True), (50, 500, False)],
                         [(500, 500, True), (560, 500, True), (560, -150, True), (300, -250, False),
                          (100, -180, True), (120, -130, True), (300, -190, False), (500, -120, True)]],
                        instructions=bytes([0xB0, 0x01, 0x2F, 0xB0, 0x02, 0x2E]))  # push a point, MDAP; twice
BAR = simple_glyph([box(250, -200, 350, 800)])

SIMPLE = font([(600, NOTDEF), (600, b""), (600, LETTER_A), (600, LETTER_G)],
              {0x20: 1, 0x41: 2, 0x67: 3}, "Seed")
COMPOSITE = font([(600, NOTDEF), (600, b""), (600, LETTER_A), (600, BAR),
                  (600, composite_glyph((0, -200, 600, 800), [(2, 0, 0), (3, 0, 0)]))],
                 {0x20: 1, 0x41: 2, 0x7C: 3, 0x42: 4, 0x0A: 3}, "Seed Composite")

if __name__ == "__main__":
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, data in (("simple.ttf", SIMPLE), ("composite.ttf", COMPOSITE)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
