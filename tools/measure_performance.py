#!/usr/bin/env python3
"""Measures the game while it plays: frames per second, the 99th percentile of
the time between two presented frames, and the share of one processor core
the game's process uses. The game runs from a copy of its run folder under a
private Xvfb with the frame trace on (LUM_FRAME_TRACE). A one-player match is
started and the snake is steered round a small square with the arrow keys, as
a player keeps it alive; should it crash, a new match starts. Uses the
window-driving helpers of the end-to-end tests (tests/e2e/desktop.py).

Each line of the trace holds the clock reading after a frame was presented and
the four phases of that frame in nanoseconds: waiting since the frame before
(messages, timers, idle), the state's update, clearing and rendering, and
presenting. The frames around the longest intervals are explained by their
phases, and with --picture the interval distribution and the phases are drawn
with matplotlib.

Before that, the game is started STARTS times, each time ended once its first
frame is presented, and the time from starting the process to that frame is
reported (the quickest, the median and the slowest).

With --scale K the match is played twice in the same run, in the window at
its own size and then resized to K times it (the picture enlarged K times),
and both are reported.

With --record the match is played four times at 1:1, by turns without and
with the game recording itself (LUM_RECORD), and the recording's size is
reported with the figures.

Usage: measure_performance.py <run folder> [seconds] [--picture file.png] [--scale K | --record]"""

import contextlib
import os
import shutil
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from desktop import Failure, Program, Steering, x_server, xdotool  # noqa: E402

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


STARTS = 7


def first_frame_stamp(trace_path, game, timeout=10.0):
    """The clock reading of the first frame the game presents, once it is in the trace."""
    give_up = time.monotonic() + timeout
    while time.monotonic() < give_up:
        if game.process.poll() is not None:
            raise Failure("the game ended before its first frame (code %s)" % game.process.returncode)
        try:
            with open(trace_path) as trace:
                line = trace.readline()
            if line.endswith("\n"):
                return int(line.split()[0])
        except FileNotFoundError:
            pass
        time.sleep(0.001)
    raise Failure("no frame presented within %.0f s" % timeout)


def start_up_times(run_folder, trace_folder):
    """Milliseconds from starting the game's process to its first presented frame, sorted."""
    times = []
    for attempt in range(STARTS):
        trace = os.path.join(trace_folder, "start-%d.txt" % attempt)
        game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder,
                       environment={"LUM_FRAME_TRACE": trace}, start=False)
        try:
            begin = raw_clock_ns()
            game.start()
            times.append((first_frame_stamp(trace, game) - begin) / 1e6)
        finally:
            game.stop()
            game.remove()
    return sorted(times)


PHASES = ("waiting", "update", "render", "present")


def read_trace(trace_path):
    """The frames of a trace as (stamp, phases in ms); traces of one number a line have no phases."""
    frames = []
    with open(trace_path) as trace:
        for line in trace:
            fields = [int(field) for field in line.split()]
            if fields:
                frames.append((fields[0], [value / 1e6 for value in fields[1:5]]))
    return frames


def frames_inside(frames, span):
    inside = [frame for frame in frames if span[0] <= frame[0] <= span[1]]
    if len(inside) < 2:
        # A platform clock other than the raw monotonic one: take the frames
        # of the same length at the end of the run.
        length = span[1] - span[0]
        inside = [frame for frame in frames if frame[0] >= frames[-1][0] - length]
    return inside


def frame_statistics(trace_path, span):
    inside = [stamp for stamp, _ in frames_inside(read_trace(trace_path), span)]
    intervals = sorted((b - a) / 1e6 for a, b in zip(inside, inside[1:]))
    fps = (len(inside) - 1) / ((inside[-1] - inside[0]) / 1e9)
    percentile = lambda p: intervals[min(len(intervals) - 1, int(p * len(intervals)))]
    return fps, percentile(0.5), percentile(0.99), intervals[-1]


def tail_report(trace_path, span, count=3):
    """Lines explaining the longest intervals: the phases of the frame that ended each one."""
    inside = frames_inside(read_trace(trace_path), span)
    pairs = sorted(zip(inside, inside[1:]), key=lambda pair: pair[1][0] - pair[0][0], reverse=True)
    lines = []
    for before, frame in pairs[:count]:
        if len(frame[1]) < len(PHASES):
            break
        parts = ", ".join("%s %.2f" % (name, value) for name, value in zip(PHASES, frame[1]))
        lines.append("  %.2f ms: %s ms" % ((frame[0] - before[0]) / 1e6, parts))
    if lines:
        # Averages over all frames, for comparison with the tail.
        phased = [phases for _, phases in inside if len(phases) == len(PHASES)]
        means = [sum(phases[i] for phases in phased) / len(phased) for i in range(len(PHASES))]
        lines.append("  mean:    %s ms" % ", ".join("%s %.3f" % pair for pair in zip(PHASES, means)))
    return lines


def draw_picture(trace_path, span, picture_path, title):
    """The distribution of frame intervals and the time of each phase, frame by frame."""
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as pyplot
    inside = frames_inside(read_trace(trace_path), span)
    intervals = [(b[0] - a[0]) / 1e6 for a, b in zip(inside, inside[1:])]
    figure, (left, right) = pyplot.subplots(1, 2, figsize=(11, 4))
    left.hist(intervals, bins=80, color="#3a7d44", log=True)
    left.set_xlabel("interval between presented frames (ms)")
    left.set_ylabel("frames")
    left.set_title("frame intervals")
    start = inside[0][0]
    seconds = [(stamp - start) / 1e9 for stamp, _ in inside]
    for index, name in enumerate(PHASES[1:], start=1):
        right.plot(seconds, [phases[index] if len(phases) > index else 0 for _, phases in inside],
                   linewidth=0.6, label=name)
    right.set_yscale("log")
    right.set_xlabel("time (s)")
    right.set_ylabel("ms")
    right.set_title("work per frame by phase")
    right.legend(loc="upper right")
    figure.suptitle(title)
    figure.tight_layout()
    figure.savefig(picture_path, dpi=90)


def traced_match(run_folder, seconds, trace_folder, around_play=contextlib.nullcontext, scale=1, recording=None):
    """Starts the game with a frame trace, its window `scale` times the
    picture's size, lets it settle, plays a one-player match for `seconds`
    inside `around_play()` (which may measure more) and ends the game: the
    trace's path, the play's span, processor share and matches, and the
    game's log."""
    trace = os.path.join(trace_folder, "frames-%d.txt" % scale)
    environment = {"LUM_FRAME_TRACE": trace}
    if recording:
        environment["LUM_RECORD"] = recording
    game = Program(os.path.join(run_folder, "vellorin"), run_folder=run_folder, environment=environment)
    try:
        game.find_window("Vellorin")
        if scale != 1:
            size = game.xwindow.get_geometry()
            xdotool("windowsize", "--sync", game.window, size.width * scale, size.height * scale)
        time.sleep(1.0)
        with around_play():
            span, share, matches = play(game, seconds)
        log = game.log()
        game.close_window()
        game.wait_exit()
    except Failure:
        game.report()
        raise
    finally:
        game.stop()
        game.remove()
    return trace, span, share, matches, log


def option(arguments, name):
    """The value after --name, taken out of the arguments; None without it."""
    if name not in arguments:
        return None
    at = arguments.index(name)
    if at + 1 >= len(arguments):
        sys.exit(__doc__)
    value = arguments[at + 1]
    del arguments[at:at + 2]
    return value


def report(seconds, scale, trace, span, share, matches, log, picture):
    renderer = next((line.split(":", 1)[1].strip() for line in log.splitlines()
                     if line.strip().startswith("Renderer:")), "unknown")
    fps, median, p99, longest = frame_statistics(trace, span)
    tail = tail_report(trace, span)
    if picture:
        draw_picture(trace, span, picture, "one-player match, %.0f s, renderer %s" % (seconds, renderer))
    print("Measured over %.0f s of play at %d:1 (%d match%s, renderer %s):" %
          (seconds, scale, matches, "" if matches == 1 else "es", renderer))
    print("  frames per second:   %.2f" % fps)
    print("  frame interval p99:  %.2f ms (median %.2f ms, longest %.2f ms)" % (p99, median, longest))
    print("  processor share:     %.1f %% of one core" % (share * 100))
    if tail:
        print("  longest intervals and the phases of the frame that ended them:")
        print("\n".join(tail))


def compare_recording(run_folder, seconds, trace_folder):
    """By turns without and with a recording, so both see the same machine."""
    recording = os.path.join(trace_folder, "match.rec")
    for _ in range(2):
        for recorded in (False, True):
            print("-- %s --" % ("recording" if recorded else "not recording"))
            report(seconds, 1, *traced_match(run_folder, seconds, trace_folder,
                                             recording=recording if recorded else None), None)
            if recorded:
                size = os.path.getsize(recording)
                print("  recording:           %d bytes, %.0f bytes a second" % (size, size / seconds))


def main():
    arguments = sys.argv[1:]
    picture = option(arguments, "--picture")
    scale = int(option(arguments, "--scale") or 1)
    record = "--record" in arguments
    if record:
        arguments.remove("--record")
    if not arguments or scale < 1 or (record and scale != 1):
        sys.exit(__doc__)
    run_folder = arguments[0]
    seconds = float(arguments[1]) if len(arguments) > 1 else 20.0
    trace_folder = tempfile.mkdtemp(prefix="vellorin-trace-")
    try:
        # Room on the screen for the enlarged window.
        with x_server(1024 * scale, 768 * scale):
            starts = start_up_times(run_folder, trace_folder)
            print("Start-up: %.0f ms to the first frame (median of %d starts; %.0f to %.0f ms)" %
                  (starts[len(starts) // 2], len(starts), starts[0], starts[-1]))
            if record:
                compare_recording(run_folder, seconds, trace_folder)
                return
            for factor in sorted({1, scale}):
                report(seconds, factor, *traced_match(run_folder, seconds, trace_folder, scale=factor),
                       picture if factor == scale else None)
    except Failure as failure:
        sys.exit("measurement failed: %s" % failure)
    finally:
        shutil.rmtree(trace_folder, ignore_errors=True)


if __name__ == "__main__":
    main()
