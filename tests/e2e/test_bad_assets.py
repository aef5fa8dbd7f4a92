#!/usr/bin/env python3
"""Every bad asset, one run of the real program per case.

Pictures and the font are read before any window opens: each of the nine
pictures missing, empty, cut short, garbage or a folder of that name, and no
font to be found (an empty font configuration), must give exactly one line on
standard error (naming the picture), nothing on standard output, exit status 1
and a log with its start and end markers. The
program runs with SDL's display-less video driver for these.

Music is read when its screen starts: each music file missing or garbage, and
no audio driver at all, must give a silent game that plays on: one warning
line in the log, nothing on standard error, and status 0 when the player
leaves. These runs need keys, so they run in a window under Xvfb.

Usage: test_bad_assets.py <run folder>"""

import os
import random
import sys

sys.dont_write_bytecode = True  # no cache folders in the source tree (the script's folder is on the path)
from desktop import Program, expect, main  # noqa: E402

PICTURES = ["mainMenu.bmp", "gameBackground.bmp", "snakeHead.bmp", "snakeBit.bmp"] + [
    "food%d.bmp" % i for i in range(1, 6)]


def spoil(name, how):
    """Makes the asset `name` in the game's folder missing, empty, cut, garbage or a folder."""
    def prepare(game):
        with open(game.path(name), "rb") as original:
            data = {"empty": b"", "garbage": random.Random(name).randbytes(4096)}.get(how, original.read())
        os.remove(game.path(name))
        if how == "folder":
            os.mkdir(game.path(name))
        elif how != "missing":
            with open(game.path(name), "wb") as out:
                out.write(data[:len(data) // 2] if how == "cut" else data)
    return prepare


def no_font(game):
    with open(game.path("fonts.conf"), "w") as out:
        out.write('<?xml version="1.0"?>\n<fontconfig></fontconfig>\n')
    game.env["FONTCONFIG_FILE"] = game.path("fonts.conf")


def refused(game, what, _one_player=None):
    """The run ends at once with one line on standard error, naming the bad
    picture, nothing on standard output and status 1."""
    game.expect_ended(1, what)
    err, picture = game.read("stderr.txt"), what.split()[0]
    expect(err.startswith("Exception caught: ") and err.count("\n") == 1 and err.endswith("\n")
           and (picture in err or not picture.endswith(".bmp")), "%s: standard error %r" % (what, err))
    expect(game.read("stdout.txt") == "", "%s: standard output %r" % (what, game.read("stdout.txt")))


def silent(game, what, one_player):
    """The game plays on silently: one warning in the log, nothing on standard error."""
    game.find_window("Vellorin")
    position = game.wait_for_log("OpenGL info:", timeout=20)
    if one_player:
        game.keys("Down", "space", "Up")  # "Set One Player", back to "Play Game"
    game.keys("space")
    position = game.wait_for_state("main", position)
    game.keys("Tab")
    game.wait_for_state("pause", position)
    game.keys("Escape")
    warnings = [line for line in game.expect_ended(0, what) if line.startswith("W: ")]
    expect(game.read("stderr.txt") == "", "%s: standard error %r" % (what, game.read("stderr.txt")))
    expect(len(warnings) == 1, "%s: warnings %r" % (what, warnings))


def test(started, run_folder):
    # (what, how the folder is spoilt, environment, the mode played or None for a refusal)
    windowless = {"SDL_VIDEODRIVER": "dummy", "DISPLAY": ""}
    cases = [("%s %s" % (name, how), spoil(name, how), windowless, None)
             for name in PICTURES for how in ["missing", "empty", "cut", "garbage", "folder"]]
    cases.append(("no font", no_font, windowless, None))
    # The menu's music plays at once; the match music of each mode when it starts.
    cases += [("%s %s" % (name, how), spoil(name, how), None, one_player)
              for name, one_player in [("MenuMusic.mp3", False), ("GameMusic2.mp3", False), ("GameMusic.mp3", True)]
              for how in ["missing", "garbage"]]
    cases.append(("no audio", lambda game: None, {"SDL_AUDIODRIVER": "none-such"}, False))
    for what, prepare, environment, one_player in cases:
        # The program in a fresh copy of the run folder that prepare(game) has spoilt.
        game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder, environment=environment,
                       start=False)
        started.append(game)
        prepare(game)
        game.start()
        (refused if one_player is None else silent)(game, what, one_player)
        started.remove(game)
        game.stop()
        game.remove()


if __name__ == "__main__":
    main(test, 1)
