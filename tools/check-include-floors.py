#!/usr/bin/env python3
"""Fails when a source file includes one from a higher floor of the house.

Kelto's floors, lowest first (folders on one floor may include each other):
    common < calendar < store < widgets < {examinees, testrun, scoring, profile, backup, info, update} < app
The updater is a program of its own and stands on common and widgets only.
Usage: tools/check-include-floors.py [SOURCE_FOLDER]   (src/ of this checkout unless told)
"""
import pathlib
import re
import sys

FLOORS = {
    "common": 1,
    "calendar": 2,
    "store": 3,
    "widgets": 4,
    **{folder: 5 for folder in ("examinees", "testrun", "scoring", "profile", "backup", "info", "update")},
    "app": 6,
}
# Folders that stand apart from the floors, with the folders they may include.
APART = {"updater": {"common", "widgets", "updater"}}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/[^"]+"', re.MULTILINE)


def may_include(folder, included):
    if folder in APART:
        return included in APART[folder]
    if included in APART or included not in FLOORS:
        return False
    return FLOORS[included] <= FLOORS[folder]


def main():
    source = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
    wrong = []
    for path in sorted(source.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        folder = path.relative_to(source).parts[0]
        if folder not in FLOORS and folder not in APART:
            wrong.append(f"{path}: the folder {folder}/ has no floor")
            continue
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if not may_include(folder, included):
                wrong.append(f"{path}: {folder}/ includes from {included}/")
    for line in wrong:
        print(line)
    if wrong:
        print(f"{len(wrong)} includes point up the floors")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
