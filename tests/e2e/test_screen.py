#!/usr/bin/env python3
"""The game's window at any size, under a window manager: resized to twice its
size it shows the menu at exactly 2× (every 2 × 2 block of a screenshot is the
1× screenshot's pixel); at 1000 × 600 the picture stands centred between
100-pixel black bars; F11 fills the X screen with the picture at its aspect,
drawn smoothly between whole factors, and
F11 again gives back the 800 × 600 window, as Alt+Enter does; Escape still ends
the game normally. When the X server goes away under the game, its log still
ends with its end marker, once.

Usage: test_screen.py <run folder> [--screenshots <folder>]
(--screenshots keeps a part of the full-screen picture there, scaled.png.)"""

import os
import sys

sys.dont_write_bytecode = True  # no cache folders in the source tree (the script's folder is on the path)
from desktop import Image, Program, expect, main, still_picture, wait_for, window_manager, x_server, xdotool  # noqa: E402

WIDTH, HEIGHT = 800, 600
SCREEN = (2000, 1300)  # full screen: the picture 1733 × 1300, between 133-pixel bars
BLACK = bytes(3)


def size(game):
    geometry = game.xwindow.get_geometry()
    return geometry.width, geometry.height


def wait_for_size(game, width, height, what):
    wait_for(lambda: size(game) == (width, height), 10, "%s: the window at %dx%d" % (what, width, height))


def shows(game, picture, left, top, what):
    """Waits until the window shows `picture` at (left, top) and black around it."""
    def exact(shot):
        inside = shot.region(left, top, left + picture.width, top + picture.height) == picture.data
        outside = [shot.region(0, 0, shot.width, top), shot.region(0, top, left, shot.height),
                   shot.region(left + picture.width, top, shot.width, shot.height)]
        return inside and all(band == BLACK * (len(band) // 3) for band in outside)
    game.wait_for_screen(what, exact, 15)


def filled(shot):
    """A picture between black bars 133 pixels wide, drawn on every row."""
    bar = shot.region(0, 0, 133, shot.height) + shot.region(shot.width - 133, 0, shot.width, shot.height)
    return bar == BLACK * (len(bar) // 3) and all(shot.row(y, 140, 150) != BLACK * 10 for y in (0, 650, 1299))


def test(started, run_folder, *options):
    pictures = options[1] if options[:1] == ("--screenshots",) and len(options) > 1 else None
    with window_manager():
        game = Program(os.path.join(run_folder, "vellorin"), run_folder)
        started.append(game)
        game.find_window("Vellorin")
        wait_for_size(game, WIDTH, HEIGHT, "opened")
        menu = still_picture(game.screenshot)

        xdotool("windowsize", "--sync", game.window, 2 * WIDTH, 2 * HEIGHT)
        wait_for_size(game, 2 * WIDTH, 2 * HEIGHT, "resized")
        shows(game, menu.enlarged(2), 0, 0, "the menu at exactly 2×")

        xdotool("windowsize", "--sync", game.window, 1000, HEIGHT)
        wait_for_size(game, 1000, HEIGHT, "resized")
        shows(game, menu, 100, 0, "the menu between 100-pixel bars")

        for keys in (["F11"], ["alt+Return"]):
            xdotool("windowsize", "--sync", game.window, WIDTH, HEIGHT)
            wait_for_size(game, WIDTH, HEIGHT, "resized back")
            game.keys(*keys)
            wait_for_size(game, *SCREEN, keys[0] + " for full screen")
            full = game.wait_for_screen(keys[0] + ": the menu filling the screen's height between bars", filled, 15)
            if pictures:
                crop = (480, 330, 1480, 830)  # the menu's lines at 2.17×
                Image(crop[2] - crop[0], crop[3] - crop[1], full.region(*crop)).save(os.path.join(pictures, "scaled.png"))
            game.keys(*keys)
            wait_for_size(game, WIDTH, HEIGHT, keys[0] + " again")
            shows(game, menu, 0, 0, keys[0] + " again: the menu in its window")

        game.keys("Escape")
        game.expect_ended(0, "Escape")

    # The X server going away under the game ends it with its log whole.
    with x_server():
        lost = Program(os.path.join(run_folder, "vellorin"), run_folder)
        started.append(lost)
        lost.find_window("Vellorin")
    lost.expect_ended(1, "the X server went away")


if __name__ == "__main__":
    main(test, 1, SCREEN)
