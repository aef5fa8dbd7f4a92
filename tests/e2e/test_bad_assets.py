#!/usr/bin/env python3
"""Every bad asset, one run of the real program per case.

Pictures and the font are read before any window opens: each of the nine
pictures missing, empty, cut short, garbage or a folder of that name, and no
font to be found (an empty font configuration), must give exactly one line on
standard error, exit status 1 and a log with its start and end markers. The
program runs with SDL's display-less video driver for these.

Music is read when its screen starts: each music file missing or garbage, and
no audio driver at all, must give a silent game that plays on: one warning
line in the log, nothing on standard error, and status 0 when the player
leaves. These runs need keys, so they run in a window under Xvfb.

Usage: test_bad_assets.py <run folder>"""

import os
import random
import shutil
import sys

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Program, expect, run  # noqa: E402

PICTURES = ["mainMenu.bmp", "gameBackground.bmp", "snakeHead.bmp", "snakeBit.bmp"] + [
    "food%d.bmp" % i for i in range(1, 6)]
READY = "%s is ready to become the active state."
WINDOWLESS = {"SDL_VIDEODRIVER": "dummy", "DISPLAY": ""}


def spoil(folder, name, how):
    """Makes the asset `name` in folder missing, empty, cut, garbage or a folder."""
    path = os.path.join(folder, name)
    original = open(path, "rb").read() if os.path.exists(path) else b""
    os.remove(path)
    if how == "empty":
        open(path, "wb").close()
    elif how == "cut":
        open(path, "wb").write(original[:len(original) // 2])
    elif how == "garbage":
        open(path, "wb").write(random.Random(name).randbytes(4096))
    elif how == "folder":
        os.mkdir(path)


def check_log(game):
    lines = game.log().splitlines()
    expect(lines and lines[0].startswith("-- Logging started at "), "log starts with %r" % lines[:1])
    expect(lines[-1].startswith("-- Logging ended at "), "log ends with %r" % lines[-1:])
    return lines


def prepared(started, run_folder, prepare, environment):
    """The program in a fresh copy of the run folder that prepare(folder) has spoilt, started."""
    game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder, environment=environment,
                   start=False)
    started.append(game)
    prepare(game)
    game.start()
    return game


def finished(started, game):
    started.remove(game)
    game.remove()


def refused(started, run_folder, what, prepare):
    """A run that must end at once with one line on standard error and status 1."""
    game = prepared(started, run_folder, prepare, WINDOWLESS)
    status = game.wait_exit(timeout=30)
    err = game.read("stderr.txt")
    expect(status == 1, "%s: status %s" % (what, status))
    expect(err.startswith("Exception caught: ") and err.count("\n") == 1 and err.endswith("\n"),
           "%s: standard error %r" % (what, err))
    check_log(game)
    finished(started, game)


def silent(started, run_folder, what, prepare, one_player, environment=None):
    """A run that must play on silently: one warning in the log, nothing on standard error."""
    game = prepared(started, run_folder, prepare, environment)
    game.find_window("Vellorin")
    position = game.wait_for_log("OpenGL info:", timeout=20)
    if one_player:
        game.keys("Down", "space", "Up")  # "Set One Player", back to "Play Game"
    game.keys("space")
    position = game.wait_for_log(READY % "main", start=position)
    game.keys("Tab")
    position = game.wait_for_log(READY % "pause", start=position)
    game.keys("Escape")
    status = game.wait_exit()
    expect(status == 0, "%s: status %s" % (what, status))
    expect(game.read("stderr.txt") == "", "%s: standard error %r" % (what, game.read("stderr.txt")))
    warnings = [line for line in check_log(game) if line.startswith("W: ")]
    expect(len(warnings) == 1, "%s: warnings %r" % (what, warnings))
    finished(started, game)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    run_folder = sys.argv[1]

    def test(started):
        for name in PICTURES:
            for how in ["missing", "empty", "cut", "garbage", "folder"]:
                refused(started, run_folder, "%s %s" % (name, how),
                        lambda game, name=name, how=how: spoil(game.folder, name, how))

        def no_font(game):
            conf = game.path("fonts.conf")
            with open(conf, "w") as out:
                out.write('<?xml version="1.0"?>\n<fontconfig></fontconfig>\n')
            game.env["FONTCONFIG_FILE"] = conf
        refused(started, run_folder, "no font", no_font)

        # The menu's music plays at once; the match music of each mode when it starts.
        for name, one_player in [("MenuMusic.mp3", False), ("GameMusic2.mp3", False), ("GameMusic.mp3", True)]:
            for how in ["missing", "garbage"]:
                silent(started, run_folder, "%s %s" % (name, how),
                       lambda game, name=name, how=how: spoil(game.folder, name, how), one_player)
        silent(started, run_folder, "no audio", lambda game: None, False, {"SDL_AUDIODRIVER": "none-such"})

    return run(test)


if __name__ == "__main__":
    sys.exit(main())
