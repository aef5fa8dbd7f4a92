#!/usr/bin/env python3
"""Fails when two tests of a build may run side by side in one working folder.

Every program on the framework replaces log.txt in its working folder as it
starts, so two tests that CTest may run at the same time must not share that
folder: each has a folder of its own, or both hold a lock in common (a test
that runs alone, RUN_SERIAL, shares safely). The tests are read from
`ctest --show-only=json-v1` of the build.

Usage: check_test_folders.py <ctest> <build folder>"""

import collections
import json
import os
import subprocess
import sys


def clashes(listing):
    """(folder, first test, second test) for every two tests that may meet in a folder."""
    by_folder = collections.defaultdict(list)
    for test in listing["tests"]:
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        # CTest names the folder of every test added by name; the few added
        # otherwise run in the build folder of their directory, here all taken as one.
        folder = os.path.normpath(properties.get("WORKING_DIRECTORY", "(a directory's build folder)"))
        if not properties.get("RUN_SERIAL"):
            by_folder[folder].append((test["name"], set(properties.get("RESOURCE_LOCK", []))))
    return [(folder, name, other) for folder, tests in sorted(by_folder.items())
            for index, (name, locks) in enumerate(tests)
            for other, other_locks in tests[index + 1:] if not locks & other_locks]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    listing = json.loads(subprocess.run([sys.argv[1], "--show-only=json-v1"], cwd=sys.argv[2], check=True,
                                        capture_output=True, text=True, timeout=300).stdout)
    found = clashes(listing)
    for folder, first, second in found[:20]:
        print("%s and %s both run in %s without a lock in common" % (first, second, folder))
    if len(found) > 20:
        print("... and %d more pairs" % (len(found) - 20))
    print("%d tests checked, %d pairs may share a folder" % (len(listing["tests"]), len(found)))
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
