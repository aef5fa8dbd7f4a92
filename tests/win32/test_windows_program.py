#!/usr/bin/env python3
"""The Windows program under Wine as a player meets it, beyond the match the
desktop scenario plays: the OpenGL block in log.txt, the music really heard
(ALSA's default device is pointed at a file, whose samples are read back),
silence while the match is paused, and the window's close button ending the
program normally.

Usage: test_windows_program.py <run folder with the launcher>"""

import array
import os
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from desktop import Program, expect, run, wait_for  # noqa: E402

READY = "%s is ready to become the active state."


class Capture:
    """Everything Wine plays, as written by ALSA's file plugin."""

    def __init__(self, folder):
        self.path = os.path.join(folder, "audio.raw")
        self.config = os.path.join(folder, "asound.conf")
        with open(self.config, "w") as conf:
            conf.write('pcm.null { type null }\n'
                       'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n'
                       'ctl.!default { type hw card 0 }\n' % self.path)

    def size(self):
        return os.path.getsize(self.path) if os.path.exists(self.path) else 0

    def loudest(self, start):
        """The largest sample magnitude written after byte `start`, read as 16-bit samples."""
        with open(self.path, "rb") as raw:
            raw.seek(start)
            data = raw.read()
        samples = array.array("h", data[: len(data) // 2 * 2])
        return max((abs(s) for s in samples), default=0)

    def listen(self, seconds):
        start = self.size()
        time.sleep(seconds)
        return self.loudest(start), self.size() - start


def scenario(started, run_folder):
    folder = tempfile.mkdtemp(prefix="vellorin-audio-")
    capture = Capture(folder)
    game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder,
                   environment={"ALSA_CONFIG_PATH": capture.config})
    started.append(game)
    game.find_window("Vellorin")
    position = game.wait_for_log("I: OpenGL info:\n   Vendor:   ", timeout=20)
    log = game.log()
    for field in ("   Renderer: ", "   Version:  "):
        expect(field in log[position:], "the OpenGL block lacks %r" % field)

    wait_for(lambda: capture.size() > 0, 20, "music in the menu")
    loud, written = capture.listen(2.0)
    expect(written > 0 and loud > 1000, "the menu music is silent (peak %d over %d bytes)" % (loud, written))
    print("menu: peak %d over %d bytes" % (loud, written))

    game.keys("space", "Tab")  # a match, paused at once
    position = game.wait_for_log(READY % "pause", start=game.wait_for_log(READY % "main"))
    time.sleep(0.5)  # what the device had buffered before the pause
    loud, written = capture.listen(1.5)
    expect(loud < 100, "music heard while paused (peak %d over %d bytes)" % (loud, written))
    print("paused: peak %d over %d bytes" % (loud, written))

    game.close_window()
    expect(game.wait_exit() == 0, "exit code %s after closing the window" % game.process.returncode)
    last = game.log().rstrip("\n").splitlines()[-1]
    expect(last.startswith("-- Logging ended at "), "the log ends with %r" % last)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    return run(lambda started: scenario(started, sys.argv[1]))


if __name__ == "__main__":
    sys.exit(main())
