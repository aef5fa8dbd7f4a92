#!/usr/bin/env python3
"""The game on a native Wayland compositor (sway, headless, drawing on the
processor), as an unprivileged user: the menu appears; keys typed by wtype,
each run of it a new virtual keyboard with a keymap of its own, start a match
and pause it, over several runs of the game; with the output at 1600 × 1200
and scale 2 the menu is drawn sharp at exactly 2×; Escape ends the
game normally with its log whole; and when the compositor goes away under the
game, it ends with its log whole, the end marker last and once.

Usage: test_wayland.py <run folder>"""

import glob
import os
import pwd
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no cache folders in the source tree (the script's folder is on the path)
from desktop import Failure, Image, READY, expect, expect_whole_log, still_picture, wait_for  # noqa: E402
from test_game import menu_line  # noqa: E402

HIGHLIGHT = (255, 51, 51)


class Session:
    """A headless compositor and the programs run on it, all as one user: the
    compositor refuses root, so root hands everything to nobody."""

    def __init__(self, run_folder):
        self.home = tempfile.mkdtemp(prefix="vellorin-wayland-")
        self.runtime, self.game_folder = os.path.join(self.home, "xdg"), os.path.join(self.home, "game")
        os.mkdir(self.runtime, 0o700)
        shutil.copytree(run_folder, self.game_folder)
        with open(os.path.join(self.home, "sway.conf"), "w") as config:
            config.write("xwayland disable\noutput HEADLESS-1 resolution 800x600\ndefault_border none\n")
        self.user = ["runuser", "-u", "nobody", "--"] if os.geteuid() == 0 else []
        if self.user:
            nobody = pwd.getpwnam("nobody")
            for folder, _, files in os.walk(self.home):
                for name in [folder] + [os.path.join(folder, f) for f in files]:
                    os.chown(name, nobody.pw_uid, nobody.pw_gid)
        self.environment = {"PATH": "/usr/bin:/bin", "HOME": self.home, "XDG_RUNTIME_DIR": self.runtime}
        self.compositor = self.game = None

    def command(self, *arguments, **variables):
        settings = ["%s=%s" % item for item in dict(self.environment, **variables).items()]
        return self.user + ["env", "-i"] + settings + list(arguments)

    def start_compositor(self):
        self.compositor = subprocess.Popen(
            self.command("timeout", "120", "sway", "-c", os.path.join(self.home, "sway.conf"),
                         WLR_BACKENDS="headless", WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        sockets = wait_for(lambda: glob.glob(os.path.join(self.runtime, "wayland-*[0-9]")), 10, "the compositor")
        self.environment["WAYLAND_DISPLAY"] = os.path.basename(sockets[0])
        self.environment["SWAYSOCK"] = wait_for(lambda: glob.glob(os.path.join(self.runtime, "sway-ipc.*")), 10,
                                                "the compositor's control socket")[0]

    def start_game(self):
        log = os.path.join(self.game_folder, "log.txt")
        if os.path.exists(log):
            os.remove(log)
        self.game = subprocess.Popen(self.command("timeout", "100", "./vellorin", SDL_VIDEODRIVER="wayland",
                                                  SDL_AUDIODRIVER="dummy"),
                                     cwd=self.game_folder, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)

    def keys(self, *names):
        """One run of wtype: a new virtual keyboard, whose keymap the game
        takes in before the first key (keys sent at once are lost)."""
        arguments = []
        for name in names:
            arguments += ["-s", "300", "-k", name]
        self.run("wtype", *arguments)

    def run(self, *arguments):
        return subprocess.run(self.command(*arguments), check=True, capture_output=True, timeout=30).stdout

    def screenshot(self):
        """The output's pixels, from grim as a binary PPM."""
        data = self.run("grim", "-t", "ppm", "-")
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        expect(match, "grim gave no picture")
        return Image(int(match.group(1)), int(match.group(2)), data[match.end():])

    def log(self):
        with open(os.path.join(self.game_folder, "log.txt"), errors="replace") as handle:
            return handle.read()

    def wait_for_log(self, text, timeout=10):
        wait_for(lambda: text in self.log(), timeout, "the log line %r" % text)

    def expect_ended(self, status, after):
        try:
            code = self.game.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end after %s; its log ends %r" % (after, self.log()[-300:]))
        expect(code == status, "exit code %s after %s: %s" % (code, after, self.game.stderr.read()[-2000:]))
        expect_whole_log(self.log(), after)

    def stop(self):
        for process in (self.game, self.compositor):
            if process is not None and process.poll() is None:
                process.kill()
                process.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def test(session):
    session.start_compositor()
    for attempt in range(3):  # every run of wtype is a new keyboard: a keymap the game takes in
        session.start_game()
        wait_for(lambda: menu_line(0)(session.screenshot()), 15, "the menu on the compositor")
        if attempt == 2:
            menu = still_picture(session.screenshot)
            expect((menu.width, menu.height) == (800, 600), "the output at %dx%d" % (menu.width, menu.height))
            session.run("swaymsg", "output", "HEADLESS-1", "resolution", "1600x1200", "scale", "2")
            wait_for(lambda: session.screenshot().data == menu.enlarged(2).data, 15, "the menu sharp at 2×")
        session.keys("space", "Tab")
        session.wait_for_log(READY % "pause")
        for _ in range(4):
            session.keys("Down")
        session.keys("Escape")
        session.expect_ended(0, "Escape")

    session.start_game()
    wait_for(lambda: session.screenshot().rows_with(HIGHLIGHT), 15, "the menu again")
    session.compositor.terminate()
    session.expect_ended(0, "the compositor went away")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    session = Session(sys.argv[1])
    try:
        test(session)
        print("passed")
    except Failure as failure:
        sys.stderr.write("FAILED: %s\n" % failure)
        sys.exit(1)
    finally:
        session.stop()


if __name__ == "__main__":
    main()
