# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
"""The main window as a native Wayland client, read and driven through AT-SPI.

Starts the program on Qt's wayland platform, checks that it is a Wayland client
(Qt's Wayland client library loaded, no xcb), that its window comes up with the
caption, types the loan terms through the boxes' editable text (the headless
compositor has no keyboard), presses Calculate through its accessible action,
reads the summary, ends the program with Exit's action and checks that it wrote
nothing to its standard error (Qt's warnings go there).
Run inside tests/a11y/atspi-session.sh --wayland:  wayland_window.py PROGRAM CAPTION
"""
import os
import subprocess
import sys
import tempfile

import main_window
from main_window import TIMEOUT, application, check_equal, controls, press, summary, wait_for


def mapped_libraries(pid):
    with open(f"/proc/{pid}/maps", encoding="utf-8") as maps:
        return {os.path.basename(line.split()[-1]) for line in maps if "/" in line}


def stderr_lines(log):
    log.seek(0)
    return [line.rstrip("\n") for line in log.read().decode("utf-8", "replace").splitlines() if line.strip()]


def main(program, caption):
    if os.environ.get("QT_QPA_PLATFORM") != "wayland" or not os.environ.get("WAYLAND_DISPLAY"):
        raise AssertionError("run inside atspi-session.sh --wayland")
    if os.environ.get("DISPLAY"):
        raise AssertionError("an X display is set: " + os.environ["DISPLAY"])
    with tempfile.TemporaryFile() as log:
        proc = main_window.PROGRAM = subprocess.Popen([program], stderr=log)
        try:
            app = wait_for("the program on the accessibility bus", lambda: application(proc.pid))
            wait_for("the main window", lambda: controls(app, "push button"))
            check_equal("windows", [w.name for w in app], [caption])
            check_equal("warnings on start", stderr_lines(log), [])

            libraries = mapped_libraries(proc.pid)
            if not any(name.startswith("libQt6WaylandClient.so") for name in libraries):
                raise AssertionError("Qt's Wayland client library is not loaded")
            if "libqxcb.so" in libraries:
                raise AssertionError("the xcb platform plugin is loaded")

            boxes = controls(app, "text")
            check_equal("boxes", sorted(boxes), sorted(["Amount", "Annual Interest", "No. of Payments"]))
            for name, text in (("Amount", "1000"), ("Annual Interest", "12"), ("No. of Payments", "12")):
                boxes[name].queryEditableText().setTextContents(text)
            buttons = controls(app, "push button")
            press(buttons["Calculate"])
            values = wait_for("the summary", lambda: summary(app).get("Payments") == "$88.85" and summary(app))
            check_equal("summary", values, {"Payments": "$88.85", "Total Interest": "$65.36",
                                            "Total Principal": "$1,000.00", "Total": "$1,065.36"})

            press(buttons["Exit"])
            check_equal("exit status", proc.wait(timeout=TIMEOUT), 0)
            check_equal("warnings", stderr_lines(log), [])
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
    print("the main window works as a Wayland client through AT-SPI")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
