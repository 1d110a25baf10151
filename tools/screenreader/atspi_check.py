#!/usr/bin/python3
"""What a screen reader sees of a running KMC: finds the client in the accessibility
tree, gives its input line the focus and types "#open HOST PORT" and Enter there (with
xdotool, as a keyboard would), then waits until the practice MUD's greeting is both in
the console's text and announced as inserted text.

    atspi_check.py PORT [EXPECTED]

Prints the console text it found and each announced insertion; exits 0 on success.
Needs the AT-SPI bus (at-spi2-core), pyatspi (python3-pyatspi) and xdotool."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PORT = sys.argv[1]
EXPECTED = sys.argv[2] if len(sys.argv) > 2 else "Willkommen in Moosbach!"
DEADLINE = time.monotonic() + 60
inserted = []
state = {"typed": False, "ok": False}


def find(acc, test):
    """Depth-first search for the first accessible that passes test."""
    try:
        if test(acc):
            return acc
        for i in range(acc.childCount):
            hit = find(acc.getChildAtIndex(i), test)
            if hit is not None:
                return hit
    except Exception:  # objects vanish while we walk; look again next time
        pass
    return None


def client():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "kmc":
            return app
    return None


def on_insert(event):
    if event.source is not None and event.source.name == "Ausgabe":
        inserted.append(str(event.any_data))
        print("announced:", repr(event.any_data))


def poll():
    app = client()
    if app is None:
        return keep_going()
    if not state["typed"]:
        line = find(app, lambda a: a.name == "Eingabezeile")
        if line is not None:
            # As the player types: the keyboard goes to the window, the input line has it.
            line.queryComponent().grabFocus()
            subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Kelmoth", "windowfocus", "--sync",
                            "type", "--delay", "20", "#open 127.0.0.1 " + PORT], check=True)
            subprocess.run(["xdotool", "key", "Return"], check=True)
            state["typed"] = True
        return keep_going()
    console = find(app, lambda a: a.name == "Ausgabe" and a.getRoleName() == "terminal")
    shown = console.queryText().getText(0, -1) if console is not None else ""
    if EXPECTED in shown and any(EXPECTED in i for i in inserted):
        print("console text, last lines:\n" + shown[-400:])
        state["ok"] = True
        pyatspi.Registry.stop()
        return False
    return keep_going()


def keep_going():
    if time.monotonic() > DEADLINE:
        app = client()
        console = app and find(app, lambda a: a.name == "Ausgabe")
        line = app and find(app, lambda a: a.name == "Eingabezeile")
        print("timed out; typed:", state["typed"], "; announced:", inserted)
        print("input line:", line and repr(line.queryText().getText(0, -1)))
        print("console:", console and repr(console.queryText().getText(0, -1)[-300:]))
        pyatspi.Registry.stop()
        return False
    return True


pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")
GLib.timeout_add(300, poll)
pyatspi.Registry.start()
sys.exit(0 if state["ok"] else 1)
