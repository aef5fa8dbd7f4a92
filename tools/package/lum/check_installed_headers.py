#!/usr/bin/env python3
"""Checks the headers of an installed lum (tools/test-package.sh runs it after
installing into a prefix of its own):

- the headers under <prefix>/include/lum are exactly those public-headers.txt
  lists;
- the list is exactly what programs include (the game, the shell, the
  examples), what a platform of its own builds on, and everything those
  include in turn, so a header listed for no reason fails;
- no implementation or platform internal is among them, even one a public
  header has come to include;
- each compiles on its own with the install's include folder as the only one
  given, so a public header including one that is not installed fails.

Usage: check_installed_headers.py <install prefix>   (the compiler: $CXX, else c++)"""

import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(HERE)))
PROGRAMS = ["game", "shell", "examples"]
# What a platform of its own derives from and traces its frames with, the log
# every program may write to, and the headless platform a program's tests script.
ENTRIES = {"framework/AppImpl.h", "framework/FrameTrace.h", "framework/Log.h",
           "framework/headless/HeadlessAppImpl.h"}
PLATFORM_FOLDERS = {"framework/sdl", "framework/win32", "framework/web", "framework/posix",
                    "framework/sound/mci", "framework/sound/web"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"(framework/[^"]+)"', re.MULTILINE)


def includes(path):
    with open(path, encoding="utf-8") as source:
        return set(INCLUDE.findall(source.read()))


def needed():
    """The entries and every framework header programs include, with all they include."""
    todo = set(ENTRIES)
    for program in PROGRAMS:
        for folder, _, files in os.walk(os.path.join(ROOT, program)):
            for name in files:
                if name.endswith((".h", ".cpp")):
                    todo |= includes(os.path.join(folder, name))
    found = set()
    while todo:
        header = todo.pop()
        if header not in found:
            found.add(header)
            todo |= includes(os.path.join(ROOT, header))
    return found


def private(header):
    """An implementation (the App's and the headless platform's excepted) or a platform's own header."""
    if header in ENTRIES:
        return False
    return header.endswith("Impl.h") or os.path.dirname(header) in PLATFORM_FOLDERS


def listed():
    with open(os.path.join(HERE, "public-headers.txt"), encoding="utf-8") as text:
        return {line.strip() for line in text if line.startswith("framework/")}


def installed(include):
    return {os.path.relpath(os.path.join(folder, name), include)
            for folder, _, files in os.walk(include) for name in files}


def compiles_alone(include, header, scratch):
    source = os.path.join(scratch, "header.cpp")
    with open(source, "w", encoding="utf-8") as out:
        out.write('#include "%s"\n' % header)
    command = [os.environ.get("CXX", "c++"), "-std=c++17", "-fsyntax-only", "-Wall", "-Wextra", "-Werror",
               "-I", include, source]
    result = subprocess.run(command, capture_output=True, text=True)
    return result.returncode == 0, result.stderr


def differences(name, have, want):
    return ["%s: %s" % (name, header) for header in sorted(have - want)]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    include = os.path.join(sys.argv[1], "include", "lum")
    headers, listing, wanted = installed(include), listed(), needed()
    problems = differences("installed but not listed", headers, listing)
    problems += differences("listed but not installed", listing, headers)
    problems += differences("listed but no program or platform needs it", listing, wanted)
    problems += differences("needed but not listed", wanted, listing)
    problems += ["private but installed: %s" % header for header in sorted(headers) if private(header)]
    with tempfile.TemporaryDirectory() as scratch:
        for header in sorted(headers):
            good, errors = compiles_alone(include, header, scratch)
            if not good:
                problems.append("does not compile on its own: %s\n%s" % (header, errors))
    for problem in problems:
        print("check_installed_headers: " + problem, file=sys.stderr)
    if problems:
        sys.exit(1)
    print("%d public headers, each compiles on its own from the install" % len(headers))


if __name__ == "__main__":
    main()
