# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# The pieces of a private desktop session, sourced by the scripts that need one
# (tests/a11y/atspi-session.sh, scripts/screenshot-dark.sh). Each piece checks
# that it is installed (else the script exits 77, skipped) and records what it
# starts; everything is stopped, newest first, and the scratch folder removed
# when the sourcing script exits, whatever its outcome.
#
#   . tests/a11y/session.sh
#   session_start_xvfb          a virtual X display (Xvfb); sets DISPLAY
#   session_start_weston        Weston's headless back end, no X server and no
#                               Xwayland; sets WAYLAND_DISPLAY, unsets DISPLAY
#   session_start_dbus          a D-Bus session bus; sets DBUS_SESSION_BUS_ADDRESS
#   session_need_atspi          skips unless D-Bus, at-spi2-core and pyatspi are there
#   session_start_atspi         a D-Bus session bus and the accessibility bus
#   session_started PID         one more process for the clean-up to stop
#
# session_work is the scratch folder; session_python is Debian's python3.

skip() { echo "skipped: $1"; exit 77; }

session_work=$(mktemp -d /tmp/tallyvane-session.XXXXXX)
session_pids=""
session_started() { session_pids="$1 $session_pids"; }
session_cleanup() {
  # Only what this session started, newest first, each waited for.
  for pid in $session_pids; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in $session_pids; do
    wait "$pid" 2>/dev/null || true
  done
  session_pids=""
  rm -rf "$session_work"
}
trap session_cleanup EXIT
trap 'exit 130' INT TERM

# The runtime folder the buses and the compositor put their sockets in: private
# to this session, never the caller's.
XDG_RUNTIME_DIR=$session_work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR

# session_wait_for WHAT PID TEST...: polls TEST for 10 s; fails with the log
# $session_work/WHAT.log when it stays false or the process PID ends first.
session_wait_for() {
  what=$1 pid=$2
  shift 2
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$pid" 2>/dev/null; then
      cat "$session_work/$what.log" 2>/dev/null || true
      echo "$what did not start"
      exit 1
    fi
    sleep 0.1
  done
}

session_start_xvfb() {
  command -v Xvfb >/dev/null || skip "Xvfb is not installed (xvfb)"
  # Xvfb picks a free display number and writes it to the descriptor it is given.
  # -noreset: an X server resets when its last client leaves, and a client that
  # connects meanwhile (the program, as a helper of the session drops its
  # connection) can be turned away; with the tests run in parallel that failed
  # about one run in thirty.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$session_work/display" >"$session_work/Xvfb.log" 2>&1 &
  session_started $!
  session_wait_for Xvfb $! test -s "$session_work/display"
  DISPLAY=:$(cat "$session_work/display")
  export DISPLAY
}

session_start_weston() {
  command -v weston >/dev/null || skip "Weston is not installed (weston)"
  # A socket name of its own, so that no other compositor's clients find it.
  WAYLAND_DISPLAY=tallyvane-$$
  # No configuration file (nor the caller's), no Xwayland (that needs
  # --xwayland), no screen blanking while the test runs.
  weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --no-config --idle-time=0 \
    --log="$session_work/weston.log" >"$session_work/weston.out" 2>&1 &
  session_started $!
  session_wait_for weston $! test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"
  export WAYLAND_DISPLAY
  # Nothing may fall back to an X server.
  unset DISPLAY
}

session_python=${TALLYVANE_ATSPI_PYTHON:-/usr/bin/python3}
session_atspi_launcher=/usr/libexec/at-spi-bus-launcher
session_need_atspi() {
  command -v dbus-launch >/dev/null || skip "dbus-launch is not installed (dbus-x11)"
  [ -x "$session_atspi_launcher" ] || skip "the accessibility bus is not installed (at-spi2-core)"
  # Debian's Python, which has the bindings, whatever python3 comes first on PATH.
  "$session_python" -c 'import pyatspi' 2>/dev/null || skip "pyatspi is not installed (python3-pyatspi)"
}

# A D-Bus session bus of its own, so that no program of the session starts one
# through X (libdbus's autolaunch) that would outlive it. Without DISPLAY
# (under Weston) dbus-launch starts the bus and nothing else.
session_start_dbus() {
  command -v dbus-launch >/dev/null || skip "dbus-launch is not installed (dbus-x11)"
  eval "$(dbus-launch --sh-syntax)"
  export DBUS_SESSION_BUS_ADDRESS
  session_started "$DBUS_SESSION_BUS_PID"
}

session_start_atspi() {
  session_need_atspi
  session_start_dbus
  "$session_atspi_launcher" --launch-immediately >"$session_work/launcher.log" 2>&1 &
  session_started $!
  # Qt joins the accessibility bus even though no desktop setting asks it to.
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  NO_AT_BRIDGE=0
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON NO_AT_BRIDGE
}
