#!/usr/bin/env python3
"""The Windows installer under Wine. A silent install (/S) puts the game into
the user's own programs folder, registers its uninstaller in the user's list of
apps and adds a Start-menu shortcut; the shortcut's target, started in the
shortcut's working folder, opens the game's window, writes log.txt there and
ends with 0 on Escape. A silent uninstall then leaves nothing behind: no
folder, no shortcut, no registry key.

Usage: test_installer.py <Vellorin-setup.exe>   (LUM_WINE_RUN: tools/windows/wine-run.sh)"""

import os
import struct
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from desktop import expect, expect_whole_log, main, wait_for, xdotool  # noqa: E402

UNINSTALL_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellorin"
WINE = os.environ.get("LUM_WINE_RUN", "wine")


def run(command):
    """Runs a Wine command; its output goes through a file, not a pipe, as the
    services the first command of a new server starts keep its output open."""
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(command, stdout=output, stderr=subprocess.DEVNULL, timeout=150)
        output.seek(0)
        return subprocess.CompletedProcess(command, result.returncode, output.read().decode(errors="replace"))


def wine(*arguments):
    return run([WINE] + list(arguments))


def unix_path(windows_path):
    result = run(["winepath", "-u", windows_path])
    expect(result.returncode == 0, "winepath could not place %r" % windows_path)
    return result.stdout.strip()


def folder(variable):
    """A folder of the user's, as the Windows variable names it, and as Unix sees it."""
    windows = wine("cmd", "/c", "echo", "%" + variable + "%").stdout.strip()
    return windows, unix_path(windows)


def shortcut(path):
    """The target path and working folder of a shell link (.lnk) file."""
    with open(path, "rb") as handle:
        data = handle.read()
    flags = struct.unpack_from("<I", data, 20)[0]
    offset = 76
    if flags & 0x1:  # a list of item IDs, skipped
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    target = None
    if flags & 0x2:  # link info: the target's local path
        info_size, header_size = struct.unpack_from("<II", data, offset)
        path_at = struct.unpack_from("<I", data, offset + 16)[0]
        target = data[offset + path_at:data.index(b"\0", offset + path_at)].decode("latin-1")
        offset += info_size
    strings = {}
    for bit, name in [(0x4, "name"), (0x8, "relative"), (0x10, "folder"), (0x20, "arguments"), (0x40, "icon")]:
        if flags & bit:
            count = struct.unpack_from("<H", data, offset)[0]
            unicode = flags & 0x80
            size = count * (2 if unicode else 1)
            # Some writers count the string's terminating NUL too.
            strings[name] = data[offset + 2:offset + 2 + size].decode("utf-16-le" if unicode else "latin-1").rstrip("\0")
            offset += 2 + size
    return target, strings.get("folder")


def play_from_shortcut(target, working_folder):
    log = os.path.join(unix_path(working_folder), "log.txt")
    game = subprocess.Popen([WINE, target], cwd=unix_path(working_folder), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        search = ["xdotool", "search", "--onlyvisible", "--name", "Vellorin"]
        window = wait_for(lambda: subprocess.run(search, capture_output=True, text=True).stdout.split(), 30,
                          "the game's window")[0]
        wait_for(lambda: os.path.exists(log), 10, "log.txt in the shortcut's working folder")
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "Escape")
        expect(game.wait(timeout=30) == 0, "the game ended with %s on Escape" % game.returncode)
    finally:
        if game.poll() is None:
            game.kill()
    with open(log, errors="replace") as handle:
        expect_whole_log(handle.read(), "Escape")


def test(started, setup):
    expect(wine(setup, "/S").returncode == 0, "the silent install failed")
    local, local_unix = folder("LOCALAPPDATA")
    install, install_unix = local + "\\Programs\\Vellorin", local_unix + "/Programs/Vellorin"
    for name in ("vellorin.exe", "uninstall.exe", "mainMenu.bmp", "MenuMusic.mp3"):
        expect(os.path.exists(os.path.join(install_unix, name)), "%s is not in %s" % (name, install))
    registered = wine("reg", "query", UNINSTALL_KEY).stdout
    expect("DisplayName    REG_SZ    Vellorin" in registered and install + "\\uninstall.exe" in registered,
           "the uninstaller is not registered: %r" % registered)
    _, roaming_unix = folder("APPDATA")
    link = roaming_unix + "/Microsoft/Windows/Start Menu/Programs/Vellorin.lnk"
    expect(os.path.exists(link), "no Start-menu shortcut")
    target, working_folder = shortcut(link)
    expect((target or "").lower() == (install + "\\vellorin.exe").lower(), "the shortcut starts %r" % target)
    expect((working_folder or "").lower() == install.lower(), "the shortcut starts in %r" % working_folder)
    play_from_shortcut(target, working_folder)

    expect(wine(install + "\\uninstall.exe", "/S").returncode == 0, "the silent uninstall failed")
    # The uninstaller runs on from a copy of itself, so the folder goes a moment later.
    wait_for(lambda: not os.path.exists(install_unix), 30, "the install folder to go")
    expect(not os.path.exists(link), "the Start-menu shortcut is left")
    expect(wine("reg", "query", UNINSTALL_KEY).returncode != 0, "the uninstall key is left")


if __name__ == "__main__":
    main(test, 1)
