#!/usr/bin/env python3
"""Composes and renders the game's three pieces of music into MP3 files.

  MenuMusic.mp3   the main menu: calm, A minor, 16 bars that loop without a seam
  GameMusic.mp3   the one-player match: E minor, 114 bars (182.4 s), rising as
                  the countdown runs out and the food comes faster
  GameMusic2.mp3  the match against the computer: G major, bouncy, plays once

Every note is synthesised by sox (square, triangle, sawtooth and plucked-string
waves, noise for the drums) and placed on a sample-exact timeline here; lame
encodes the result as mono average-bit-rate MP3, which records the encoder's
delay and padding so that a decoder plays exactly the samples rendered. That is
what lets the menu music loop seamlessly: its length is a whole number of bars
and the notes ringing past its end are folded back onto its beginning.

Usage: make-music.py OUTPUT_DIR   (needs sox and lame)
"""

import array
import os
import subprocess
import sys
import tempfile
import wave

RATE = 22050  # the rate of the files; plucked strings are synthesised at twice it
SOX = ["sox", "-V1", "-R", "-D"]  # quiet, repeatable (seeded noise), no dither

# ---------------------------------------------------------------------------
# Pitches and chords

NOTE_STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def midi(name):
    """MIDI number of a note name such as "E5", "F#4" or "Bb3"."""
    step = NOTE_STEPS[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        step += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + step


def frequency(number):
    return 440.0 * 2.0 ** ((number - 69) / 12.0)


def chord_tones(symbol, octave):
    """Root, third, fifth of a chord symbol ("Em", "C", "B"), from `octave` up."""
    minor = symbol.endswith("m")
    root = midi(symbol.rstrip("m") + str(octave))
    return [root, root + (3 if minor else 4), root + 7]


def phrase(text):
    """A melody line: "E5/2 r/2 G5/4" is E5 for two sixteenths, a rest, G5 for four."""
    notes = []
    for token in text.split():
        name, length = token.split("/")
        notes.append((None if name == "r" else midi(name), int(length)))
    return notes


# ---------------------------------------------------------------------------
# Instruments: sox effect chains for one note of `seconds` sounding time

def tone_envelope(attack, sound, release):
    return ["fade", "q", f"{attack}", f"{sound + release:.5f}", f"{release}"]


def lead(f, sound):
    release = 0.08
    n = sound + release
    return (["synth", f"{n:.5f}", "square", f"{f:.3f}", "0", "0", "25",
             "synth", f"{n:.5f}", "square", "mix", f"{f * 1.004:.3f}", "0", "0", "25",
             "vol", "0.35", "lowpass", "3000"] + tone_envelope(0.004, sound, release), 1)


def flute(f, sound):
    release = 0.18
    n = sound + release
    return (["synth", f"{n:.5f}", "triangle", f"{f:.3f}",
             "synth", f"{n:.5f}", "sine", "mix", f"{f * 2:.3f}",
             "vol", "0.5", "lowpass", "2400", "tremolo", "5", "12"] + tone_envelope(0.03, sound, release), 1)


def pluck(f, sound):
    n = sound + 0.6
    return (["synth", f"{n:.5f}", "pluck", f"{f:.3f}", "0", "0", "60",
             "vol", "0.6", "lowpass", "3500", "fade", "q", "0.002", f"{n:.5f}", "0.3"], 2)


def bass(f, sound):
    release = 0.05
    n = sound + release
    return (["synth", f"{n:.5f}", "triangle", f"{f:.3f}",
             "synth", f"{n:.5f}", "square", "mix", f"{f:.3f}", "0", "0", "12",
             "vol", "0.5", "lowpass", "900"] + tone_envelope(0.005, sound, release), 1)


def pad(f, sound):
    release = 0.35
    n = sound + release
    return (["synth", f"{n:.5f}", "sawtooth", f"{f:.3f}",
             "synth", f"{n:.5f}", "sawtooth", "mix", f"{f * 1.006:.3f}",
             "vol", "0.4", "lowpass", "1100", "lowpass", "1100"] + tone_envelope(0.25, sound, release), 1)


def kick(_f, _sound):
    return (["synth", "0.24", "sine", "160/42", "vol", "0.9",
             "fade", "q", "0.001", "0.24", "0.2"], 1)


def snare(_f, _sound):
    return (["synth", "0.18", "noise", "synth", "0.18", "sine", "mix", "185",
             "vol", "0.5", "highpass", "250", "lowpass", "7500",
             "fade", "q", "0.001", "0.18", "0.17"], 1)


def hat(_f, _sound):
    return (["synth", "0.05", "noise", "vol", "0.5", "highpass", "7000",
             "fade", "q", "0.001", "0.05", "0.045"], 1)


def open_hat(_f, _sound):
    return (["synth", "0.22", "noise", "vol", "0.5", "highpass", "6000",
             "fade", "q", "0.001", "0.22", "0.2"], 1)


def crash(_f, _sound):
    return (["synth", "1.6", "noise", "vol", "0.5", "highpass", "3500", "lowpass", "9000",
             "fade", "q", "0.001", "1.6", "1.55"], 1)


INSTRUMENTS = {
    "lead": lead, "flute": flute, "pluck": pluck, "bass": bass, "pad": pad,
    "kick": kick, "snare": snare, "hat": hat, "openhat": open_hat, "crash": crash,
}


class NoteCache:
    """Each distinct note is synthesised once by sox and kept as float samples."""

    def __init__(self, folder):
        self.folder = folder
        self.notes = {}

    def samples(self, instrument, number, sound_samples):
        key = (instrument, number, sound_samples)
        if key not in self.notes:
            self.notes[key] = self.render(instrument, number, sound_samples)
        return self.notes[key]

    def render(self, instrument, number, sound_samples):
        f = frequency(number) if number is not None else 0.0
        effects, oversampling = INSTRUMENTS[instrument](f, sound_samples / RATE)
        path = os.path.join(self.folder, f"note{len(self.notes)}.wav")
        subprocess.run(SOX + ["-r", str(RATE * oversampling), "-n", "-r", str(RATE), "-c", "1", "-b", "16",
                              path] + effects, check=True)
        with wave.open(path, "rb") as file:
            data = array.array("h", file.readframes(file.getnframes()))
        if sys.byteorder == "big":
            data.byteswap()
        os.remove(path)
        return [value / 32768.0 for value in data]


# ---------------------------------------------------------------------------
# Songs: sections of bars, each bar a chord, with parts chosen per section

class Section:
    def __init__(self, chords, melody=None, melody_instrument="lead", melody_shift=0, harmony=False,
                 arp=True, pad=False, drums="full", bass="drive", transpose=0, fill=False):
        self.chords = chords
        self.melody = melody or []
        self.melody_instrument = melody_instrument
        self.melody_shift = melody_shift
        self.harmony = harmony
        self.arp = arp
        self.pad = pad
        self.drums = drums
        self.bass = bass
        self.transpose = transpose
        self.fill = fill  # a snare run in the last bar, leading into the next section


# Sixteenth-note patterns within a bar: (step, length, chord-tone index).
BASS_PATTERNS = {
    "drive": [(0, 2, 0), (2, 2, 0), (4, 2, 12), (6, 2, 0), (8, 2, 0), (10, 2, 7), (12, 2, 0), (14, 2, 12)],
    "walk": [(0, 6, 0), (6, 2, 0), (8, 4, 7), (12, 4, 12)],
    "bounce": [(0, 3, 0), (3, 1, 0), (4, 2, 12), (6, 2, 7), (8, 3, 0), (11, 1, 0), (12, 2, 12), (14, 2, 7)],
    "hold": [(0, 16, 0)],
    "none": [],
}
ARP_INDEXES = [0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 4, 3, 2, 1, 2, 3]  # up and down the chord
DRUM_PATTERNS = {
    "full": {"kick": [0, 8, 10], "snare": [4, 12], "hat": [0, 2, 4, 6, 8, 10, 12, 14], "openhat": [14]},
    "busy": {"kick": [0, 3, 8, 10], "snare": [4, 12], "hat": list(range(16)), "openhat": [6, 14]},
    "soft": {"kick": [0, 10], "hat": [2, 6, 10, 14]},
    "half": {"kick": [0], "snare": [8], "hat": [0, 4, 8, 12]},
    "bouncy": {"kick": [0, 6, 8], "snare": [4, 12], "hat": [2, 6, 10, 14], "openhat": [14]},
    "none": {},
}
MAJOR_SCALE = [0, 2, 4, 5, 7, 9, 11]
LEVELS = {"lead": 0.42, "flute": 0.5, "pluck": 0.2, "bass": 0.55, "pad": 0.11, "harmony": 0.22,
          "kick": 0.8, "snare": 0.42, "hat": 0.16, "openhat": 0.13, "crash": 0.22}


class Song:
    def __init__(self, tempo, key, sections, loop=False, ending=None, octave=3):
        # A sixteenth must be a whole number of samples for the bars to line up.
        assert (RATE * 15) % tempo == 0, "tempo must divide the sample rate"
        self.step = RATE * 15 // tempo
        self.key = NOTE_STEPS[key]  # the major scale whose notes the harmony uses
        self.sections = sections
        self.loop = loop
        self.ending = ending  # a chord held after the last bar
        self.octave = octave
        self.events = []  # (start sample, instrument, midi number, sounding samples, level)

    def add(self, step, instrument, number, steps, level=None, gate=0.9):
        sound = max(1, int(steps * self.step * gate))
        self.events.append((step * self.step, instrument, number, sound,
                            LEVELS[instrument] if level is None else level))

    def compose(self):
        bar = 0
        for section in self.sections:
            self.compose_section(section, bar)
            bar += len(section.chords)
        self.bars = bar
        if self.ending:
            self.compose_ending(bar)
            self.bars += 1
        return self

    def compose_section(self, section, first_bar):
        for index, symbol in enumerate(section.chords):
            start = (first_bar + index) * 16
            tones = [n + section.transpose for n in chord_tones(symbol, self.octave)]
            for step, length, degree in BASS_PATTERNS[section.bass]:
                self.add(start + step, "bass", self.bass_note(tones, degree), length)
            if section.arp:
                ladder = [tones[0] + 12, tones[1] + 12, tones[2] + 12, tones[0] + 24, tones[1] + 24]
                for step, rung in enumerate(ARP_INDEXES):
                    self.add(start + step, "pluck", ladder[rung], 1, gate=1.0)
            if section.pad:
                for tone in tones:
                    self.add(start, "pad", tone + 12, 16, gate=1.0)
            self.compose_drums(section, start, first=index == 0, last=index == len(section.chords) - 1)
        self.compose_melody(section, first_bar * 16)

    def bass_note(self, tones, degree):
        root = tones[0] - 12
        return root + degree

    def compose_drums(self, section, start, first, last):
        pattern = DRUM_PATTERNS[section.drums]
        if last and section.fill:
            pattern = dict(pattern, snare=[4, 8, 10, 12, 13, 14, 15])
        for instrument, steps in pattern.items():
            for step in steps:
                self.add(start + step, instrument, None, 1)
        if first and section.drums in ("full", "busy", "bouncy"):
            self.add(start, "crash", None, 1)

    def compose_melody(self, section, start):
        step = start
        while section.melody and step < start + 16 * len(section.chords):
            for number, length in section.melody:
                if number is not None:
                    note = number + section.melody_shift + section.transpose
                    self.add(step, section.melody_instrument, note, length)
                    if section.harmony:
                        below = self.third_below(note - section.transpose) + section.transpose
                        self.add(step, "pluck", below, length, LEVELS["harmony"])
                step += length

    def third_below(self, note):
        """The note two steps down the song's scale; a major third below a
        note outside the scale (the leading note of a minor key)."""
        degree = (note - self.key) % 12
        if degree not in MAJOR_SCALE:
            return note - 4
        index = MAJOR_SCALE.index(degree)
        return note - (degree - MAJOR_SCALE[index - 2]) % 12

    def compose_ending(self, bar):
        start = bar * 16
        tones = [n + self.sections[-1].transpose for n in chord_tones(self.ending, self.octave)]
        self.add(start, "crash", None, 1)
        self.add(start, "kick", None, 1)
        self.add(start, "bass", tones[0] - 12, 16)
        for tone in tones:
            self.add(start, "pad", tone + 12, 16)
            self.add(start, "pluck", tone + 24, 16)
        self.add(start, "lead", tones[0] + 24, 12)

    def length(self):
        return self.bars * 16 * self.step

    def render(self, cache):
        total = self.length()
        tail = 0 if self.loop else RATE * 2
        mix = array.array("f", bytes(4 * (total + tail)))
        for start, instrument, number, sound, level in self.events:
            samples = cache.samples(instrument, number, sound)
            position = start
            for value in samples:
                if position >= total + tail:
                    if not self.loop:
                        break
                    position -= total  # a loop's ringing tail sounds at its start
                mix[position] += value * level
                position += 1
        return mix


# ---------------------------------------------------------------------------
# The three pieces

def menu_music():
    first = phrase("A4/4 C5/2 E5/2 D5/4 C5/4  C5/6 A4/2 F4/4 A4/4  G4/4 C5/2 E5/2 G5/4 E5/4  D5/8 B4/4 G4/4"
                   "  A4/4 C5/2 E5/2 A5/6 G5/2  F5/4 E5/2 D5/2 C5/8  D5/4 B4/2 G4/2 B4/4 D5/4  E5/8 G#4/4 B4/4")
    second = phrase("A4/4 C5/2 E5/2 D5/4 C5/4  C5/6 A4/2 F4/4 A4/4  G4/4 C5/2 E5/2 G5/4 E5/4  D5/8 B4/4 G4/4"
                    "  A4/4 C5/2 E5/2 A5/6 G5/2  F5/4 E5/2 D5/2 C5/8  D5/4 B4/2 G4/2 B4/4 D5/4  E5/4 D5/4 C5/4 B4/4")
    chords = ["Am", "F", "C", "G", "Am", "F", "G", "E"]
    return Song(105, "C", [
        Section(chords, first, "flute", pad=True, drums="soft", bass="walk"),
        Section(chords, second, "flute", harmony=True, pad=True, drums="full", bass="walk"),
    ], loop=True)


def game_music():
    a = phrase("E5/2 r/2 E5/2 G5/2 B5/4 A5/2 G5/2  E5/4 G5/2 E5/2 C5/4 r/4  D5/2 r/2 D5/2 G5/2 B5/4 D6/4"
               "  A5/6 F#5/2 D5/4 r/4  E5/2 r/2 E5/2 G5/2 B5/4 A5/2 G5/2  C6/4 B5/2 A5/2 G5/4 E5/4"
               "  D5/2 G5/2 B5/2 D6/2 B5/4 G5/4  F#5/4 E5/2 F#5/2 D5/8")
    b = phrase("C6/4 B5/2 A5/2 E5/8  G5/4 F#5/2 E5/2 B4/8  C5/2 E5/2 G5/2 C6/2 B5/4 G5/4  F#5/4 D#5/4 B4/4 D#5/4"
               "  A5/4 C6/2 B5/2 A5/4 E5/4  G5/4 B5/2 A5/2 G5/4 E5/4  E5/2 G5/2 C6/4 B5/2 A5/2 G5/4  F#5/8 D#5/4 B4/4")
    verse = ["Em", "C", "G", "D"] * 4
    chorus = ["Am", "Em", "C", "B"] * 4
    bridge = ["C", "D", "Em", "Em", "C", "D", "B", "B"]
    return Song(150, "G", [
        Section(["Em", "C", "G", "D"], arp=False, drums="half", bass="walk", fill=True),
        Section(verse, a, "lead"),
        Section(chorus, b, "lead", fill=True),
        Section(verse, a, "lead", harmony=True, drums="busy"),
        Section(bridge, arp=True, pad=True, drums="half", bass="hold", fill=True),
        Section(chorus, b, "lead", harmony=True, drums="busy", fill=True),
        Section(verse, a, "lead", harmony=True, pad=True, drums="busy", transpose=2),
        Section(chorus, b, "lead", harmony=True, pad=True, drums="busy", transpose=2, fill=True),
        Section(["Em", "C", "D", "B", "Em", "Em"], pad=True, drums="half", bass="walk", transpose=2),
    ], ending="Em")


def game_music_two():
    a = phrase("G4/3 B4/1 D5/2 G5/2 F#5/2 D5/2 B4/4  A4/3 D5/1 F#5/4 E5/2 D5/2 A4/4  B4/3 E5/1 G5/4 F#5/2 E5/2 B4/4"
               "  C5/2 E5/2 G5/4 E5/4 r/4  G4/3 B4/1 D5/2 G5/2 A5/2 B5/2 G5/4  A5/4 F#5/2 D5/2 A5/4 F#5/4"
               "  G5/2 F#5/2 E5/2 D5/2 E5/4 B4/4  C5/2 D5/2 E5/4 D5/8")
    b = phrase("E5/4 E5/2 F#5/2 G5/4 E5/4  F#5/4 F#5/2 G5/2 A5/4 F#5/4  G5/2 B5/2 A5/2 G5/2 D5/4 B4/4  E5/6 D5/2 B4/8"
               "  C5/2 E5/2 G5/2 C6/2 B5/4 A5/4  A5/2 F#5/2 D5/2 F#5/2 A5/4 C6/4  B5/4 A5/2 G5/2 D5/4 B4/4  G5/12 r/4")
    verse = ["G", "D", "Em", "C"] * 4
    chorus = ["C", "D", "G", "Em", "C", "D", "G", "G"] * 2
    return Song(126, "G", [
        Section(["G", "D", "Em", "C"], drums="soft", bass="bounce", fill=True),
        Section(verse, a, "lead", drums="bouncy", bass="bounce"),
        Section(chorus, b, "flute", pad=True, drums="bouncy", bass="bounce", fill=True),
        Section(verse, a, "lead", melody_shift=12, harmony=True, drums="busy", bass="bounce"),
        Section(["C", "D", "G", "Em", "C", "D", "G", "G"], b, "flute", harmony=True, pad=True, drums="soft",
                bass="walk"),
    ], ending="G")


# ---------------------------------------------------------------------------
# Output

def write_wav(path, mix):
    peak = max(max(mix), -min(mix)) or 1.0
    scale = 0.85 * 32767 / peak
    data = array.array("h", (int(round(value * scale)) for value in mix))
    if sys.byteorder == "big":
        data.byteswap()
    with wave.open(path, "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(RATE)
        file.writeframes(data.tobytes())


def finish(raw, song, folder, target):
    """Room and level by sox, then MP3 by lame. A loop is processed twice over
    and its second pass kept, so the room's echo of the end runs into the start."""
    finished = os.path.join(folder, "finished.wav")
    room = ["reverb", "18", "50", "60", "highpass", "35"]
    if song.loop:
        twice = os.path.join(folder, "twice.wav")
        subprocess.run(SOX + [raw, raw, twice], check=True)
        length = song.length()
        subprocess.run(SOX + [twice, finished] + room + ["trim", f"{length}s", f"{length}s", "gain", "-n", "-1"],
                       check=True)
    else:
        subprocess.run(SOX + [raw, finished] + room + ["gain", "-n", "-1"], check=True)
    # 32 kbit/s on average; the average-bit-rate mode writes the delay and
    # padding tag that gapless decoding needs.
    subprocess.run(["lame", "--quiet", "-m", "m", "--abr", "32", "--resample", "22.05", finished, target], check=True)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    output = sys.argv[1]
    os.makedirs(output, exist_ok=True)
    pieces = [("MenuMusic.mp3", menu_music), ("GameMusic.mp3", game_music), ("GameMusic2.mp3", game_music_two)]
    with tempfile.TemporaryDirectory() as folder:
        cache = NoteCache(folder)
        for name, compose in pieces:
            song = compose().compose()
            raw = os.path.join(folder, "raw.wav")
            write_wav(raw, song.render(cache))
            finish(raw, song, folder, os.path.join(output, name))
            print(f"{name}: {song.bars} bars, {song.length() / RATE:.1f} s")


if __name__ == "__main__":
    main()
