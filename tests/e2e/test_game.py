#!/usr/bin/env python3
"""The game as a player meets it, in a real window under Xvfb.

two-player: the menu with its highlighted first line; Space starts a match
against the computer and Tab pauses it at once; Space resumes, the score line
shows while the player steers; F1 hands the snake to the computer, whose match
ends on the game-over screen naming a winner; Space on "Main Menu" returns to
the menu and Escape ends the program normally.

one-player: Down and Space toggle the player mode, Up and Space start the
timed match, whose countdown shows and runs in the score line; left alone the
snake crashes and the game-over screen follows.

headless: with SDL's display-less video driver and no display at all the game
starts, runs, and on an interrupt (Ctrl+C in its terminal) shuts down, ends its
log and only then ends as an interrupted process.

Usage: test_game.py two-player|one-player|headless <run folder> [--screenshots <folder>]
(--screenshots keeps a picture of the menu and of a match there.)"""

import os
import signal
import sys
import time

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Program, Steering, expect, run, wait_for  # noqa: E402

TITLE = "LUM [ User ID: 'q4417093' ] :: Vellorin."
WIDTH, HEIGHT = 800, 600

HIGHLIGHT = (255, 51, 51)  # the menu's chosen line
SCORE = (20, 255, 20)      # the score line
RED = (255, 0, 0)          # pause and game-over texts

READY = "%s is ready to become the active state."


def rows_near(shot, colour, centre, reach=30, left=0, right=None):
    """Whether text of this colour stands on the window row `centre` (rows counted from the top)."""
    rows = shot.rows_with(colour, left, right)
    return bool(rows) and all(abs(row - centre) <= reach for row in rows) and len(rows) >= 8


def wait_for_screen(game, what, check, timeout=10):
    def taken():
        shot = game.screenshot()
        return shot if check(shot) else None
    return wait_for(taken, timeout, what, interval=0.1)


def menu_line(line):
    """The menu's highlighted line: lines stand 100 pixels apart from y = 400 down (rows 200, 300, 400)."""
    return lambda shot: rows_near(shot, HIGHLIGHT, 200 + 100 * line)


def check_window(game):
    info = game.window_info()
    expect(info.get("title") == TITLE, "caption %r" % info.get("title"))
    expect((info.get("Width"), info.get("Height")) == (str(WIDTH), str(HEIGHT)),
           "client area %sx%s" % (info.get("Width"), info.get("Height")))


def in_match(shot):
    return bool(shot.rows_with(SCORE)) and all(row < 60 for row in shot.rows_with(SCORE))


def game_over_shown(shot):
    # The result line at y = 500, "Main Menu" (large) at 400, "Exit Game" at 300.
    rows = shot.rows_with(RED)
    return (any(abs(row - 100) <= 15 for row in rows) and any(abs(row - 200) <= 20 for row in rows)
            and any(abs(row - 300) <= 15 for row in rows) and not shot.rows_with(SCORE))


def leave(game, position):
    """From the game-over screen back to the menu, and out of the program with Escape."""
    game.keys("Up", "space")  # "Main Menu"
    game.wait_for_log(READY % "menu", start=position)
    wait_for_screen(game, "the menu again", menu_line(0))
    game.keys("Escape")
    expect(game.wait_exit() == 0, "exit code %s after Escape" % game.process.returncode)
    last = game.log().rstrip("\n").splitlines()[-1]
    expect(last.startswith("-- Logging ended at "), "the log ends with %r" % last)


def two_player(game, screenshots):
    check_window(game)
    menu = wait_for_screen(game, "the menu with its first line highlighted", menu_line(0), timeout=20)
    if screenshots:
        menu.save(os.path.join(screenshots, "menu.png"))

    # A snake runs off the field within half a second: pause at once.
    game.keys("space", "Tab")
    position = game.wait_for_log(READY % "main")
    position = game.wait_for_log(READY % "pause", start=position)
    wait_for_screen(game, "the pause screen", lambda shot: rows_near(shot, RED, 250, reach=70)
                    and not shot.rows_with(SCORE))

    game.keys("space")  # "Resume Game"
    position = game.wait_for_log(READY % "main", start=position)
    with Steering(game):
        wait_for_screen(game, "the score line of the match", in_match, timeout=5)
        if screenshots:
            time.sleep(0.5)  # a little way into the match, which may end at any moment
            shot = game.screenshot()
            if in_match(shot):
                shot.save(os.path.join(screenshots, "match.png"))
    game.keys("F1")  # the computer takes the player's snake
    game.keys("Tab")  # the player's keys, Tab among them, no longer count

    ended = game.wait_for_log(READY % "game_over", timeout=90, start=position)
    expect(READY % "pause" not in game.log()[position:ended], "Tab paused the match after F1")
    position = ended
    wait_for_screen(game, "the game-over screen naming the winner", game_over_shown)
    leave(game, position)


def one_player(game, _screenshots):
    wait_for_screen(game, "the menu", menu_line(0), timeout=20)
    game.keys("Down")
    two = wait_for_screen(game, "the highlight on the player-mode line", menu_line(1))
    band = (200, 270, 600, 330)
    game.keys("space")
    wait_for_screen(game, "the player-mode line changed", lambda shot: shot.region(*band) != two.region(*band))
    game.keys("Up")
    wait_for_screen(game, "the highlight back on the first line", menu_line(0))
    game.keys("space")
    position = game.wait_for_log(READY % "main")

    countdown = (WIDTH // 2 - 60, 0, WIDTH // 2 + 60, 60)
    with Steering(game):
        first = wait_for_screen(game, "the one-player score line", lambda shot: in_match(shot)
                                and shot.rows_with(SCORE, countdown[0], countdown[2])
                                and not shot.rows_with(SCORE, WIDTH - 200, WIDTH), timeout=5)
        wait_for_screen(game, "the countdown running",
                        lambda shot: in_match(shot) and shot.region(*countdown) != first.region(*countdown),
                        timeout=5)
    # Left alone the snake runs off the field.
    position = game.wait_for_log(READY % "game_over", start=position)
    wait_for_screen(game, "the game-over screen", game_over_shown)
    leave(game, position)


def headless(game, _screenshots):
    game.wait_for_log("   Vendor:   SDL video driver dummy", timeout=20)
    time.sleep(1.0)  # a second of frames in the menu
    expect(game.process.poll() is None, "the program ended by itself")
    game.process.send_signal(signal.SIGINT)
    # Ended as an interrupted process, but only after a clean shutdown.
    expect(game.wait_exit() == -signal.SIGINT, "exit code %s after an interrupt" % game.process.returncode)
    expect(game.read("stderr.txt") == "Abnormal termination detected.\n", "stderr %r" % game.read("stderr.txt"))
    lines = game.log().rstrip("\n").splitlines()
    expect(lines[-1].startswith("-- Logging ended at "), "the log ends with %r" % lines[-1])
    expect("W: Termination requested from outside; shutting down." in lines, "no note of the request in the log")


def main():
    scenarios = {"two-player": two_player, "one-player": one_player, "headless": headless}
    if len(sys.argv) < 3 or sys.argv[1] not in scenarios:
        sys.exit(__doc__)
    name, run_folder = sys.argv[1], sys.argv[2]
    screenshots = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--screenshots" else None
    windowless = {"SDL_VIDEODRIVER": "dummy", "DISPLAY": ""}

    def test(started):
        game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder,
                       environment=windowless if name == "headless" else None)
        started.append(game)
        if name != "headless":
            game.find_window("Vellorin")
        scenarios[name](game, screenshots)

    return run(test)


if __name__ == "__main__":
    sys.exit(main())
