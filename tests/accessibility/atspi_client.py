# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a little of the game as a screen reader sees it, through the accessibility bus.

Starts the game on a private X display, finds its window among the applications on the
AT-SPI desktop, lists the window's tree, checks what a reader is told, presses letter
tiles and "Conferma" by their default actions and reads the verdict from the message
line. Runs inside a D-Bus session of its own (see run-atspi-test); every wait is bounded.
"""
import os
import re
import signal
import subprocess
import sys
import tempfile

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402
import pyatspi  # noqa: E402

from session import Failure, check, start_display, stop, wait_for, write_data  # noqa: E402

PRAISE = {"Ben fatto.", "OK.", "Grande!!!", "Parola esatta.", "Molto bene.", "Esatto!!!",
          "Perfetto!!!", "Funziona!!!", "Giusto!!!"}


def fresh(node):
    # Read the application's answers, not what the client remembered from before.
    Atspi.Accessible.clear_cache(node)
    return node


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def game_window(pid):
    desktop = fresh(pyatspi.Registry.getDesktop(0))
    for app in children(desktop):
        try:
            if app is not None and app.get_process_id() == pid:
                for window in children(fresh(app)):
                    if window is not None and window.childCount >= 20:
                        return window
        except Exception:  # an application that went away meanwhile
            continue
    return None


def tree(window):
    fresh(window)
    items = []
    for child in children(window):
        state = child.getState()
        items.append({"node": child, "name": child.name, "role": child.getRole(),
                      "enabled": state.contains(pyatspi.STATE_ENABLED)})
    return items


def named(items, name):
    return [i for i in items if i["name"] == name]


def press(item):
    action = item["node"].queryAction()
    check(action.nActions >= 1, item["name"] + " has no action")
    action.doAction(0)


def too_long(*_):
    raise Failure("took too long")


def main():
    game = os.path.abspath(sys.argv[1])
    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(90)
    display, process = None, None
    with tempfile.TemporaryDirectory() as data:
        try:
            display, os.environ["DISPLAY"] = start_display()
            write_data(data)
            env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       XDG_DATA_HOME=data)
            process = subprocess.Popen([game], cwd=data, env=env)
            window = wait_for("the game window", lambda: game_window(process.pid))
            # The window shows before start-up has dealt: read it once the deal is in.
            wait_for("the deal", lambda: len([i for i in tree(window) if re.fullmatch(
                r"Lettera [A-Z]", i["name"])]) == 7)

            items = tree(window)
            for item in items:
                print("%-14s %s%s" % (item["node"].getRoleName(), item["name"],
                                      "" if item["enabled"] else " (disabled)"))
            letters = [i for i in items if re.fullmatch(r"Lettera [A-Z]", i["name"])]
            check(len(letters) == 7, "seven letter tiles")
            check(sorted(i["name"][-1] for i in letters) == sorted("ABITARE"), "the dealt letters")
            check(all(i["role"] == pyatspi.ROLE_PUSH_BUTTON and i["enabled"] for i in letters),
                  "letter tiles are enabled buttons")
            for n in range(1, 8):
                check(len(named(items, "Parola, posizione %d, vuota" % n)) == 1, "word slot %d" % n)
            check(len(named(items, "Conferma")) == 1, "the Conferma button")
            names = [i["name"] for i in items]
            for absent in ("GIOCA", "GAME OVER", "NUOVO RECORD", "FRASE", "PERFETTO!!!"):
                check(absent not in names, absent + " is hidden and must be absent")
            check(not any(n.startswith("TOT FRASI") for n in names), "no storage labels")
            box = named(items, "Giocatore")
            check(len(box) == 1 and box[0]["role"] in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY),
                  "the name box is editable text named Giocatore")
            for label in ("Livello 1", "Punti 0"):
                check(label in names, label)
            check(any(n.startswith("Tempo ") for n in names), "the time")
            check(any(n.startswith("Record") for n in names), "the best score")

            # B, A, R by their tiles' default actions, then Conferma.
            for slot, letter in enumerate("BAR", start=1):
                press(named(tree(window), "Lettera " + letter)[0])
                wait_for("%s in the word" % letter, lambda: named(
                    tree(window), "Parola, posizione %d, %s" % (slot, letter)))
            press(named(tree(window), "Conferma")[0])
            verdict = wait_for("the verdict", lambda: [
                i["name"] for i in tree(window) if i["name"] in PRAISE])
            check("Punti 30" in [i["name"] for i in tree(window)], "BAR scores 30")
            print("verdict:", verdict[0])
            print("PASS")
            return 0
        except Failure as failure:
            print("FAIL:", failure, file=sys.stderr)
            return 1
        finally:
            signal.alarm(0)
            stop(process, display)


if __name__ == "__main__":
    sys.exit(main())
