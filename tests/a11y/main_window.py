# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
"""The main window as a screen reader meets it, through AT-SPI.

Starts the program, finds its five commands as push buttons and its boxes by
their captions, types the loan terms through the boxes' editable text, presses
Calculate through its accessible action, reads the summary and the table,
recalculates from the keyboard (F9) and ends the program with Exit's action.
Run inside tests/a11y/atspi-session.sh:  main_window.py PROGRAM
"""
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 30.0
PROGRAM = None  # the process under test, once started


def proc_died():
    return PROGRAM is not None and PROGRAM.poll() is not None


def wait_for(what, probe):
    """Polls until probe() returns something true; fails after TIMEOUT."""
    end = time.monotonic() + TIMEOUT
    while True:
        value = probe()
        if proc_died():
            raise AssertionError("the program ended while waiting for " + what)
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(0.1)


def walk(node):
    yield node
    if node.getRoleName() == "table":
        return  # its cells are read through the table interface
    for child in node:
        if child is not None:
            yield from walk(child)


def check_equal(what, actual, expected):
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def controls(app, role):
    return {n.name: n for n in walk(app) if n.getRoleName() == role and n.getState().contains(pyatspi.STATE_SHOWING)}


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check_equal(button.name + " actions", names, ["Press"])
    action.doAction(0)


def summary(app):
    return {n.description: n.name for n in walk(app) if n.getRoleName() == "label" and n.description}


def main(program):
    global PROGRAM
    proc = PROGRAM = subprocess.Popen([program])
    try:
        app = wait_for("the program on the accessibility bus", lambda: application(proc.pid))
        wait_for("the main window", lambda: controls(app, "push button"))
        frames = [w.name for w in app]
        check_equal("windows", frames, [" Tallyvane v1.5a"])

        buttons = controls(app, "push button")
        check_equal("commands", sorted(buttons), sorted(["Calculate", "Print", "Help", "About", "Exit"]))
        check_equal("Calculate's description", buttons["Calculate"].description, "Calculate table")
        check_equal("About's description", buttons["About"].description, "About Tallyvane")

        boxes = controls(app, "text")
        check_equal("boxes", sorted(boxes), sorted(["Amount", "Annual Interest", "No. of Payments"]))
        for name, text in (("Amount", "1000"), ("Annual Interest", "12"), ("No. of Payments", "12")):
            boxes[name].queryEditableText().setTextContents(text)
        radios = controls(app, "radio button")
        check_equal("payment rates", sorted(radios), ["Monthly", "Weekly"])

        press(buttons["Calculate"])
        values = wait_for("the summary", lambda: summary(app).get("Payments") == "$88.85" and summary(app))
        check_equal("summary", values, {"Payments": "$88.85", "Total Interest": "$65.36",
                                        "Total Principal": "$1,000.00", "Total": "$1,065.36"})
        table = [n for n in walk(app) if n.getRoleName() == "table"][0].queryTable()
        check_equal("table rows", table.nRows, 12)
        check_equal("headings", [table.getColumnHeader(c).name for c in range(table.nColumns)],
                    ["Payment", "Principal", "Interest", "Balance"])
        check_equal("first payment", table.getAccessibleAt(0, 0).name, "$88.85")
        grid = [n for n in walk(app) if n.getRoleName() == "table"][0]
        check_equal("heading row", [grid[i].name for i in range(5)], ["#", "Payment", "Principal", "Interest", "Balance"])

        # From the keyboard: the focus in a box, F9 recalculates.
        boxes["No. of Payments"].queryEditableText().setTextContents("24")
        window = subprocess.run(["xdotool", "search", "--sync", "--name", "Tallyvane v1.5a"],
                                check=True, capture_output=True, text=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        boxes["Annual Interest"].queryComponent().grabFocus()
        wait_for("the focus in the rate box", lambda: boxes["Annual Interest"].getState().contains(pyatspi.STATE_FOCUSED))
        subprocess.run(["xdotool", "key", "F9"], check=True)
        wait_for("24 rows after F9", lambda: table.nRows == 24)

        press(buttons["Exit"])
        check_equal("exit status", proc.wait(timeout=TIMEOUT), 0)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    print("the main window reads and works through AT-SPI")


if __name__ == "__main__":
    main(sys.argv[1])
