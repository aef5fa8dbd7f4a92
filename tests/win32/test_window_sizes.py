#!/usr/bin/env python3
"""The Windows program's window at other sizes under Wine, screenshots compared
pixel by pixel with the menu at 800 × 600: resized to 1600 × 1200 every 2 × 2
block is one pixel of it; at 1000 × 600 it stands unchanged between black bars
100 pixels wide; Alt+Enter fills the X screen (the picture as wide as the
screen, black bars above and below) and Alt+Enter again brings the 800 × 600
window back with the same picture. Then on a desktop at 200 % (Wine's
LogPixels 192) the window opens at 1600 × 1200 pixels with the menu at 2×.

Usage: test_window_sizes.py <run folder with the launcher>"""

import os
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from desktop import Program, expect, main, xdotool  # noqa: E402

SCREEN = (1700, 1300)      # room for the window at twice its size, frame and all
HIGHLIGHT = (255, 51, 51)  # the menu's chosen line


def black(width, height):
    return bytes(width * height * 3)


def desktop_dpi(dpi):
    """Sets the DPI of the prefix's desktop (None: Wine's own, 96) for the programs started next."""
    key = ["HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/f"]
    change = ["add"] + key + ["/t", "REG_DWORD", "/d", str(dpi)] if dpi else ["delete"] + key
    subprocess.run([os.environ["LUM_WINE_RUN"], "reg"] + change, check=dpi is not None, capture_output=True, timeout=60)


def started_menu(started, run_folder):
    game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder)
    started.append(game)
    game.find_window("Vellorin")
    return game, game.wait_for_screen("the menu", lambda shot: len(shot.rows_with(HIGHLIGHT)) >= 8, timeout=20)


def test(started, run_folder):
    game, menu = started_menu(started, run_folder)
    expect((menu.width, menu.height) == (800, 600), "the window opened at %dx%d" % (menu.width, menu.height))

    xdotool("windowsize", game.window, 1600, 1200)
    twice = menu.enlarged(2).data
    game.wait_for_screen("the menu at exactly 2x", lambda shot: shot.data == twice)

    xdotool("windowsize", game.window, 1000, 600)
    game.wait_for_screen("the menu between 100-pixel black bars", lambda shot: shot.width == 1000
                         and shot.region(100, 0, 900, 600) == menu.data
                         and shot.region(0, 0, 100, 600) + shot.region(900, 0, 1000, 600) == black(200, 600))

    xdotool("windowsize", game.window, 800, 600)
    game.wait_for_screen("the window back at 800x600", lambda shot: shot.data == menu.data)
    game.keys("alt+Return")
    # 1700 × 1275, 12 rows of bar above and 13 below.
    width, height = SCREEN
    game.wait_for_screen("the menu full screen", lambda shot: (shot.width, shot.height) == SCREEN
                         and shot.region(0, 0, width, 12) + shot.region(0, height - 13, width, height) == black(width, 25)
                         and shot.rows_with(HIGHLIGHT) and black(width, 1) not in {shot.row(12), shot.row(height - 14)})
    game.keys("alt+Return")
    game.wait_for_screen("the window restored at 800x600", lambda shot: shot.data == menu.data)

    game.close_window()
    game.expect_ended(0, "closing the window")

    desktop_dpi(192)
    try:
        game, _ = started_menu(started, run_folder)
        game.wait_for_screen("the menu at 2x at 200 %", lambda shot: shot.data == twice)
        game.close_window()
        game.expect_ended(0, "closing the window at 200 %")
    finally:
        desktop_dpi(None)


if __name__ == "__main__":
    main(test, 1, screen=SCREEN)
