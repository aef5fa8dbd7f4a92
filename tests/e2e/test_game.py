#!/usr/bin/env python3
"""The game as a player meets it, in a real window under Xvfb.

two-player: the menu with its highlighted first line; Space starts a match
against the computer and Tab pauses it at once; Space resumes, the score line
shows while the player steers; F1 hands the snake to the computer, whose match
ends on the game-over screen naming a winner; Space on "Main Menu" returns to
the menu and Escape ends the program normally.

away: F12 saves the menu as a BMP in the pictures folder of the player's
user-dirs.dirs and logs its name; a match the player steers pauses when the
focus moves to another window, and stays paused when it comes back; after F1
the computer's match plays on without the focus.

headless: with SDL's display-less video driver and no display at all the game
starts (its log's display block naming the driver, the renderer and SDL's
version), runs, and on an interrupt (Ctrl+C in its terminal) shuts down, ends its
log and only then ends as an interrupted process.

replay: a recorded game shown again in the window (LUM_REPLAY) keeps its
recorded pace, ignores the window's own keys (Escape in the menu among them)
and ends by itself, every frame matching the recording; shown once more, it
ends when its window is closed.

Usage: test_game.py two-player|away|headless <run folder> [--screenshots <folder>]
       test_game.py replay <run folder> <recording>
(--screenshots keeps a picture of the menu and of a match there.)"""

import os
import re
import signal
import sys
import time

sys.dont_write_bytecode = True  # no cache folders in the source tree (the script's folder is on the path)
from desktop import READY, Program, Steering, expect, focus, main, read_picture  # noqa: E402

TITLE = "LUM [ User ID: 'q4417093' ] :: Vellorin."
WIDTH, HEIGHT = 800, 600

HIGHLIGHT = (255, 51, 51)  # the menu's chosen line
SCORE = (20, 255, 20)      # the score line
RED = (255, 0, 0)          # pause and game-over texts



def rows_near(shot, colour, centre, reach=30, left=0, right=None):
    """Whether text of this colour stands on the window row `centre` (rows counted from the top)."""
    rows = shot.rows_with(colour, left, right)
    return bool(rows) and all(abs(row - centre) <= reach for row in rows) and len(rows) >= 8


def menu_line(line):
    """The menu's highlighted line: lines stand 100 pixels apart from y = 400 down (rows 200, 300, 400)."""
    return lambda shot: rows_near(shot, HIGHLIGHT, 200 + 100 * line)


def in_match(shot):
    return bool(shot.rows_with(SCORE)) and all(row < 60 for row in shot.rows_with(SCORE))


def game_over_shown(shot):
    # The result line at y = 500, "Main Menu" (large) at 400, "Exit Game" at 300.
    rows = shot.rows_with(RED)
    return (any(abs(row - 100) <= 15 for row in rows) and any(abs(row - 200) <= 20 for row in rows)
            and any(abs(row - 300) <= 15 for row in rows) and not shot.rows_with(SCORE))


def leave(game, position):
    """From the game-over screen back to the menu, and out of the program with Escape."""
    game.wait_for_screen("the game-over screen naming the winner", game_over_shown)
    game.keys("Up", "space")  # "Main Menu"
    game.wait_for_state("menu", position)
    game.wait_for_screen("the menu again", menu_line(0))
    game.keys("Escape")
    game.expect_ended(0, "Escape")


def two_player(game, screenshots):
    game.check_window(TITLE, WIDTH, HEIGHT)
    menu = game.wait_for_screen("the menu with its first line highlighted", menu_line(0), timeout=20)
    if screenshots:
        menu.save(os.path.join(screenshots, "menu.png"))
    # A snake runs off the field within half a second: pause at once.
    game.keys("space", "Tab")
    position = game.wait_for_state("pause", game.wait_for_state("main"))
    game.wait_for_screen("the pause screen", lambda shot: rows_near(shot, RED, 250, reach=70)
                         and not shot.rows_with(SCORE))
    game.keys("space")  # "Resume Game"
    position = game.wait_for_state("main", position)
    with Steering(game):
        game.wait_for_screen("the score line of the match", in_match, timeout=5)
        if screenshots:
            time.sleep(0.5)  # a little way into the match, which may end at any moment
            if in_match(shot := game.screenshot()):
                shot.save(os.path.join(screenshots, "match.png"))
    # The computer takes the player's snake; the player's keys, Tab among them, no longer count.
    game.keys("F1", "Tab")
    ended = game.wait_for_state("game_over", position, 90)
    expect(READY % "pause" not in game.log()[position:ended], "Tab paused the match after F1")
    leave(game, ended)


def away(game, _screenshots):
    game.wait_for_screen("the menu", menu_line(0), timeout=20)
    menu = game.screenshot()
    game.keys("F12")
    game.wait_for_log("I: Screenshot saved as " + game.path("Pictures/vellorin-"))
    saved = re.search(r"I: Screenshot saved as (.*\.bmp)\.", game.log()).group(1)
    picture = read_picture(saved)
    expect((picture.width, picture.height, picture.data) == (WIDTH, HEIGHT, menu.data), "the BMP is not the menu")

    game.keys("space")
    position = game.wait_for_state("main")
    other = game.focus_elsewhere()
    position = game.wait_for_state("pause", position)
    game.take_focus()
    time.sleep(1.0)
    expect(READY % "main" not in game.log()[position:], "the match resumed by itself")
    game.keys("space", "F1")  # "Resume Game"; the computer takes the player's snake
    position = game.wait_for_state("main", position)
    focus(other)
    ended = game.wait_for_state("game_over", position, 90)
    expect(READY % "pause" not in game.log()[position:ended], "the computer's match paused")
    game.take_focus()
    leave(game, ended)


def headless(game, _screenshots):
    game.wait_for_log("I: OpenGL info:\n   Vendor:   SDL video driver dummy\n   Renderer: ", timeout=20)
    game.wait_for_log("\n   Version:  SDL 2.")
    time.sleep(1.0)  # a second of frames in the menu
    expect(game.process.poll() is None, "the program ended by itself")
    game.process.send_signal(signal.SIGINT)
    # Ended as an interrupted process, but only after a clean shutdown.
    lines = game.expect_ended(-signal.SIGINT, "an interrupt")
    expect(game.read("stderr.txt") == "Abnormal termination detected.\n", "stderr %r" % game.read("stderr.txt"))
    expect("W: Termination requested from outside; shutting down." in lines, "no note of the request in the log")


def replay(game, _screenshots):
    game.wait_for_screen("the menu", menu_line(0), timeout=20)
    started = time.monotonic()
    game.keys("Escape")
    game.wait_for_state("main", timeout=20)
    lines = game.expect_ended(0, "the replay", timeout=60)
    expect(time.monotonic() - started > 5, "the replay ran ahead of its recorded pace")
    expect(any(": every one of its " in line for line in lines), "no verdict in the log")
    # Again, ended by closing its window: a stop, not a failure.
    game.start()
    game.find_window("Vellorin")
    game.wait_for_screen("the menu again", menu_line(0), timeout=20)
    game.close_window()
    lines = game.expect_ended(0, "closing the replay's window")
    expect(any("before its end, every frame until then matching" in line for line in lines), "no note of the stop")


def test(started, name, run_folder, *options):
    expect(name in SCENARIOS, "no scenario %r" % name)
    screenshots = options[1] if options[:1] == ("--screenshots",) else None
    windowless = {"SDL_VIDEODRIVER": "dummy", "DISPLAY": ""} if name == "headless" else None
    game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder, environment=windowless, start=False)
    started.append(game)
    # The player's home is the program's folder, its pictures folder named the XDG way.
    game.env.update(HOME=game.folder, XDG_CONFIG_HOME="")
    if name == "replay":
        game.env["LUM_REPLAY"] = os.path.abspath(options[0])
    os.makedirs(game.path(".config"))
    os.makedirs(game.path("Pictures"))
    with open(game.path(".config/user-dirs.dirs"), "w") as dirs:
        dirs.write('XDG_PICTURES_DIR="$HOME/Pictures"\n')
    game.start()
    if not windowless:
        game.find_window("Vellorin")
    SCENARIOS[name](game, screenshots)


SCENARIOS = {"two-player": two_player, "away": away, "headless": headless, "replay": replay}

if __name__ == "__main__":
    main(test, 2)
