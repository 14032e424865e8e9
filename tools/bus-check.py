#!/usr/bin/python3
"""Drives Korvel 98 by keys only and reads every page through the accessibility bus.

Run by tools/bus-check, which starts the X server, the session bus and the program. Arguments:
a text that only the wizard's entry of the drive to walk contains, and a JSON file of korvel98-scan's
figures for the same folder. The script presses the keys with xdotool, reads the window tree
with pyatspi, prints what it read, compares the listings and the charts with the scan tool's
figures, and exits non-zero when anything differs or cannot be reached.
"""

import json
import subprocess
import sys
import time

import pyatspi

faults = []


def fault(text):
    faults.append(text)
    print("FAULT:", text)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)
    time.sleep(0.4)


def focus_window(title):
    """Gives the X input focus to the window with the title (there is no window manager)."""
    for _ in range(100):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"],
                               capture_output=True, text=True).stdout.split()
        if found:
            subprocess.run(["xdotool", "windowfocus", "--sync", found[-1]], check=False)
            time.sleep(0.5)
            return
        time.sleep(0.2)
    fault("no window titled " + title)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower().startswith("korvel"):
                return app
        time.sleep(0.2)
    sys.exit("the program did not appear on the accessibility bus")


def window(app, start):
    for _ in range(100):
        for win in app:
            if win is not None and win.name.startswith(start):
                return win
        time.sleep(0.2)
    fault("no window on the bus named " + start)
    return None


def role(node):
    return node.getRoleName()


def has(node, state):
    return node.getState().contains(state)


def focused(app):
    """The control with the keyboard focus (an entry of a list counts only when its list has it)."""
    for win in app:
        for node in walk(win):
            if not has(node, pyatspi.STATE_FOCUSED):
                continue
            if role(node) in ("list item", "table cell") and not has(node.parent,
                                                                     pyatspi.STATE_FOCUSED):
                continue
            return node
    return None


def read_table(node):
    """A table as header row plus rows, each row led by its row header when it has one."""
    table = node.queryTable()
    headers = [table.getColumnDescription(c) for c in range(table.nColumns)]
    rows = []
    for r in range(table.nRows):
        cells = [table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
        rows.append([table.getRowDescription(r)] + cells)
    return headers, rows


def number(text):
    digits = "".join(ch for ch in text if ch.isdigit() or ch == ".")
    return float(digits) if digits else 0.0


def dump(page):
    """Prints every text of a page and returns its tables by name."""
    tables = {}
    for node in walk(page):
        if node is page:
            continue
        r = role(node)
        if r in ("table", "tree table", "list"):
            if r == "table":
                headers, rows = read_table(node)
                tables[node.name or "(listing %d)" % len(tables)] = (headers, rows)
                shown = "shown" if has(node, pyatspi.STATE_SHOWING) else "hidden"
                print("  table %r (%s): %s" % (node.name, shown, headers))
                for row in rows:
                    print("    ", row)
        elif node.name and r not in ("table cell", "column header", "row header", "list item"):
            print("  %s: %r%s" % (r, node.name,
                                  " -- " + node.description if node.description else ""))
    return tables


def pages_of(tabs):
    stack = tabs.getChildAtIndex(tabs.childCount - 1)
    return [stack.getChildAtIndex(i) for i in range(stack.childCount)]


def check_listings(scan, tables):
    types = tables.get("Types", {})
    listing = next((v for k, v in types.items() if v[0][:1] == ["Extension"]), None)
    if not listing:
        fault("the Types listing was not read")
    else:
        # Every row but the totals row, the files without an extension included.
        read = {row[1]: (number(row[4]), number(row[3])) for row in listing[1][:-1]}
        want = {}
        for entry in scan["lbTypes"]:
            ext, files, size = entry.split("\t")
            want[ext] = (float(files), float(size))
        if read != want:
            fault("Types listing %s differs from the scan %s" % (read, want))
    sizes = tables.get("Sizes", {})
    listing = next((v for k, v in sizes.items() if v[0][:1] == ["File size"]), None)
    if not listing:
        fault("the Sizes listing was not read")
    else:
        files = [number(row[3]) for row in listing[1]]
        if files != list(reversed(scan["sizeFiles"][-12:])):
            fault("Sizes listing %s differs from the scan %s" % (files, scan["sizeFiles"]))
    time_page = tables.get("Time", {})
    lines = next(iter(time_page.values()), None)
    if not lines:
        fault("the Time chart was not read")
    else:
        modified = [number(row[1]) for row in lines[1]]
        if modified != scan["hourModified"]:
            fault("Time chart %s differs from the scan %s" % (modified, scan["hourModified"]))
    for caption, heading, key in (("Access", "Accessed Date", "ageAccessedFiles"),
                                  ("Created", "Created Date", "ageCreatedFiles"),
                                  ("Modified", "Modified Date", "ageModifiedFiles")):
        listing = next((v for v in tables.get(caption, {}).values() if v[0][:1] == [heading]),
                       None)
        if not listing:
            fault("the %s listing was not read" % caption)
            continue
        counts = [number(row[3]) for row in listing[1]]
        if counts != list(reversed(scan[key])):
            fault("%s listing %s differs from the scan %s" % (caption, counts, scan[key]))


def check_machines(app, scan, stats):
    """The machines overview by keys: the Report menu's "Machines...", the history folder the
    folder dialog starts in taken with Enter, the run's host read as a row of the table, and Enter
    on it opening the host's newest collection in the statistics window."""
    focus_window("Statistics completed.*")
    keys("alt+r")
    keys("m")
    focus_window("Folder of collections")
    keys("Return")
    focus_window("Machines")
    machines = window(app, "Machines")
    if machines is None:
        return
    table = next((n for n in walk(machines) if role(n) == "table"), None)
    if table is None:
        fault("the machines window shows no table on the bus")
        return
    headers, rows = read_table(table)
    print("== machines %r: %s" % (table.name, headers))
    for row in rows:
        print("    ", row)
    if len(rows) != 1:
        fault("the machines table has %d rows, not the one host" % len(rows))
        return
    files = rows[0][1 + headers.index("Files")]
    if number(files) != scan["filesFound"]:
        fault("the machines table counts %s files, the scan %d" % (files, scan["filesFound"]))
    keys("Return")
    for _ in range(50):
        if stats.name.startswith("Statistics of"):
            break
        time.sleep(0.2)
    print("caption after Enter on the host:", stats.name)
    if not stats.name.startswith("Statistics of"):
        fault("Enter on the host did not open its newest collection")


def check_where(app, scan):
    """"Where the space is..." by keys: the Files tab (Ctrl+Tab from the folders) read as the table
    of every counted file, largest first, and the Owners tab's users adding up to the files
    found."""
    focus_window("Statistics completed.*")
    keys("alt+r")
    keys("w")
    focus_window("Where the space is")
    where = window(app, "Where the space is")
    if where is None:
        return
    tables = {}
    for caption in ("Files", "Owners"):
        keys("ctrl+Tab")
        print("== where the space is, tab %s (focus on %s)" % (caption, role(focused(app))))
        for node in walk(where):
            if role(node) == "table" and has(node, pyatspi.STATE_SHOWING):
                tables[node.name] = read_table(node)
                print("  table %r: %s" % (node.name, tables[node.name][0]))
                for row in tables[node.name][1][:5]:
                    print("    ", row)
    headers, rows = tables.get("Largest files", ([], []))
    if len(rows) != scan["filesFound"]:
        fault("the Files tab reads %d rows, the scan found %d files" % (len(rows),
                                                                          scan["filesFound"]))
    sizes = [number(row[1 + headers.index("Size")]) for row in rows] if rows else []
    if sizes != sorted(sizes, reverse=True):
        fault("the Files tab is not largest first")
    headers, rows = tables.get("Users", ([], []))
    files = sum(number(row[1 + headers.index("Files")]) for row in rows) if rows else 0
    if files != scan["filesFound"]:
        fault("the Owners tab's users hold %d files, the scan found %d" % (files,
                                                                           scan["filesFound"]))
    keys("Escape")


def main():
    ours, scan_file = sys.argv[1], sys.argv[2]
    scan = json.load(open(scan_file))
    app = application()

    # The main window: Alt+C opens the statistics window.
    focus_window("Korvel 98")
    keys("alt+c")
    stats_title = "File Statistics Not Yet Collected"
    focus_window(stats_title)
    stats = window(app, stats_title)

    # The run: Alt+C, then the wizard by keys: unpick every drive but ours, All files, OK.
    keys("alt+c")
    focus_window("Which drives and file types\\?")
    wizard = window(app, "Which drives")
    drives = next(n for n in walk(wizard) if role(n) == "list" and has(n, pyatspi.STATE_SHOWING))
    entries = [drives.getChildAtIndex(i) for i in range(drives.childCount)]
    print("wizard drives:", [e.name for e in entries])
    if not any(ours in e.name for e in entries):
        fault("the wizard does not list the drive " + ours)
    keys("Home")
    for entry in entries:
        if has(entry, pyatspi.STATE_SELECTED) != (ours in entry.name):
            keys("space")
        keys("Down")
    keys("Return")  # Next >>
    keys("Return")  # All files: the wizard ends
    time.sleep(1)
    focus_window("Information")
    keys("Return")  # the note that the drive will be scanned
    for _ in range(150):
        if stats.name.startswith("Statistics completed"):
            break
        time.sleep(0.2)
    print("caption after the run:", stats.name)
    if not stats.name.startswith("Statistics completed"):
        fault("the run did not finish")

    tabs = next(n for n in walk(stats) if role(n) == "page tab list")
    captions = [tabs.getChildAtIndex(i).name for i in range(tabs.childCount - 1)]
    print("page tabs:", captions)
    tables = {}
    focus_window("Statistics completed.*")
    for step in range(len(captions)):
        front = [tabs.getChildAtIndex(i) for i in range(len(captions))
                 if has(tabs.getChildAtIndex(i), pyatspi.STATE_SELECTED)]
        caption = front[0].name if front else "?"
        page = next(p for p in pages_of(tabs) if p.name == caption)
        print("== page %s (reached by keys; focus on %s)" % (caption, role(focused(app))))
        tables[caption] = dump(page)
        # Each view of the page, chosen with the arrow keys from the radio button Tab reaches.
        for _ in range(25):
            node = focused(app)
            if node is not None and role(node) == "radio button":
                break
            keys("Tab")
        else:
            node = None
        if node is not None:
            for _ in range(4):
                keys("Right")
                now = focused(app)
                print("-- view %r" % now.name)
                more = dump(page)
                for name, table in more.items():
                    tables[caption].setdefault(name, table)
        keys("ctrl+Tab")
    check_listings(scan, tables)
    check_where(app, scan)
    check_machines(app, scan, stats)
    print("RESULT: %d pages read, %d faults" % (len(tables), len(faults)))
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
