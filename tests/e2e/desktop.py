"""Driving a program on the desktop platform as a player would, for the
end-to-end tests: a private X server (Xvfb), the program started from a copy of
its run folder, keys and mouse through xdotool, screenshots read back as pixels,
and the window closed through the window system's close request."""

import contextlib
import ctypes
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time


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
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


@contextlib.contextmanager
def x_server(width=1024, height=768):
    """A private Xvfb on a free display; sets DISPLAY for the duration."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height), "-nolisten", "tcp",
         # Without it the server resets when its last client leaves, and a program
         # starting in that moment finds no display.
         "-noreset"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as numbers:
            display = numbers.readline().strip()
        expect(display.isdigit(), "Xvfb did not report a display number")
        previous = os.environ.get("DISPLAY")
        os.environ["DISPLAY"] = ":" + display
        try:
            yield ":" + display
        finally:
            if previous is None:
                del os.environ["DISPLAY"]
            else:
                os.environ["DISPLAY"] = previous
    finally:
        server.terminate()
        try:
            server.wait(timeout=5)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()


def xdotool(*arguments):
    return subprocess.run(["xdotool"] + [str(a) for a in arguments], check=True,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True).stdout


class Program:
    """A program started in a working folder of its own, its output in files."""

    def __init__(self, executable, arguments=(), run_folder=None, environment=None, start=True):
        """With start=False the folder is made but the program waits for start()."""
        self.folder = tempfile.mkdtemp(prefix="vellorin-e2e-")
        if run_folder:
            shutil.copytree(run_folder, self.folder, dirs_exist_ok=True)
            executable = os.path.join(self.folder, os.path.basename(executable))
        self.command = [executable] + list(arguments)
        self.env = dict(os.environ, SDL_AUDIODRIVER="dummy")
        # A leak checker's summary of suppressions would be more lines on standard error.
        self.env["LSAN_OPTIONS"] = ":".join(filter(None, [self.env.get("LSAN_OPTIONS"),
                                                          "suppressions=" + SUPPRESSIONS, "print_suppressions=0"]))
        self.env.update(environment or {})
        self.stdout_path = os.path.join(self.folder, "stdout.txt")
        self.stderr_path = os.path.join(self.folder, "stderr.txt")
        self.process = None
        self.window = None
        if start:
            self.start()

    def start(self):
        with open(self.stdout_path, "w") as out, open(self.stderr_path, "w") as err:
            self.process = subprocess.Popen(self.command, cwd=self.folder, env=self.env, stdout=out, stderr=err)

    def path(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        try:
            with open(self.path(name), errors="replace") as handle:
                return handle.read()
        except FileNotFoundError:
            return ""

    def stdout(self):
        return self.read("stdout.txt")

    def log(self):
        return self.read("log.txt")

    def find_window(self, title, timeout=20):
        def search():
            expect(self.process.poll() is None, "the program ended early with code %s" % self.process.returncode)
            found = subprocess.run(["xdotool", "search", "--name", title], stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True).stdout.split()
            return found[0] if found else None
        self.window = wait_for(search, timeout, "the window " + repr(title))
        xdotool("windowfocus", "--sync", self.window)
        return self.window

    def keys(self, *names):
        xdotool("key", *names)

    def key_down(self, name):
        xdotool("keydown", name)

    def key_up(self, name):
        xdotool("keyup", name)

    def window_info(self):
        """Title, position and size from xwininfo."""
        text = subprocess.run(["xwininfo", "-id", self.window], check=True, stdout=subprocess.PIPE,
                              text=True).stdout
        info = {}
        for line in text.splitlines():
            line = line.strip()
            if line.startswith("xwininfo: Window id:"):
                info["title"] = line.split('"', 1)[1].rsplit('"', 1)[0]
            elif ":" in line:
                key, _, value = line.partition(":")
                info[key.strip()] = value.strip()
        return info

    def screenshot(self):
        """The window's pixels as an Image."""
        png = self.path("screenshot.png")
        subprocess.run(["import", "-window", self.window, png], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        return Image.load(png)

    def wait_for_log(self, text, timeout=10, start=0):
        """Waits until the log holds text after position start; returns the position after it."""
        def found():
            position = self.log().find(text, start)
            return position + len(text) if position >= 0 else None
        return wait_for(found, timeout, "the log line " + repr(text))

    def wait_for_stdout(self, text, timeout=10):
        return wait_for(lambda: text in self.stdout(), timeout, "the output " + repr(text))

    def close_window(self):
        close_window(self.window)

    def wait_exit(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %d s" % timeout)

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def report(self):
        """What the program left behind, for a failing test's output."""
        sys.stderr.write("--- stdout (last lines) ---\n%s\n" % "\n".join(self.stdout().splitlines()[-30:]))
        sys.stderr.write("--- stderr ---\n%s\n" % self.read("stderr.txt"))
        sys.stderr.write("--- log.txt ---\n%s\n" % self.log())

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

    @staticmethod
    def load(path):
        size = subprocess.run(["identify", "-format", "%w %h", path], check=True, stdout=subprocess.PIPE,
                              text=True).stdout.split()
        data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
        width, height = int(size[0]), int(size[1])
        expect(len(data) == width * height * 3, "unexpected screenshot data size")
        return Image(width, height, data)

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def row(self, y, left=0, right=None):
        right = self.width if right is None else right
        start = (y * self.width + left) * 3
        return self.data[start:start + (right - left) * 3]

    def rows_with(self, colour, left=0, right=None):
        """Rows (top-down) holding at least one pixel of exactly this colour between columns left and right."""
        wanted = bytes(colour)
        rows = []
        for y in range(self.height):
            row = self.row(y, left, right)
            position = row.find(wanted)
            while position >= 0 and position % 3:
                position = row.find(wanted, position + 1)
            if position >= 0:
                rows.append(y)
        return rows

    def region(self, left, top, right, bottom):
        """The raw pixels of a rectangle, for comparing two screenshots."""
        return b"".join(self.row(y, left, right) for y in range(top, bottom))


class Steering:
    """Keeps a snake alive as a player would: clockwise turns a quarter of a
    second apart run it round a square of 15 cells a side, which it cannot run
    into before it is 60 segments long. Turns one at a time with turn(), or
    from a thread for the length of a with block."""

    TURNS = ("Right", "Down", "Left", "Up")
    INTERVAL = 0.25

    def __init__(self, program):
        self.program = program
        self.turns = 0
        self.stopping = threading.Event()
        self.thread = None

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


def close_window(window):
    """Asks the window to close as a window manager's close button does."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class XEvent(ctypes.Union):
        _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]

    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(XEvent)]
    display = x11.XOpenDisplay(None)
    expect(display, "cannot open the X display")
    try:
        event = XEvent()
        event.client.type = 33  # ClientMessage
        event.client.window = int(window)
        event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        expect(x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event)) != 0, "XSendEvent failed")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


def run(test):
    """Runs test(programs) where programs collects what it starts; reports and cleans up."""
    started = []
    try:
        with x_server():
            test(started)
        print("passed")
        return 0
    except Failure as failure:
        sys.stderr.write("FAILED: %s\n" % failure)
        for program in started:
            program.report()
        return 1
    finally:
        for program in started:
            program.stop()
            program.remove()
