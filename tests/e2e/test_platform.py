#!/usr/bin/env python3
"""The desktop platform in a real window: size and caption, the picture the
right way up, key codes for presses and releases with modifiers and repeats,
mouse positions and buttons, placing the pointer, and the close button ending
the program normally. Drives the event-echoing demo program given as argument."""

import os
import sys

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Program, expect, run, wait_for, xdotool  # noqa: E402

TITLE = "LUM [ User ID: 'tester' ] :: Platform Demo."
WIDTH, HEIGHT = 320, 240


def echoed(program, kind):
    return [line[len(kind) + 1:] for line in program.stdout().splitlines() if line.startswith(kind + " ")]


def check_keys(program, send, expected, what):
    before = len(echoed(program, "key"))
    send()
    wait_for(lambda: len(echoed(program, "key")) >= before + len(expected), 5, "key events of " + what)
    got = echoed(program, "key")[before:]
    expect(got == expected, "%s: expected %s, got %s" % (what, expected, got))


def press_release(code):
    return ["%d pressed" % code, "%d released" % code]


def check_window(demo):
    info = demo.window_info()
    expect(info.get("title") == TITLE, "caption %r" % info.get("title"))
    expect((info.get("Width"), info.get("Height")) == (str(WIDTH), str(HEIGHT)),
           "client area %sx%s" % (info.get("Width"), info.get("Height")))


def check_picture(demo):
    def drawn():
        shot = demo.screenshot()
        return shot if shot.pixel(0, 0) == (255, 255, 255) else None
    shot = wait_for(drawn, 5, "the first frame (white top-left corner)")
    expect(shot.pixel(0, HEIGHT - 1) == (0, 200, 0), "bottom-left corner %s, not green" % (shot.pixel(0, HEIGHT - 1),))
    expect(shot.pixel(WIDTH // 2, 30) == (200, 0, 0), "upper half not red")
    expect(shot.pixel(WIDTH // 2, HEIGHT - 30) == (0, 0, 200), "lower half not blue")


def check_partial_updates(demo):
    """Only the rows that change are sent to the window, and a window that lost
    its picture gets all of it back though nothing in it changed."""
    bar_top, bar_bottom = HEIGHT - 110, HEIGHT - 101  # rows 100 to 109 counted upwards

    def showing(bar):
        def check():
            shot = demo.screenshot()
            middle = shot.pixel(WIDTH // 2, (bar_top + bar_bottom) // 2)
            return shot if (middle == (220, 220, 0)) == bar else None
        return check
    demo.keys("b")
    shot = wait_for(showing(True), 5, "the yellow bar")
    expect(shot.pixel(5, bar_top - 1) == (0, 0, 200) and shot.pixel(5, bar_bottom + 1) == (0, 0, 200),
           "the rows beside the bar changed")
    demo.keys("b")
    shot = wait_for(showing(False), 5, "the bar gone again")
    expect(shot.pixel(0, 0) == (255, 255, 255) and shot.pixel(WIDTH // 2, 30) == (200, 0, 0), "the rest was lost")
    # Unmapped, the window loses its contents; mapped again it must be shown
    # whole, though every row of the picture is as it was.
    xdotool("windowunmap", "--sync", demo.window)
    xdotool("windowmap", "--sync", demo.window)
    xdotool("windowfocus", "--sync", demo.window)
    wait_for(lambda: demo.screenshot().pixel(WIDTH // 2, HEIGHT - 30) == (0, 0, 200), 5,
             "the whole picture after the window was mapped again")
    shot = demo.screenshot()
    expect(shot.pixel(0, 0) == (255, 255, 255) and shot.pixel(WIDTH // 2, 30) == (200, 0, 0)
           and shot.pixel(0, HEIGHT - 1) == (0, 200, 0), "parts of the picture missing after mapping again")


def check_key_codes(demo):
    named = [("space", 32), ("Return", 13), ("KP_Enter", 13), ("BackSpace", 8), ("Delete", 8), ("Tab", 9),
             ("Escape", 27), ("F1", 128), ("F12", 139), ("Left", 140), ("Up", 141), ("Right", 142), ("Down", 143),
             ("a", 97), ("1", 49), ("Home", 0)]
    for name, code in named:
        check_keys(demo, lambda: demo.keys(name), press_release(code), name)

    def shifted(key):
        return lambda: (demo.key_down("Shift_L"), demo.keys(key), demo.key_up("Shift_L"))
    check_keys(demo, shifted("a"), ["0 pressed", "65 pressed", "65 released", "0 released"], "Shift+a")
    check_keys(demo, shifted("1"), ["0 pressed", "33 pressed", "33 released", "0 released"], "Shift+1")
    check_keys(demo, lambda: demo.keys("Caps_Lock", "a", "Caps_Lock"),
               press_release(0) + press_release(65) + press_release(0), "Caps Lock, a")
    check_keys(demo, lambda: (demo.key_down("Control_L"), demo.keys("c"), demo.key_up("Control_L")),
               ["0 pressed", "3 pressed", "3 released", "0 released"], "Ctrl+c")


def check_key_repeat(demo):
    before = len(echoed(demo, "key"))
    demo.key_down("Right")
    wait_for(lambda: echoed(demo, "key")[before:].count("142 pressed") >= 3, 5, "repeated presses of a held key")
    demo.key_up("Right")
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
    info = demo.window_info()
    location = dict(item.split(":") for item in xdotool("getmouselocation").split())
    relative = (int(location["x"]) - int(info["Absolute upper-left X"]),
                int(location["y"]) - int(info["Absolute upper-left Y"]))
    expect(relative == (100, HEIGHT - 100), "pointer placed at %s in the window" % (relative,))


def test(started):
    demo = Program(sys.argv[1])
    started.append(demo)
    demo.find_window("Platform Demo")
    demo.wait_for_stdout("active")
    check_window(demo)
    check_picture(demo)
    check_partial_updates(demo)
    check_key_codes(demo)
    check_key_repeat(demo)
    check_mouse(demo)

    demo.close_window()
    expect(demo.wait_exit() == 0, "exit code %s after the close button" % demo.process.returncode)
    expect(demo.stdout().rstrip().endswith("ended"), "run() did not return")
    expect("-- Logging ended at " in demo.log().splitlines()[-1], "the log has no end marker")


if __name__ == "__main__":
    sys.exit(run(test))
