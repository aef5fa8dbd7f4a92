#!/usr/bin/python3
"""Writes the fuzz seeds: a few short recordings in the layout RecordingWriter
writes, byte for byte (varints of seven bits a byte, small first; signed numbers
zigzagged; a step's entry told by its lowest bit), so that fuzzing starts from
every kind of entry instead of from nothing. Run from anywhere; the files land
in corpus/ beside this script."""

import os

GLIBC_GENERATOR = (1804289383, 846930886, 1681692777, 1714636915)
KINDS = {name: number for number, name in enumerate(
    "step key mouse_move mouse_button focus focus_at_switch clock seed quit terminate end".split())}


def varint(value):
    out = bytearray()
    while value >= 0x80:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    out.append(value)
    return bytes(out)


def zigzag(value):
    return ((value << 1) ^ (value >> 63)) & 0xFFFFFFFFFFFFFFFF


def text(value):
    return varint(len(value)) + value.encode()


def header(seeds, width=800, height=600, version=1):
    return (b"LUMR" + varint(version) + text("vellorin") + text("linux") +
            b"".join(varint(output) for output in GLIBC_GENERATOR) + text("lum 1.0 (0000000)") +
            varint(width) + varint(height) + varint(len(seeds)) + b"".join(varint(seed) for seed in seeds))


def step(lateness, frame_hash=None, microseconds=False):
    drawn = frame_hash is not None
    head = varint((zigzag(lateness) << 3) | (4 if microseconds else 0) | (2 if drawn else 0) | 1)
    return head + (frame_hash.to_bytes(4, "little") if drawn else b"")


def entry(kind, *fields):
    """fields: the entry's numbers in the order they are written, signed ones zigzagged."""
    return varint(KINDS[kind] << 1) + b"".join(varint(field) for field in fields)


RUN = (header([1765000000, 42]) + entry("clock", zigzag(5000000)) + entry("clock", zigzag(16666667)) +
       step(0, 0x9E3779B1) + entry("key", 97, 1) + step(120, 0x12345678, microseconds=True) + entry("key", 97, 0) +
       entry("mouse_move", zigzag(400), zigzag(-3)) + entry("mouse_button", 1, 1, zigzag(400), zigzag(300)) +
       step(-2000) + entry("focus", 0) + entry("focus_at_switch", 1) + entry("seed", 4000000000) +
       step(33000000, 0xFFFFFFFF) + entry("quit") + entry("end"))

SEEDS = {
    "run.rec": RUN,
    "empty.rec": header([]) + entry("end"),
    "terminated.rec": (header([7]) + entry("clock", zigzag(-(1 << 62))) + step(1 << 40, 1) +
                       entry("terminate") + entry("end")),
    # A program that ended abruptly, in the middle of its last step's hash.
    "cut-off.rec": RUN[:-4],
}

if __name__ == "__main__":
    corpus = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(corpus, exist_ok=True)
    for name, content in SEEDS.items():
        with open(os.path.join(corpus, name), "wb") as seed:
            seed.write(content)
