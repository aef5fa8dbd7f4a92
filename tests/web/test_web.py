#!/usr/bin/env python3
"""The web version as a player meets it: the page in headless Chromium, driven
through Selenium, served from a local server on 127.0.0.1.

The canvas shows the menu with its highlighted line, right way up, and the
page carries the window title. A held key repeats (Down held over two lines).
The menu music, refused by the browser until the first key press, starts then
at the point it would have reached. Space starts a match and Tab pauses it;
the game keys keep their browser action (focus stays on the canvas, the page
does not scroll) and the music pauses at its place. M mutes the menu music,
which plays on unheard, and a second M unmutes it; F12 downloads the menu as
a BMP, exactly the canvas's picture. Space resumes, and another tab hiding
the page pauses the match again, which stays paused when the page comes back;
Space resumes, the music goes on from there, F1 hands the snake to the computer
and the score line shows; the game-over screen names a winner, and Escape ends
the game: the log's end marker reaches the console and the page says the game
has ended. Nothing is
logged as an error. The picture fills the page at any size; F11, Alt+Enter
and the page's button show it alone in full screen.

The platform on its own, through the platform demo's page (it echoes every
event on the console): key codes from the same table as the desktop, gamepads (navigator.getGamepads stubbed)
as keys, mouse positions on the enlarged canvas in image
pixels with y counted upwards (the bottom-left pixel is y = 1, the top-left y = the height), and
the buttons; at twice the size in device pixels the picture is exact.

Prints the frame rate in the menu and in the match, and the time from the
start of the page's loading to the first frame.

Usage: test_web.py <web build folder>   (its site/ and site-test/ are served)"""

import base64
import functools
import http.server
import io
import os
import shutil
import signal
import sys
import tempfile
import threading
import time

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
# The desktop end-to-end test's checks and its reading of the screens serve
# the page too.
from desktop import READY, Failure, expect, wait_for  # noqa: E402
from test_game import RED, SCORE, TITLE, game_over_shown, in_match, menu_line, rows_near  # noqa: E402

WIDTH = 800
ENDED = "-- Logging ended at "

CHROMIUM_FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--disable-dev-shm-usage",
                  # Sound only after the player's first gesture, as browsers do by default.
                  "--autoplay-policy=document-user-activation-required",
                  # Wider than the picture: bars left and right.
                  "--window-size=1000,500"]


def serve(site):
    """A static server on 127.0.0.1, on a free port, in a thread of this process, that logs nothing."""
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *_: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


# Rows (top-down) of the canvas holding a pixel of exactly this colour, read
# in the page so that only the row numbers travel.
ROWS_WITH = """
const [r, g, b, left, right] = arguments, canvas = document.getElementById('canvas'), width = canvas.width, rows = [];
const data = canvas.getContext('2d').getImageData(0, 0, width, canvas.height).data;
for (let y = 0; y < canvas.height; ++y)
  for (let i = (y * width + left) * 4; i < (y * width + right) * 4; i += 4)
    if (data[i] === r && data[i + 1] === g && data[i + 2] === b) { rows.push(y); break; }
return rows;
"""

# The music last started and not stopped since.
MUSIC = """
const music = Module.lumMusic;
const p = music && music.current;
if (!p) return null;
return {name: p.name, blocked: p.blocked, paused: p.audio.paused, wanted: p.wanted, loop: p.audio.loop,
        place: music.place(p)};
"""

# The canvas's box in CSS pixels, its image's size and how it is drawn.
PLACE = """
const canvas = document.getElementById('canvas'), box = canvas.getBoundingClientRect();
return [[box.left, box.top, box.width, box.height], [canvas.width, canvas.height], getComputedStyle(canvas).imageRendering];
"""
IN_FULL_SCREEN = "return document.fullscreenElement === document.getElementById('canvas')"
MUTED = "return Object.values(Module.lumMusic.pieces).map(piece => piece.audio.muted)"  # each music element's

# Notes, after the game's own handler, whether each key's browser action was
# kept from happening.
WATCH_KEYS = """
window.keysSeen = [];
window.addEventListener('keydown', e => window.keysSeen.push([e.key, e.defaultPrevented]));
"""


class Page:
    def __init__(self, driver):
        self.driver = driver
        self.console = []

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def read_console(self):
        self.console.extend(self.driver.get_log("browser"))
        return self.console

    def wait_for_console(self, text, start=0, timeout=10):
        """The index of the first console entry from `start` on that holds the text, plus one."""
        def found():
            entries = self.read_console()
            return next((index + 1 for index in range(start, len(entries)) if text in entries[index]["message"]), None)
        return wait_for(found, timeout, "%r on the console" % text)

    def rows_with(self, colour, left=0, right=None):
        return self.js(ROWS_WITH, *colour, left, WIDTH if right is None else right)

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def hold(self, key, virtual_key, repeats):
        """Presses a key and lets it repeat, as a key held down does, then releases it."""
        event = {"key": key, "code": key, "windowsVirtualKeyCode": virtual_key}
        for repeat in range(repeats + 1):
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent",
                                        dict(event, type="rawKeyDown", autoRepeat=repeat > 0))
        self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", dict(event, type="keyUp"))


def fit_viewport(page, width, height, ratio=1, rendering="auto"):
    """A viewport of CSS pixels of `ratio` device pixels: the canvas as large as fits with the picture's aspect,
    centred, drawn `rendering`. Returns its place."""
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": width, "height": height, "deviceScaleFactor": ratio, "mobile": False})

    def fitted():
        (left, top, w, h), (columns, rows), drawn = place = page.js(PLACE)
        fills = 0 <= min(width - w, height - h) < 1 and abs(w * rows - h * columns) <= columns
        centred = abs(2 * left + w - width) <= 1 and abs(2 * top + h - height) <= 1
        return fills and centred and drawn == rendering and place
    return wait_for(fitted, 5, "the canvas filling the %d x %d viewport, drawn %s" % (width, height, rendering))


def check_keys_kept(page, keys):
    seen = page.js("return window.keysSeen.splice(0)")
    for key in keys:
        matching = [prevented for name, prevented in seen if name == key]
        expect(matching, "%s reached the page" % key)
        expect(all(matching), "%s kept its browser action" % key)
    focus = page.js("return document.activeElement && document.activeElement.id")
    expect(focus == "canvas", "the keyboard focus left the canvas for %r" % focus)


def frame_rate(page, seconds):
    """Frames per second the page shows over the next few seconds."""
    before = page.js("return [Module.lumFrames, performance.now()]")
    time.sleep(seconds)
    after = page.js("return [Module.lumFrames, performance.now()]")
    return (after[0] - before[0]) * 1000.0 / (after[1] - before[1])


def mute_and_unmute(page):
    """M mutes every music element, the music playing on unheard; M again unmutes them."""
    place = page.js(MUSIC)["place"]
    page.keys("m")
    wait_for(lambda: all(page.js(MUTED)), 5, "the music muted after M")
    time.sleep(0.5)
    expect(page.js(MUSIC)["place"] > place + 0.3, "the muted music stood still")
    page.keys("m")
    wait_for(lambda: not any(page.js(MUTED)), 5, "the music heard again after a second M")


def check_screenshot(page, downloads):
    """F12 downloads the picture on the canvas as a BMP."""
    page.keys(Keys.F12)
    saved = wait_for(lambda: [name for name in os.listdir(downloads) if name.startswith("vellorin-")
                              and name.endswith(".bmp")], 10, "the BMP downloaded")
    own = picture(page.js("return document.getElementById('canvas').toDataURL().split(',')[1]"))
    bmp = Image.open(os.path.join(downloads, saved[0])).convert("RGB")
    expect(not ImageChops.difference(bmp, own).getbbox(), "the BMP is not the menu")


def hide_during_match(page, position):
    """Resumes the paused match and at once opens another tab, which hides the page: the match
    pauses, and stays paused once the page is shown again. Returns the console position."""
    game = page.driver.current_window_handle
    page.keys(Keys.SPACE)  # "Resume Game"
    page.driver.switch_to.new_window("tab")
    page.driver.close()
    page.driver.switch_to.window(game)
    position = page.wait_for_console(READY % "pause", page.wait_for_console(READY % "main", position))
    time.sleep(1.0)
    expect(all(READY % "main" not in entry["message"] for entry in page.read_console()[position:]),
           "the match resumed by itself")
    return position


def play(page, url, downloads):
    start = time.monotonic()
    page.driver.get(url)
    wait_for(lambda: page.driver.title == TITLE, 20, "the page title %r" % TITLE)
    wait_for(lambda: menu_line(0)(page), 20, "the menu with its first line highlighted")
    loaded = time.monotonic() - start
    first_frame = page.js("return Module.lumFirstFrameAt")
    fps = frame_rate(page, 2.0)
    expect(fps > 20, "only %.1f frames per second in the menu" % fps)

    # The browser refuses sound before a gesture; the menu music keeps its place.
    music = page.js(MUSIC)
    expect(music and music["name"] == "MenuMusic.mp3" and music["loop"] and music["wanted"],
           "the menu music: %r" % music)
    expect(music["blocked"] and music["paused"], "the browser played sound before any gesture: %r" % music)
    page.js(WATCH_KEYS)
    page.hold("ArrowDown", 40, repeats=1)
    wait_for(lambda: menu_line(2)(page), 5, "the highlight two lines down after Down repeated once")
    music = page.js(MUSIC)
    expect(music and not music["blocked"] and music["place"] > 1.5,
           "the menu music after the first key press, at the point it would have reached: %r" % music)
    wait_for(lambda: not page.js(MUSIC)["paused"], 5, "the menu music sounding after the first key press")
    page.keys(Keys.UP, Keys.UP)
    wait_for(lambda: menu_line(0)(page), 5, "the highlight back on the first line")
    check_keys_kept(page, ["ArrowDown", "ArrowUp"])
    mute_and_unmute(page)
    check_screenshot(page, downloads)

    # The picture fills the page, and shows alone in full screen on F11, Alt+Enter or the page's button.
    fit_viewport(page, 1000, 700)
    fit_viewport(page, 1700, 1300)
    fit_viewport(page, 400, 300)
    fit_viewport(page, 400, 300, ratio=2, rendering="pixelated")  # the device pixel ratio alone changed
    page.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    f11 = functools.partial(page.keys, Keys.F11)
    alt_enter = ActionChains(page.driver).key_down(Keys.ALT).send_keys(Keys.ENTER).key_up(Keys.ALT).perform
    for toggle, leave in ((f11, alt_enter), (page.driver.find_element(By.ID, "fullscreen").click, f11)):
        toggle()
        wait_for(lambda: page.js(IN_FULL_SCREEN), 5, "the canvas in full screen")
        leave()  # (the button is hidden by the canvas in full screen)
        wait_for(lambda: not page.js(IN_FULL_SCREEN), 5, "the page out of full screen")
    wait_for(lambda: menu_line(0)(page), 5, "the menu unmoved by the keys of full screen")

    # A snake runs off the field within half a second: pause at once.
    position = len(page.read_console())
    page.keys(Keys.SPACE, Keys.TAB)
    position = page.wait_for_console(READY % "main", position)
    position = page.wait_for_console(READY % "pause", position)
    wait_for(lambda: rows_near(page, RED, 250, reach=70) and not page.rows_with(SCORE), 5, "the pause screen")
    check_keys_kept(page, [" ", "Tab"])
    music = page.js(MUSIC)
    expect(music and music["name"].startswith("GameMusic") and not music["wanted"] and music["paused"],
           "the match music paused: %r" % music)
    paused_at = music["place"]
    time.sleep(0.5)
    expect(abs(page.js(MUSIC)["place"] - paused_at) < 0.05, "the music moved on while paused")

    position = hide_during_match(page, position)
    page.keys(Keys.SPACE, Keys.F1)  # "Resume Game"; the computer takes the player's snake
    position = page.wait_for_console(READY % "main", position)
    wait_for(lambda: in_match(page), 5, "the score line of the match")
    check_keys_kept(page, [" ", "F1"])
    music = wait_for(lambda: not page.js(MUSIC)["paused"] and page.js(MUSIC), 5, "the match music resumed")
    expect(music["place"] >= paused_at - 0.05, "the music resumed at %.2fs, paused at %.2fs"
           % (music["place"], paused_at))
    match_fps = frame_rate(page, 1.5)  # the match, or the game-over screen should it end first

    position = page.wait_for_console(READY % "game_over", position, timeout=120)
    wait_for(lambda: game_over_shown(page), 10, "the game-over screen naming the winner")
    page.keys(Keys.ESCAPE)  # which ends the game from this screen too
    page.wait_for_console(ENDED, position)
    wait_for(lambda: "has ended" in page.js("return document.getElementById('status').textContent"), 5,
             "the page saying that the game has ended")
    check_no_errors(page)
    print("web: menu after %.1fs; %.1f frames per second in the menu, %.1f in the match; first frame %.0f ms "
          "after the page began loading" % (loaded, fps, match_fps, first_frame))


def check_no_errors(page):
    errors = [entry["message"] for entry in page.read_console() if entry["level"] == "SEVERE"]
    expect(not errors, "errors on the console: %s" % errors)


def echoed(page, position, *lines):
    """Waits for the demo's echo lines, one after another, from console entry `position` on."""
    for line in lines:
        position = page.wait_for_console('"%s"' % line, position)
    return position


def picture(png):
    return Image.open(io.BytesIO(base64.b64decode(png))).convert("RGB")


def middle(place, column, row):
    """The middle of an image pixel (row from the top) as an offset from the canvas's centre in CSS pixels."""
    (_, _, width, height), (columns, rows), _ = place
    return round((column + 0.5 - columns / 2) * width / columns), round((row + 0.5 - rows / 2) * height / rows)


# The page's gamepads replaced by the test's: pad(index, buttons held, stick x, y) plugs in or changes a pad of
# the standard layout, pad(index) unplugs it.
FAKE_PADS = """
window.fakePads = [];
navigator.getGamepads = () => window.fakePads;
window.pad = (index, held, x, y) => {
  window.fakePads[index] = held && {index, connected: true, mapping: 'standard', axes: [x, y],
                                    buttons: Array.from({length: 17}, (_, n) => ({pressed: held.includes(n)}))};
};
"""


def check_gamepads(page):
    """Pads read once a frame give the keys of their buttons and stick; a pad unplugged lets go of them."""
    page.js(FAKE_PADS)
    position = len(page.read_console())
    page.js("pad(0, [0, 9], 0, 0); pad(1, [8, 3, 14], 0, 0.1)")  # South, Start; Back, North, the D-pad left
    position = echoed(page, position, "key 32 pressed", "key 9 pressed", "key 128 pressed", "key 27 pressed",
                      "key 140 pressed")
    page.js("pad(0, [], -0.9, 0); pad(1)")  # the stick left, the other pad unplugged
    position = echoed(page, position, "key 32 released", "key 9 released", "key 128 released", "key 27 released")
    page.js("pad(0)")
    echoed(page, position, "key 140 released")


def platform(page, url):
    """The platform demo: a 320 x 240 canvas, every event echoed on the console. (The menu's
    highlighted line, found where it belongs in its exact colour, showed the picture the right way up.)"""
    page.driver.get(url)
    page.console = []
    page.wait_for_console('"active"', timeout=20)
    expect(page.driver.title == "LUM [ User ID: 'tester' ] :: Platform Demo.", "title %r" % page.driver.title)

    position = len(page.read_console())
    page.keys("a", Keys.F1, Keys.ESCAPE, Keys.DELETE, Keys.ARROW_LEFT)
    ActionChains(page.driver).key_down(Keys.SHIFT).send_keys("a").key_up(Keys.SHIFT).perform()
    echoed(page, position, "key 97 pressed", "key 97 released", "key 128 pressed", "key 27 pressed",
           "key 8 pressed", "key 140 pressed", "key 0 pressed", "key 65 pressed")
    check_gamepads(page)

    # The canvas enlarged 2.92 times: the mouse at the middle of image pixels (rows from the top).
    place = fit_viewport(page, 1000, 700)
    canvas = page.driver.find_element(By.ID, "canvas")
    position = len(page.read_console())
    ActionChains(page.driver).move_to_element_with_offset(canvas, *middle(place, 0, 239)).click().perform()
    position = echoed(page, position, "button 1 pressed 0 1", "button 1 released 0 1")
    ActionChains(page.driver).move_to_element_with_offset(canvas, *middle(place, 0, 0)).click().perform()
    position = echoed(page, position, "button 1 pressed 0 240")
    ActionChains(page.driver).move_to_element_with_offset(canvas, *middle(place, 170, 100)).perform()
    position = echoed(page, position, "move 170 140")
    ActionChains(page.driver).context_click().perform()
    echoed(page, position, "button 3 pressed 170 140", "button 3 released 170 140")

    # Twice as large in device pixels: each image pixel exactly a 2 x 2 block on the screen.
    (left, top, width, height), _, _ = fit_viewport(page, 320, 250, ratio=2, rendering="pixelated")
    shot = picture(page.driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png"})["data"])
    shot = shot.crop((2 * left, 2 * top, 2 * (left + width), 2 * (top + height)))
    own = picture(page.js("return document.getElementById('canvas').toDataURL().split(',')[1]"))
    expect(not ImageChops.difference(shot, own.resize(shot.size, Image.NEAREST)).getbbox(),
           "the picture not exactly twice its size")
    check_no_errors(page)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    # Stopped from outside (the timeout around the test), the browser is still closed.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(124))
    server = serve(os.path.abspath(sys.argv[1]))
    address = "http://127.0.0.1:%d/" % server.server_address[1]
    profile = tempfile.mkdtemp(prefix="vellorin-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    for flag in CHROMIUM_FLAGS + ["--user-data-dir=" + profile]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = None
    try:
        driver = webdriver.Chrome(service=Service(shutil.which("chromedriver") or "/usr/bin/chromedriver"),
                                  options=options)
        driver.set_page_load_timeout(30)
        driver.set_script_timeout(10)
        page = Page(driver)
        try:
            downloads = os.path.join(profile, "downloads")
            os.makedirs(downloads)
            driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
            play(page, address + "site/index.html", downloads)
            platform(page, address + "site-test/platform_demo.html")
        except Failure as failure:
            print("web: FAILED: %s" % failure, file=sys.stderr)
            for entry in page.console[-40:]:
                print("  console %s %s" % (entry["level"], entry["message"]), file=sys.stderr)
            return 1
        print("web: passed")
        return 0
    finally:
        if driver is not None:
            driver.quit()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
