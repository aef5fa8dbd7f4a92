#!/usr/bin/env python3
"""Measures the game while it plays: frames per second, the 99th percentile of
the time between two presented frames, and the share of one processor core
the game's process uses. The game runs from a copy of its run folder under a
private Xvfb with the frame trace on (LUM_FRAME_TRACE). A one-player match is
started and the snake is steered round a small square with the arrow keys, as
a player keeps it alive; should it crash, a new match starts. Uses the
window-driving helpers of the end-to-end tests (tests/e2e/desktop.py).

Usage: measure_performance.py <run folder> [seconds]"""

import os
import shutil
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from desktop import Failure, Program, Steering, x_server  # noqa: E402

GAME_OVER = "game_over is ready to become the active state."
MENU = "menu is ready to become the active state."
MATCH = "main is ready to become the active state."


def processor_seconds(pid):
    """User and system time of a process so far, in seconds."""
    with open("/proc/%d/stat" % pid) as stat:
        # The command name may hold spaces; the fields after it are fixed.
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def raw_clock_ns():
    # The clock SDL's performance counter reads on Linux.
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW)


def start_match(game, log_position):
    game.keys("Up", "Up", "space")  # from any line of the menu to "Play Game"
    return game.wait_for_log(MATCH, start=log_position)


def play(game, seconds):
    """Keeps a match going for `seconds`; returns the measured span, processor share and matches played."""
    game.keys("Down", "space")  # the menu's middle line: one-player mode
    position = start_match(game, 0)
    matches = 1
    steering = Steering(game)
    begin_clock, begin_cpu, begin_wall = raw_clock_ns(), processor_seconds(game.process.pid), time.monotonic()
    while time.monotonic() - begin_wall < seconds:
        time.sleep(Steering.INTERVAL)
        ended = game.log().find(GAME_OVER, position)
        if ended >= 0:
            game.keys("Up", "space")  # "Main Menu"
            position = start_match(game, game.wait_for_log(MENU, start=ended))
            matches += 1
        steering.turn()
    end_clock, end_cpu, end_wall = raw_clock_ns(), processor_seconds(game.process.pid), time.monotonic()
    return (begin_clock, end_clock), (end_cpu - begin_cpu) / (end_wall - begin_wall), matches


def frame_statistics(trace_path, span):
    with open(trace_path) as trace:
        stamps = [int(line) for line in trace if line.strip()]
    inside = [stamp for stamp in stamps if span[0] <= stamp <= span[1]]
    if len(inside) < 2:
        # A platform clock other than the raw monotonic one: take the frames
        # of the same length at the end of the run.
        length = span[1] - span[0]
        inside = [stamp for stamp in stamps if stamp >= stamps[-1] - length]
    intervals = sorted((b - a) / 1e6 for a, b in zip(inside, inside[1:]))
    fps = (len(inside) - 1) / ((inside[-1] - inside[0]) / 1e9)
    percentile = lambda p: intervals[min(len(intervals) - 1, int(p * len(intervals)))]
    return fps, percentile(0.5), percentile(0.99), intervals[-1]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    run_folder = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
    game = None
    trace_folder = tempfile.mkdtemp(prefix="vellorin-trace-")
    trace = os.path.join(trace_folder, "frames.txt")
    try:
        with x_server():
            game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder,
                           environment={"LUM_FRAME_TRACE": trace})
            game.find_window("Vellorin")
            time.sleep(1.0)
            span, share, matches = play(game, seconds)
            renderer = next((line.split(":", 1)[1].strip() for line in game.log().splitlines()
                             if line.strip().startswith("Renderer:")), "unknown")
            game.close_window()
            game.wait_exit()
            fps, median, p99, longest = frame_statistics(trace, span)
    except Failure as failure:
        if game:
            game.report()
        sys.exit("measurement failed: %s" % failure)
    finally:
        if game:
            game.stop()
            game.remove()
        shutil.rmtree(trace_folder, ignore_errors=True)

    print("Measured over %.0f s of play (%d match%s, renderer %s):" %
          (seconds, matches, "" if matches == 1 else "es", renderer))
    print("  frames per second:   %.2f" % fps)
    print("  frame interval p99:  %.2f ms (median %.2f ms, longest %.2f ms)" % (p99, median, longest))
    print("  processor share:     %.1f %% of one core" % (share * 100))


if __name__ == "__main__":
    main()
