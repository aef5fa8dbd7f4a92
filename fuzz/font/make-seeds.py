#!/usr/bin/python3
"""Writes the fuzz seeds: two tiny TrueType fonts built from scratch with
fontTools (the distribution's python3-fonttools), a few glyphs each: straight and curved
contours, a descender, a composite glyph and a little hinting code. Small
enough to mutate quickly and to keep in the repository. Run from anywhere;
the files land in corpus/ beside this script."""

import os

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables import ttProgram
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphCoordinates


def outline(contours, instructions=b""):
    """contours: lists of (x, y, on_curve) points, curves quadratic."""
    glyph, points = Glyph(), [point for contour in contours for point in contour]
    glyph.numberOfContours = len(contours)
    glyph.coordinates = GlyphCoordinates([(x, y) for x, y, _ in points])
    glyph.flags = bytearray(1 if on_curve else 0 for _, _, on_curve in points)
    glyph.endPtsOfContours = [sum(len(c) for c in contours[:i + 1]) - 1 for i in range(len(contours))]
    glyph.program = ttProgram.Program()
    glyph.program.fromBytecode(instructions)
    return glyph


def box(x0, y0, x1, y1):
    return [(x0, y0, True), (x0, y1, True), (x1, y1, True), (x1, y0, True)]


def write(name, glyphs, mapping, family):
    """glyphs: name to glyph, .notdef first; every glyph 600 units wide, 1000 to the em."""
    font = FontBuilder(1000, isTTF=True)
    font.updateHead(created=0, modified=0)  # the same bytes at every run
    font.setupGlyphOrder(list(glyphs))
    font.setupCharacterMap(mapping)
    font.setupGlyf(glyphs)
    font.setupHorizontalMetrics({glyph: (600, 0) for glyph in glyphs})
    font.setupHorizontalHeader(ascent=800, descent=-200)
    font.setupNameTable({"familyName": family, "styleName": "Regular"})
    font.setupPost()
    font.save(os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", name))


NOTDEF = outline([box(50, 0, 550, 700), box(100, 50, 500, 650)[::-1]])
SPACE = outline([])
LETTER_A = outline([[(0, 0, True), (250, 700, True), (350, 700, True), (600, 0, True),
                     (480, 0, True), (300, 560, True), (120, 0, True)]])
# A bowl of quadratic curves over a tail that drops below the baseline.
LETTER_G = outline([[(300, 500, True), (550, 500, False), (550, 250, True), (550, 0, False),
                     (300, 0, True), (50, 0, False), (50, 250, True), (50, 500, False)],
                    [(500, 500, True), (560, 500, True), (560, -150, True), (300, -250, False),
                     (100, -180, True), (120, -130, True), (300, -190, False), (500, -120, True)]],
                   instructions=bytes([0xB0, 0x01, 0x2F, 0xB0, 0x02, 0x2E]))  # push a point, MDAP; twice
BAR = outline([box(250, -200, 350, 800)])
pen = TTGlyphPen({"A": LETTER_A, "bar": BAR})
pen.addComponent("A", (1, 0, 0, 1, 0, 0))
pen.addComponent("bar", (1, 0, 0, 1, 0, 0))

if __name__ == "__main__":
    os.makedirs(os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus"), exist_ok=True)
    write("simple.ttf", {".notdef": NOTDEF, "space": SPACE, "A": LETTER_A, "g": LETTER_G},
          {0x20: "space", 0x41: "A", 0x67: "g"}, "Seed")
    write("composite.ttf", {".notdef": NOTDEF, "space": SPACE, "A": LETTER_A, "bar": BAR, "B": pen.glyph()},
          {0x20: "space", 0x41: "A", 0x7C: "bar", 0x42: "B", 0x0A: "bar"}, "Seed Composite")
