#!/usr/bin/env python3
"""Measures the Windows program under Wine as tools/measure_performance.py
measures the Linux one (frames per second, frame-interval p99, processor share
of the game), and adds the share of the Wine server, which does part of the
game's work (messages, waits, the clock). With --scale N the window is made
N times its size each way before the play is measured. Run by
tools/measure-performance-windows.sh.

Usage: measure_wine.py <run folder with the launcher> [seconds] [--scale N]"""

import contextlib
import os
import shutil
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, "tools"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import measure_performance as measure  # noqa: E402
from desktop import Failure, wait_for, x_server, xdotool  # noqa: E402


def wine_processes(prefix, name_start):
    """The process ids of this prefix's processes whose command name starts so."""
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % name) as comm:
                if not comm.read().startswith(name_start):
                    continue
            with open("/proc/%s/environ" % name, "rb") as environ:
                if ("WINEPREFIX=" + prefix).encode() in environ.read().split(b"\0"):
                    found.append(int(name))
        except OSError:
            continue
    return found


PROCESS_SECONDS = measure.processor_seconds


def server_seconds(prefix):
    return sum(PROCESS_SECONDS(pid) for pid in wine_processes(prefix, "wineserver"))


def game_seconds(prefix):
    # The launcher's process is the time limit's, not the game's: the game is
    # found by the name Wine gives it.
    return sum(PROCESS_SECONDS(pid) for pid in wine_processes(prefix, "vellorin.exe"))


def window_size(window):
    shell = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).split())
    return int(shell["WIDTH"]), int(shell["HEIGHT"])


def scale_window(scale):
    """Makes the game's window `scale` times its size and waits until it is."""
    window = xdotool("search", "--name", "Vellorin").split()[0]
    width, height = window_size(window)
    wanted = (round(width * scale), round(height * scale))
    xdotool("windowsize", window, *wanted)
    wait_for(lambda: window_size(window) == wanted, 10, "the window at %dx%d" % wanted)
    time.sleep(1.0)  # the frames around the change are not measured
    return wanted


def main():
    arguments = sys.argv[1:]
    scale = 1.0
    if "--scale" in arguments:
        at = arguments.index("--scale")
        if at + 1 >= len(arguments):
            sys.exit(__doc__)
        scale = float(arguments[at + 1])
        del arguments[at:at + 2]
    if not arguments:
        sys.exit(__doc__)
    run_folder = arguments[0]
    seconds = float(arguments[1]) if len(arguments) > 1 else 20.0
    prefix = os.environ["WINEPREFIX"]
    measure.processor_seconds = lambda _pid: game_seconds(prefix)
    server = {}
    window = {}

    @contextlib.contextmanager
    def server_share():
        if scale != 1.0:
            window["size"] = scale_window(scale)
        begin, wall_begin = server_seconds(prefix), time.monotonic()
        yield
        server["share"] = (server_seconds(prefix) - begin) / (time.monotonic() - wall_begin)

    trace_folder = tempfile.mkdtemp(prefix="vellorin-trace-")
    try:
        # Room for the window at its new size, frame and all.
        with x_server(max(1024, round(800 * scale) + 100), max(768, round(600 * scale) + 100)):
            trace, span, share, matches, _log = measure.traced_match(run_folder, seconds, trace_folder, server_share)
        fps, median, p99, longest = measure.frame_statistics(trace, span)
        tail = measure.tail_report(trace, span)
    except Failure as failure:
        sys.exit("measurement failed: %s" % failure)
    finally:
        shutil.rmtree(trace_folder, ignore_errors=True)
    server_share = server["share"]

    size = " in a %dx%d window" % window["size"] if "size" in window else ""
    print("Measured under Wine over %.0f s of play (%d match%s)%s:" %
          (seconds, matches, "" if matches == 1 else "es", size))
    print("  frames per second:   %.2f" % fps)
    print("  frame interval p99:  %.2f ms (median %.2f ms, longest %.2f ms)" % (p99, median, longest))
    print("  processor share:     %.1f %% of one core (game), %.1f %% (wineserver), %.1f %% together" %
          (share * 100, server_share * 100, (share + server_share) * 100))
    if tail:
        print("  longest intervals and the phases of the frame that ended them:")
        print("\n".join(tail))


if __name__ == "__main__":
    main()
