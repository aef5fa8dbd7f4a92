#!/usr/bin/env python3
"""Records a golden game: a real game of the real program in a window under
Xvfb, played with xdotool as a player would, written to a file the test
command replays without a window, checking every frame.

two-player: a match against the computer, steered for a few seconds, then
handed over with F1 until the game-over screen; back to the menu, Escape.

one-player: the mode switched to one player, and the whole 180-second match
steered round a square until its countdown ends; back to the menu, Escape.

pause-and-mode: the mode switched three times, to one player; a match paused
with Tab and resumed twice, paused again and left with "Exit Game".

Usage: record.py two-player|one-player|pause-and-mode <run folder> <recording>"""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop import READY, Program, Steering, expect, main  # noqa: E402
from test_game import in_match, leave, menu_line  # noqa: E402


class Crashed(Exception):
    """The player's snake met the computer's while steered: the game is played again."""


def steer(game, steering, position, seconds):
    """Turns as the steering would for a while; a pause between keeps its place in the square."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        time.sleep(Steering.INTERVAL)
        steering.turn()
    if READY % "game_over" in game.log()[position:]:
        raise Crashed()


def start_match(game, seconds):
    """Steers from the match's first moment, when the snake is half a second from the edge."""
    game.keys("space")
    position = game.wait_for_state("main")
    steer(game, Steering(game), position, seconds)
    return position


def switch_mode(game):
    game.keys("Down")
    game.wait_for_screen("the highlight on the player-mode line", menu_line(1))
    game.keys("space", "Up")
    game.wait_for_screen("the highlight back on the first line", menu_line(0))


def two_player(game):
    position = start_match(game, 1)
    game.keys("F1")
    leave(game, game.wait_for_state("game_over", position, 120))


def one_player(game):
    switch_mode(game)
    game.keys("space")
    position = game.wait_for_state("main")
    started = time.monotonic()
    with Steering(game):
        ended = game.wait_for_state("game_over", position, 200)
    if time.monotonic() - started < 175:
        raise Crashed()
    leave(game, ended)


def pause_and_mode(game):
    switch_mode(game)
    switch_mode(game)
    switch_mode(game)  # one player: no computer snake to meet on the way
    game.keys("space")
    position = game.wait_for_state("main")
    steering = Steering(game)
    for pause in range(3):
        steer(game, steering, position, 1.5)
        game.keys("Tab")
        position = game.wait_for_state("pause", position)
        time.sleep(1)
        if pause < 2:
            game.keys("space")  # "Resume Game"
            position = game.wait_for_state("main", position)
    game.keys("Down", "space")  # "Exit Game"
    game.expect_ended(0, "Exit Game")


SCENARIOS = {"two-player": two_player, "one-player": one_player, "pause-and-mode": pause_and_mode}


def record(started, name, run_folder, recording, attempts=5):
    expect(name in SCENARIOS, "no scenario %r" % name)
    for attempt in range(1, attempts + 1):
        game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder, start=False)
        started.append(game)
        game.env["LUM_RECORD"] = "game.rec"  # in the program's folder, whatever platform runs it
        game.start()
        game.find_window("Vellorin")
        game.wait_for_screen("the menu", menu_line(0), timeout=20)
        try:
            SCENARIOS[name](game)
        except Crashed:
            print("attempt %d: the snake crashed while steered" % attempt)
            game.stop()
            continue
        shutil.copyfile(game.path("game.rec"), recording)
        print("%s: %d bytes" % (recording, os.path.getsize(recording)))
        return
    expect(False, "the snake crashed in every attempt")


if __name__ == "__main__":
    main(record, 3)
