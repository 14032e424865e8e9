#!/usr/bin/python3
"""Walks the trends window by keys only and reads its tabs through the accessibility bus.

Run by tools/trends-bus-check, which starts the X server, the session bus and the program, and
leaves the scan tool's CSV tables of the same history in the folder given as the argument. Prints
what it read and exits non-zero when a tab cannot be reached or a figure differs.
"""

import csv
import importlib.machinery
import os
import sys
import types

# The helpers of the main bus check (keys, windows, tables); its name has a dash, so it is loaded
# by path.
loader = importlib.machinery.SourceFileLoader(
    "buscheck", os.path.join(os.path.dirname(os.path.abspath(__file__)), "bus-check.py"))
bus = types.ModuleType(loader.name)
loader.exec_module(bus)

MEBIBYTE = 1024 * 1024


def rows_of(work, page):
    with open(os.path.join(work, page + ".csv"), newline="") as f:
        return list(csv.reader(f))


def showing_tables(win):
    found = {}
    for node in bus.walk(win):
        if bus.role(node) == "table" and bus.has(node, bus.pyatspi.STATE_SHOWING):
            found[node.name] = bus.read_table(node)
    return found


def named(read, name):
    """A table by its name; a chart's name on the bus is led by its tab's caption."""
    return next((t for k, t in read.items() if k == name or k.endswith(" - " + name)), None)


def main():
    work = sys.argv[1]
    app = bus.application()
    bus.focus_window("Trends")
    win = bus.window(app, "Trends")
    if win is None:
        sys.exit(1)
    read = {}
    for tab in ("Space", "Types", "Folders", "Ages"):
        tables = showing_tables(win)
        print(tab, "tab:", sorted(tables))
        read.update(tables)
        bus.keys("ctrl+Tab")

    space = named(read, "Used space over time")
    if not space:
        bus.fault("the Space chart was not read")
    else:
        headers, rows = space
        used = {row[0]: bus.number(row[1 + headers.index("C: used")]) for row in rows}
        for date, used_bytes, _ in rows_of(work, "space")[1:]:
            want = round(int(used_bytes) / MEBIBYTE)
            if used.get(date[:10]) != want:
                bus.fault("Space %s: read %s, the collection says %s MB" %
                          (date, used.get(date[:10]), want))
    for name, page in (("Types by growth", "types"), ("Folders by growth", "folders")):
        table = named(read, name)
        if not table:
            bus.fault("the %s table was not read" % name)
            continue
        got = {row[1]: (bus.number(row[2]), bus.number(row[3])) for row in table[1]}
        want = {r[0]: (float(r[1]), float(r[2])) for r in rows_of(work, page)[1:]}
        if got != want:
            bus.fault("%s: read %s, the collections say %s" % (name, got, want))
    ages = named(read, "Cold bytes over time")
    if not ages:
        bus.fault("the Ages chart was not read")
    else:
        got = [round(bus.number(row[1]), 1) for row in ages[1]]
        want = [round(float(r[1]), 1) for r in rows_of(work, "ages")[1:]]
        if got != want:
            bus.fault("Ages: read %s, the collections say %s" % (got, want))
    print("%d faults" % len(bus.faults))
    sys.exit(1 if bus.faults else 0)


main()
