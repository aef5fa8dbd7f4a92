"""Driving a program on the desktop platform as a player would, for the
end-to-end tests: a private X server (Xvfb), the program started from a copy of
its run folder, keys and mouse through xdotool, and the window's caption,
pixels and close request through the X protocol."""

import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from unittest import mock

try:
    from PIL import Image as PILImage
    from Xlib import X, Xatom, display as xdisplay, error as xerror
    from Xlib.protocol import event as xevent
except ImportError:
    # Run by another interpreter (a version manager's, say): start again on the
    # distribution's, which carries python3-xlib and python3-pil.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

READY = "%s is ready to become the active state."  # the log's line as a state starts
# Leak reports of system libraries, for builds with the leak sanitizer.
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lsan-suppressions.txt")


class Failure(AssertionError):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what, interval=0.05):
    """Polls until predicate() is true; returns its value or fails after timeout seconds."""
    end = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > end:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)
    return value


@contextlib.contextmanager
def x_server(width=1024, height=768):
    """A private Xvfb on a free display; sets DISPLAY for the duration."""
    read_end, write_end = os.pipe()
    # Without -noreset the server resets when its last client leaves, and a
    # program starting in that moment finds no display.
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as numbers:
            display = ":" + numbers.readline().strip()
        expect(display[1:].isdigit(), "Xvfb did not report a display number")
        with mock.patch.dict(os.environ, DISPLAY=display):  # as it was before, afterwards
            yield display
    finally:
        end(server)


@contextlib.contextmanager
def window_manager():
    """A small window manager on the private server, as players have one: full
    screen and maximising are asked of it."""
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # A window mapped before the manager runs waits on it: the manager
        # names itself on the root window once it is ready.
        wait_for(lambda: "window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                       capture_output=True, text=True).stdout, 10,
                 "the window manager")
        yield manager
    finally:
        end(manager)


def end(process):
    """Asks a process to end, and makes it if it does not within 5 s."""
    process.terminate()
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def expect_whole_log(text, after):
    """The log's lines after `after`: its start marker first and its end marker last and once, their
    times as asctime writes them (the day of the month padded with a space, on Windows too)."""
    lines = text.splitlines() or [""]
    marker = r"-- Logging %s at [A-Z][a-z]{2} [A-Z][a-z]{2} [ 123]\d \d\d:\d\d:\d\d \d{4} --$"
    ends = sum(line.startswith("-- Logging ended") for line in lines)
    expect(re.match(marker % "started", lines[0]) and re.match(marker % "ended", lines[-1]) and ends == 1,
           "after %s the log runs from %r to %r with %d end markers" % (after, lines[0], lines[-1], ends))
    return lines


def still_picture(take, timeout=10):
    """The picture take() gives once two taken a moment apart agree."""
    shots = [take()]
    def settled():
        shots.append(take())
        return shots[-2].data == shots[-1].data and shots[-1]
    return wait_for(settled, timeout, "a still picture", 0.2)


def xdotool(*arguments):
    return subprocess.run(["xdotool"] + [str(a) for a in arguments], check=True, capture_output=True, text=True).stdout


def focus(window, timeout=10):
    """Gives the window the keyboard focus, once it can take it: a window just mapped under a
    window manager is not viewable until the manager has framed it."""
    wait_for(lambda: subprocess.run(["xdotool", "windowfocus", "--sync", str(window)],
                                    capture_output=True).returncode == 0, timeout, "the window to take focus")


class Program:
    """A program started in a working folder of its own, its output in files."""

    def __init__(self, executable, run_folder=None, environment=None, start=True):
        """With start=False the folder is made but the program waits for start()."""
        self.folder = tempfile.mkdtemp(prefix="vellorin-e2e-")
        if run_folder:
            shutil.copytree(run_folder, self.folder, dirs_exist_ok=True)
            executable = os.path.join(self.folder, os.path.basename(executable))
        self.executable = executable
        self.env = dict(os.environ, SDL_AUDIODRIVER="dummy")
        # A leak checker's summary of suppressions would be more lines on standard error.
        self.env["LSAN_OPTIONS"] = ":".join(filter(None, [self.env.get("LSAN_OPTIONS"),
                                                          "suppressions=" + SUPPRESSIONS, "print_suppressions=0"]))
        self.env.update(environment or {})
        self.process = self.window = self.x = None
        if start:
            self.start()

    def start(self):
        with open(self.path("stdout.txt"), "w") as out, open(self.path("stderr.txt"), "w") as err:
            self.process = subprocess.Popen([self.executable], cwd=self.folder, env=self.env, stdout=out, stderr=err)

    def path(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        """The file's text, or nothing before the program writes it."""
        with contextlib.suppress(FileNotFoundError), open(self.path(name), errors="replace") as handle:
            return handle.read()
        return ""

    def log(self):
        return self.read("log.txt")

    def find_window(self, title, timeout=20):
        def search():
            expect(self.process.poll() is None, "the program ended early with code %s" % self.process.returncode)
            # Only a mapped window takes the focus: one named but not yet shown is not there yet.
            ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], capture_output=True,
                                 text=True).stdout.split()
            return ids[0] if ids else None
        self.window = wait_for(search, timeout, "the window " + repr(title))
        focus(self.window, timeout)
        self.x = xdisplay.Display()
        self.xwindow = self.x.create_resource_object("window", int(self.window))
        return self.window

    def keys(self, *names):
        xdotool("key", *names)

    def focus_elsewhere(self):
        """Gives the keyboard focus to a small window of another X client; returns its id."""
        screen = self.x.screen()
        other = screen.root.create_window(0, 0, 100, 100, 0, screen.root_depth)
        other.set_wm_name("elsewhere")
        other.map()
        self.x.sync()
        focus(other.id)
        return other.id

    def take_focus(self):
        focus(self.window)

    def check_window(self, title, width, height):
        """The window's caption and the size of its client area."""
        caption, size = self.xwindow.get_full_text_property(Xatom.WM_NAME), self.xwindow.get_geometry()
        expect(caption == title, "caption %r" % caption)
        expect((size.width, size.height) == (width, height), "client area %dx%d" % (size.width, size.height))

    def screenshot(self):
        """The window's pixels as an Image."""
        size = self.xwindow.get_geometry()
        blue_green_red_pad = self.xwindow.get_image(0, 0, size.width, size.height, X.ZPixmap, 0xFFFFFFFF).data
        rgb = bytearray(size.width * size.height * 3)
        for channel in range(3):
            rgb[channel::3] = blue_green_red_pad[2 - channel::4]
        return Image(size.width, size.height, bytes(rgb))

    def wait_for_screen(self, what, check, timeout=10):
        """Takes screenshots until check(shot) holds; returns that one. A window
        that cannot be read for a moment (unmapped while its frame changes) is
        not there yet."""
        def shown():
            try:
                shot = self.screenshot()
            except xerror.BadMatch:
                return None
            return check(shot) and shot
        return wait_for(shown, timeout, what, interval=0.1)

    def wait_for_log(self, text, timeout=10, start=0):
        """Waits until the log holds text after position start; returns the position after it."""
        def found():
            position = self.log().find(text, start)
            return position + len(text) if position >= 0 else None
        return wait_for(found, timeout, "the log line " + repr(text))

    def wait_for_state(self, name, start=0, timeout=10):
        return self.wait_for_log(READY % name, timeout, start)

    def close_window(self):
        """Asks the window to close as a window manager's close button does."""
        atom = self.x.intern_atom
        self.xwindow.send_event(xevent.ClientMessage(window=self.xwindow, client_type=atom("WM_PROTOCOLS"),
                                                     data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        self.x.flush()

    def wait_exit(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %d s" % timeout)

    def expect_ended(self, status, after, timeout=30):
        """The program ends with `status` after `after`, its log whole."""
        expect(self.wait_exit(timeout) == status, "exit code %s after %s" % (self.process.returncode, after))
        return expect_whole_log(self.log(), after)

    def stop(self):
        if self.x is not None:
            with contextlib.suppress(Exception):  # the server may have gone first
                self.x.close()
            self.x = None
        if self.process is not None and self.process.poll() is None:
            # Asked first: a launcher (timeout, Wine's) passes a termination on, not a kill.
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def report(self):
        """What the program left behind, for a failing test's output."""
        sys.stderr.write("--- stdout (last lines) ---\n%s\n" % "\n".join(self.read("stdout.txt").splitlines()[-30:]))
        sys.stderr.write("--- stderr ---\n%s\n--- log.txt ---\n%s\n" % (self.read("stderr.txt"), self.log()))

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


class Image:
    """RGB pixels of a screenshot, row 0 at the top."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def save(self, path):
        """Writes the picture as a PNG."""
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        subprocess.run(["convert", "-size", "%dx%d" % (self.width, self.height), "-depth", "8", "rgb:-", path],
                       input=self.data, check=True)

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def row(self, y, left=0, right=None):
        start = (y * self.width + left) * 3
        return self.data[start:start + ((self.width if right is None else right) - left) * 3]

    def rows_with(self, colour, left=0, right=None):
        """Rows (top-down) holding at least one pixel of exactly this colour between columns left and right."""
        whole_pixels_then_it = re.compile(rb"(?:...)*?" + re.escape(bytes(colour)), re.DOTALL)
        return [y for y in range(self.height) if whole_pixels_then_it.match(self.row(y, left, right))]

    def enlarged(self, factor):
        """The picture with every pixel a factor × factor block."""
        rows = []
        for y in range(self.height):
            row = self.row(y)
            wide = b"".join(row[x:x + 3] * factor for x in range(0, len(row), 3))
            rows.extend([wide] * factor)
        return Image(self.width * factor, self.height * factor, b"".join(rows))

    def region(self, left, top, right, bottom):
        """The raw pixels of a rectangle, for comparing two screenshots."""
        return b"".join(self.row(y, left, right) for y in range(top, bottom))


def read_picture(path):
    """A picture file (a BMP, a PNG, ...) as an Image."""
    with PILImage.open(path) as picture:
        rgb = picture.convert("RGB")
    return Image(rgb.width, rgb.height, rgb.tobytes())


class Steering:
    """Keeps a snake alive as a player would: clockwise turns a quarter of a
    second apart run it round a square of 15 cells a side, which it cannot run
    into before it is 60 segments long. Turns one at a time with turn(), or
    from a thread for the length of a with block."""

    TURNS = ("Right", "Down", "Left", "Up")
    INTERVAL = 0.25

    def __init__(self, program):
        self.program, self.turns, self.stopping = program, 0, threading.Event()

    def turn(self):
        self.program.keys(self.TURNS[self.turns % len(self.TURNS)])
        self.turns += 1

    def __enter__(self):
        def steer():
            while not self.stopping.wait(self.INTERVAL):
                self.turn()
        self.thread = threading.Thread(target=steer, daemon=True)
        self.thread.start()
        return self

    def __exit__(self, *exception):
        self.stopping.set()
        self.thread.join()


def main(test, count, screen=(1024, 768)):
    """Runs test(programs, *the script's arguments) under a private X server of
    the screen's size, where programs collects what the test starts; reports
    and cleans up. With fewer than `count` arguments, the script's usage."""
    if len(sys.argv) <= count:
        sys.exit(sys.modules["__main__"].__doc__)
    started = []
    try:
        with x_server(*screen):
            try:
                test(started, *sys.argv[1:])
            finally:
                for program in started:
                    program.stop()
        print("passed")
        sys.exit(0)
    except Failure as failure:
        sys.stderr.write("FAILED: %s\n" % failure)
        for program in started:
            program.report()
        sys.exit(1)
    finally:
        for program in started:
            program.remove()
