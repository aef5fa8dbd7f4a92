#!/usr/bin/env python3
"""Writes the fuzz seeds: two tiny TrueType fonts built from scratch (a few
glyphs each: straight and curved contours, a descender, a composite glyph and
a little hinting code), small enough to mutate quickly and to keep in the
repository. Run from anywhere; the files land in corpus/ beside this script."""

import os
import struct

UNITS_PER_EM = 1000


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def simple_glyph(contours, instructions=b""):
    """contours: lists of (x, y, on_curve) points."""
    points = [p for contour in contours for p in contour]
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    data = struct.pack(">hhhhh", len(contours), min(xs), min(ys), max(xs), max(ys))
    end = -1
    for contour in contours:
        end += len(contour)
        data += struct.pack(">H", end)
    data += struct.pack(">H", len(instructions)) + instructions
    data += bytes(1 if on else 0 for _, _, on in points)  # flags: long coordinates
    previous = 0
    for x in xs:
        data += struct.pack(">h", x - previous)
        previous = x
    previous = 0
    for y in ys:
        data += struct.pack(">h", y - previous)
        previous = y
    return data


def composite_glyph(box, components):
    """components: (glyph index, dx, dy); the last one ends the list."""
    data = struct.pack(">hhhhh", -1, *box)
    for i, (index, dx, dy) in enumerate(components):
        flags = 0x0001 | 0x0002  # word arguments, arguments are x and y offsets
        if i + 1 < len(components):
            flags |= 0x0020  # more components
        data += struct.pack(">HHhh", flags, index, dx, dy)
    return data


def cmap_table(mapping):
    segments = sorted(mapping.items()) + [(0xFFFF, 0)]
    count = len(segments)
    power = 1
    while power * 2 <= count:
        power *= 2
    search_range = 2 * power
    body = b"".join(struct.pack(">H", code) for code, _ in segments)  # end codes
    body += struct.pack(">H", 0)
    body += b"".join(struct.pack(">H", code) for code, _ in segments)  # start codes
    body += b"".join(struct.pack(">H", (glyph - code) % 0x10000 if code != 0xFFFF else 1)
                     for code, glyph in segments)
    body += b"".join(struct.pack(">H", 0) for _ in segments)  # range offsets
    header = struct.pack(">HHHHHHH", 4, 14 + len(body), 0, 2 * count, search_range,
                         power.bit_length() - 1, 2 * count - search_range)
    subtable = header + body
    return struct.pack(">HHHHI", 0, 1, 3, 1, 12) + subtable


def name_table(family):
    text = family.encode("utf-16-be")
    return struct.pack(">HHH", 0, 1, 18) + struct.pack(">HHHHHH", 3, 1, 0x409, 1, len(text), 0) + text


def font(glyphs, mapping, family):
    """glyphs: (advance width, glyph data) per glyph, glyph 0 first."""
    glyf = b""
    loca = []
    for _, data in glyphs:
        loca.append(len(glyf))
        glyf += data + b"\0" * (-len(data) % 4)
    loca.append(len(glyf))
    count = len(glyphs)
    widest = max(advance for advance, _ in glyphs)
    tables = {
        b"head": struct.pack(">IIIIHHqqhhhhHHhhh", 0x00010000, 0x00010000, 0, 0x5F0F3CF5, 0x000B,
                             UNITS_PER_EM, 0, 0, 0, -250, widest, 900, 0, 8, 2, 1, 0),
        b"hhea": struct.pack(">IhhhHhhhhhhhhhhhH", 0x00010000, 800, -200, 0, widest, 0, 0, widest,
                             1, 0, 0, 0, 0, 0, 0, 0, count),
        b"maxp": struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, count, 64, 4, 64, 4, 2, 0, 4, 0, 0, 16, 32, 2, 1),
        b"hmtx": b"".join(struct.pack(">Hh", advance, 0) for advance, _ in glyphs),
        b"loca": b"".join(struct.pack(">I", offset) for offset in loca),
        b"glyf": glyf,
        b"cmap": cmap_table(mapping),
        b"name": name_table(family),
        b"post": struct.pack(">IihhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0),
    }
    tags = sorted(tables)
    power = 1
    while power * 2 <= len(tags):
        power *= 2
    directory = struct.pack(">IHHHH", 0x00010000, len(tags), 16 * power, power.bit_length() - 1,
                            16 * (len(tags) - power))
    offset = 12 + 16 * len(tags)
    body = b""
    for tag in tags:
        data = tables[tag]
        directory += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
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
