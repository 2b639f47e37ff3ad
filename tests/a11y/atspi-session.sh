#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Runs a command inside a private desktop session that a screen reader could
# use: a display, a D-Bus session bus, the accessibility bus with its registry
# (at-spi2-core), and Qt told to speak to it. The display is a virtual X
# display (Xvfb; Qt's xcb platform) or, with --wayland, Weston's headless
# compositor with no X server at all (Qt's wayland platform). Everything
# started here is stopped when the command ends, whatever its outcome
# (tests/a11y/session.sh).
#
#   atspi-session.sh [--wayland] SCRIPT.py [ARG...]    runs the script with Debian's python3
#
# Exits 77 (skipped) when a piece of the session is not installed; with
# --wayland also when Qt's Wayland platform plugin is missing (qt6-wayland),
# looked for in TALLYVANE_QT_PLUGIN_DIR (default: qtpaths6's plugin folder).
set -eu
display=x11
if [ "${1:-}" = "--wayland" ]; then
  display=wayland
  shift
fi
. "$(dirname "$0")/session.sh"

session_need_atspi
if [ "$display" = wayland ]; then
  plugins=${TALLYVANE_QT_PLUGIN_DIR:-$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || true)}
  [ -e "$plugins/platforms/libqwayland-generic.so" ] ||
    skip "Qt's Wayland platform plugin is not installed (qt6-wayland)"
  session_start_weston
  QT_QPA_PLATFORM=wayland
else
  session_start_xvfb
  QT_QPA_PLATFORM=xcb
fi
export QT_QPA_PLATFORM
session_start_atspi

# The scripts import each other from the source tree; no byte code is left there.
PYTHONDONTWRITEBYTECODE=1
export PYTHONDONTWRITEBYTECODE
status=0
"$session_python" "$@" || status=$?
exit "$status"
