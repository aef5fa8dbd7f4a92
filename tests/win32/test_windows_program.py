#!/usr/bin/env python3
"""The Windows program under Wine as a player meets it, beyond the match the
desktop scenario plays: the OpenGL block in log.txt, the music really heard
(ALSA's default device is pointed at a file, whose samples are read back),
silenced by M and heard again after a second M; F12 saving the menu in the
Pictures known folder; the match paused when another window takes the
focus, silent while paused and still paused when the focus comes back; and
the window's close button ending the program normally.

Usage: test_windows_program.py <run folder with the launcher>"""

import array
import os
import re
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from desktop import READY, Program, expect, main, wait_for  # noqa: E402



def listen(path, seconds):
    """The largest 16-bit sample magnitude, and the bytes, that ALSA's file plugin writes in `seconds`."""
    start = os.path.getsize(path) if os.path.exists(path) else 0
    time.sleep(seconds)
    with open(path, "rb") as raw:
        raw.seek(start)
        data = raw.read()
    return max(map(abs, array.array("h", data[:len(data) // 2 * 2])), default=0), len(data)


def test(started, run_folder):
    game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder, start=False)
    started.append(game)
    audio = game.path("audio.raw")
    with open(game.path("asound.conf"), "w") as conf:
        conf.write('pcm.null { type null }\n'
                   'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n'
                   'ctl.!default { type hw card 0 }\n' % audio)
    game.env["ALSA_CONFIG_PATH"] = game.path("asound.conf")
    game.start()
    game.find_window("Vellorin")
    position = game.wait_for_log("I: OpenGL info:\n   Vendor:   ", timeout=20)
    for field in ("   Renderer: ", "   Version:  "):
        expect(field in game.log()[position:], "the OpenGL block lacks %r" % field)

    wait_for(lambda: os.path.exists(audio) and os.path.getsize(audio) > 0, 20, "music in the menu")
    loud, written = listen(audio, 2.0)
    expect(written > 0 and loud > 1000, "the menu music is silent (peak %d over %d bytes)" % (loud, written))
    print("menu: peak %d over %d bytes" % (loud, written))
    for heard in (False, True):  # M, and M again
        game.keys("m")
        time.sleep(0.5)  # what the device had buffered before
        loud, written = listen(audio, 1.5)
        expect((loud > 1000) == heard, "after M the music is %s (peak %d over %d bytes)"
               % ("silent" if heard else "heard", loud, written))
    game.keys("F12")  # the menu, saved in the Pictures known folder: the home folder, say
    game.wait_for_log("\\Pictures/vellorin-")
    saved = re.search(r"Screenshot saved as (.*\.bmp)\.", game.log()).group(1)
    unix = subprocess.run(["timeout", "20", "winepath", "-u", saved], capture_output=True, text=True).stdout
    os.remove(unix.strip())  # out of the tester's pictures again

    game.keys("space")  # a match, paused at once as the focus moves away
    position = game.wait_for_state("main")
    game.focus_elsewhere()
    position = game.wait_for_state("pause", position)
    time.sleep(0.5)  # what the device had buffered before the pause
    loud, written = listen(audio, 1.5)
    expect(loud < 100, "music heard while paused (peak %d over %d bytes)" % (loud, written))
    print("paused: peak %d over %d bytes" % (loud, written))
    game.take_focus()
    time.sleep(1.0)
    expect(READY % "main" not in game.log()[position:], "the match resumed with the focus")

    game.close_window()
    game.expect_ended(0, "closing the window")


if __name__ == "__main__":
    main(test, 1)
