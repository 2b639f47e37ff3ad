#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Runs a command inside a private desktop session that a screen reader could
# use: a virtual X display (Xvfb), a D-Bus session bus, the accessibility bus
# with its registry (at-spi2-core), and Qt told to speak to it. Everything
# started here is stopped when the command ends, whatever its outcome.
#
#   atspi-session.sh SCRIPT.py [ARG...]    runs the script with Debian's python3
#
# Exits 77 (skipped) when a piece of the session is not installed.
set -eu

skip() { echo "skipped: $1"; exit 77; }
command -v Xvfb >/dev/null || skip "Xvfb is not installed (xvfb)"
command -v dbus-launch >/dev/null || skip "dbus-launch is not installed (dbus-x11)"
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || skip "the accessibility bus is not installed (at-spi2-core)"
# Debian's Python, which has the bindings, whatever python3 comes first on PATH.
python=${TALLYVANE_ATSPI_PYTHON:-/usr/bin/python3}
"$python" -c 'import pyatspi' 2>/dev/null || skip "pyatspi is not installed (python3-pyatspi)"

work=$(mktemp -d /tmp/tallyvane-atspi.XXXXXX)
xvfb_pid=""
launcher_pid=""
DBUS_SESSION_BUS_PID=""
cleanup() {
  # Only what this script started, newest first.
  [ -z "$launcher_pid" ] || kill "$launcher_pid" 2>/dev/null || true
  [ -z "$DBUS_SESSION_BUS_PID" ] || kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display number and writes it to the descriptor it is given.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
tries=0
until [ -s "$work/display" ]; do
  tries=$((tries + 1))
  [ "$tries" -le 100 ] || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
  sleep 0.1
done
DISPLAY=:$(cat "$work/display")
export DISPLAY

eval "$(dbus-launch --sh-syntax)"
export DBUS_SESSION_BUS_ADDRESS
XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
launcher_pid=$!

# Qt joins the accessibility bus even though no desktop setting asks it to.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
QT_QPA_PLATFORM=xcb
NO_AT_BRIDGE=0
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_QPA_PLATFORM NO_AT_BRIDGE
status=0
"$python" "$@" || status=$?
exit "$status"
