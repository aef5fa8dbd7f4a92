#!/usr/bin/env python3
"""The desktop platform in a real window: size and caption, the picture the
right way up, only changed rows reaching the X server, key codes for presses
and releases with modifiers and repeats, mouse positions and buttons, placing
the pointer, positions in a resized window, and the close button ending the program normally.

Usage: test_platform.py <the event-echoing platform demo>"""

import sys
import time

sys.dont_write_bytecode = True  # no cache folders in the source tree (the script's folder is on the path)
from desktop import Program, expect, main, wait_for, xdotool  # noqa: E402
from Xlib.ext import damage  # noqa: E402  (desktop.py sees that it is there)

WIDTH, HEIGHT = 320, 240
WHITE, GREEN, RED, BLUE, YELLOW = (255, 255, 255), (0, 200, 0), (200, 0, 0), (0, 0, 200), (220, 220, 0)
BAR = range(HEIGHT - 110, HEIGHT - 100)  # the demo's bar, rows 100 to 109 counted upwards


def echoed(program, kind):
    return [line[len(kind) + 1:] for line in program.read("stdout.txt").splitlines() if line.startswith(kind + " ")]


def check_keys(program, send, expected, what):
    before = len(echoed(program, "key"))
    send()
    wait_for(lambda: len(echoed(program, "key")) >= before + len(expected), 5, "key events of " + what)
    got = echoed(program, "key")[before:]
    expect(got == expected, "%s: expected %s, got %s" % (what, expected, got))


def check_picture(demo, what, bar=False):
    """White and green squares in the top-left and bottom-left corners, red
    above blue, and the bar where it is shown."""
    expected = {(0, 0): WHITE, (0, HEIGHT - 1): GREEN, (WIDTH // 2, 30): RED, (WIDTH // 2, HEIGHT - 30): BLUE,
                (5, BAR[0] - 1): BLUE, (5, BAR[-1] + 1): BLUE, (WIDTH // 2, BAR[5]): YELLOW if bar else BLUE}
    demo.wait_for_screen(what, lambda shot: all(shot.pixel(*at) == colour for at, colour in expected.items()), 5)


def drawn_rows(demo, action, seconds=0.3):
    """The window's rows (top-down) that the X server saw drawn on in the
    `seconds` (some 18 frames) after action()."""
    notify = demo.x.query_extension("DAMAGE").first_event + damage.DamageNotifyCode
    demo.x.damage_query_version()  # which the extension asks for before anything else
    watch = demo.xwindow.damage_create(damage.DamageReportRawRectangles)
    demo.x.sync()
    while demo.x.pending_events():  # the whole window, reported as the watch begins
        demo.x.next_event()
    action()
    rows, end = set(), time.monotonic() + seconds
    while time.monotonic() < end:
        while demo.x.pending_events():
            event = demo.x.next_event()
            if event.type == notify:
                rows.update(range(event.area.y, event.area.y + event.area.height))
        time.sleep(0.01)
    demo.x.damage_destroy(watch)
    return rows


def described(rows):
    return "%d rows, %d to %d" % (len(rows), min(rows), max(rows)) if rows else "no rows"


def check_partial_updates(demo):
    """Only the rows that change are sent to the window, nothing when none do
    (though the demo draws the bar's rows twice every frame, blue and then
    yellow over it), and a window that lost its picture gets all of it back
    though nothing in it changed."""
    # The window's own first showing (mapped, exposed, focused) may still be
    # drawing it whole in a slow build: the checks start once it is quiet.
    wait_for(lambda: not drawn_rows(demo, lambda: None), 10, "the window to stop drawing")
    for shown in (True, False):
        rows = drawn_rows(demo, lambda: demo.keys("b"))
        expect(rows and rows <= set(BAR), "the bar %s drew %s" % ("shown" if shown else "hidden", described(rows)))
        check_picture(demo, "the bar %s and the rest as it was" % ("shown" if shown else "hidden"), shown)
        if shown:
            rows = drawn_rows(demo, lambda: None)
            expect(not rows, "an unchanged picture drew %s" % described(rows))
    # Unmapped, the window loses its contents; mapped again it must be shown
    # whole, though every row of the picture is as it was.
    def unmap_and_map():
        for command in ("windowunmap", "windowmap", "windowfocus"):
            xdotool(command, "--sync", demo.window)
    rows = drawn_rows(demo, unmap_and_map)
    expect(rows == set(range(HEIGHT)), "mapped again, the window drew %s" % described(rows))
    check_picture(demo, "the whole picture after the window was mapped again")


def check_key_codes(demo):
    named = [("space", 32), ("Return", 13), ("KP_Enter", 13), ("BackSpace", 8), ("Delete", 8), ("Tab", 9),
             ("Escape", 27), ("F1", 128), ("F12", 139), ("Left", 140), ("Up", 141), ("Right", 142), ("Down", 143),
             ("a", 97), ("1", 49), ("Home", 0), ("Caps_Lock a Caps_Lock", 0, 65, 0)]
    for name, *codes in named:
        check_keys(demo, lambda: demo.keys(*name.split()),
                   sum((["%d pressed" % code, "%d released" % code] for code in codes), []), name)
    for modifier, key, code in [("Shift_L", "a", 65), ("Shift_L", "1", 33), ("Control_L", "c", 3)]:
        check_keys(demo, lambda: (xdotool("keydown", modifier), demo.keys(key), xdotool("keyup", modifier)),
                   ["0 pressed", "%d pressed" % code, "%d released" % code, "0 released"], modifier + "+" + key)


def check_key_repeat(demo):
    before = len(echoed(demo, "key"))
    xdotool("keydown", "Right")
    wait_for(lambda: echoed(demo, "key")[before:].count("142 pressed") >= 3, 5, "repeated presses of a held key")
    xdotool("keyup", "Right")
    wait_for(lambda: "142 released" in echoed(demo, "key")[before:], 5, "the release of the held key")
    got = echoed(demo, "key")[before:]
    expect(set(got[:-1]) == {"142 pressed"} and got[-1] == "142 released", "held key gave %s" % got)


def check_mouse(demo):
    xdotool("mousemove", "--window", demo.window, 10, 20)
    wait_for(lambda: "10 %d" % (HEIGHT - 20) in echoed(demo, "move"), 5, "the pointer move, rows counted upwards")
    for button in (1, 3):
        xdotool("click", button)
        expected = ["%d pressed 10 220" % button, "%d released 10 220" % button]
        wait_for(lambda: echoed(demo, "button")[-2:] == expected, 5, "clicks of button %d" % button)
    # 'w' asks the platform to place the pointer at (100, 100), y counted upwards.
    demo.keys("w")
    wait_for(lambda: "100 100" in echoed(demo, "move"), 5, "the placed pointer's move")
    pointer = demo.xwindow.query_pointer()
    expect((pointer.win_x, pointer.win_y) == (100, HEIGHT - 100),
           "pointer placed at %s in the window" % ((pointer.win_x, pointer.win_y),))


def check_scaled_mouse(demo):
    """Positions in a window twice the picture's size, and in one with bars
    beside the picture (clamped to its edge), are the picture's pixels."""
    for size, at, expected in [((2 * WIDTH, 2 * HEIGHT), (21, 41), "10 %d" % (HEIGHT - 20)),
                               ((WIDTH + 80, HEIGHT), (10, 20), "0 %d" % (HEIGHT - 20))]:
        xdotool("windowsize", "--sync", demo.window, *size)
        wait_for(lambda: (demo.xwindow.get_geometry().width, demo.xwindow.get_geometry().height) == size, 5,
                 "the window at %dx%d" % size)
        xdotool("mousemove", "--window", demo.window, *at)
        wait_for(lambda: echoed(demo, "move")[-1:] == [expected], 5, "%s over %dx%d at %s" % (expected, *size, at))
    demo.keys("w")
    wait_for(lambda: echoed(demo, "move")[-1:] == ["100 100"], 5, "the placed pointer's move beside bars")
    pointer = demo.xwindow.query_pointer()
    expect((pointer.win_x, pointer.win_y) == (140, HEIGHT - 100),
           "pointer placed at %s in the window with bars" % ((pointer.win_x, pointer.win_y),))


def test(started, executable):
    demo = Program(executable)
    started.append(demo)
    demo.find_window("Platform Demo")
    wait_for(lambda: "active" in demo.read("stdout.txt"), 10, "the demo's state to start")
    demo.check_window("LUM [ User ID: 'tester' ] :: Platform Demo.", WIDTH, HEIGHT)
    check_picture(demo, "the first frame")
    check_partial_updates(demo)
    check_key_codes(demo)
    check_key_repeat(demo)
    check_mouse(demo)
    check_scaled_mouse(demo)

    demo.close_window()
    demo.expect_ended(0, "the close button")
    expect(demo.read("stdout.txt").rstrip().endswith("ended"), "run() did not return")


if __name__ == "__main__":
    main(test, 1)
