#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Takes a screenshot of the main window in a dark colour scheme, after
# calculating 1000 at 12% over 12 monthly payments, with the pointer over
# Calculate (its hover highlight showing), and checks that it is not blank.
#
#   scripts/screenshot-dark.sh [PROGRAM [PNG]]
#     default: build/test/app/tallyvane and docs/main-window-dark.png
#
# Nothing in the program is changed for it: on a private Xvfb display with the
# openbox window manager (tests/a11y/session.sh), the program runs with the
# Fusion style (-style Fusion) and a dark palette from Qt's own KDE platform
# theme (QT_QPA_PLATFORMTHEME=kde, KDE_SESSION_VERSION=5), which reads the
# colours of a kdeglobals file in a private XDG_CONFIG_HOME: those of KDE's
# Breeze Dark scheme. The values are typed with xdotool and the window is taken
# with ImageMagick's import.
# Exits 77 (skipped) when Xvfb, dbus-launch, openbox, xdotool or ImageMagick is
# missing.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/test/app/tallyvane}
output=${2:-$here/docs/main-window-dark.png}
. "$here/tests/a11y/session.sh"

command -v openbox >/dev/null || skip "openbox is not installed (openbox)"
command -v xdotool >/dev/null || skip "xdotool is not installed (xdotool)"
{ command -v import && command -v convert; } >/dev/null || skip "ImageMagick is not installed (imagemagick)"
[ -x "$program" ] || { echo "no program at $program (build it first)"; exit 1; }

session_start_xvfb
session_start_dbus
# openbox runs its --startup command once it manages the display.
openbox --sm-disable --startup "touch $session_work/openbox.ready" >"$session_work/openbox.log" 2>&1 &
session_started $!
session_wait_for openbox $! test -e "$session_work/openbox.ready"

XDG_CONFIG_HOME=$session_work/config
mkdir -p "$XDG_CONFIG_HOME"
cat >"$XDG_CONFIG_HOME/kdeglobals" <<'EOF'
[Colors:Window]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241
[Colors:Button]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241
[Colors:View]
BackgroundNormal=35,38,41
BackgroundAlternate=49,54,59
ForegroundNormal=239,240,241
[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=239,240,241
[Colors:Tooltip]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241
EOF
# US formats as in the other screenshots; no print server is asked for anything.
QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=kde KDE_SESSION_VERSION=5 XDG_CONFIG_HOME=$XDG_CONFIG_HOME \
  LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 CUPS_SERVER=$session_work/no-print-server.sock \
  "$program" -style Fusion >"$session_work/program.log" 2>&1 &
session_started $!
program_pid=$!

window=$(xdotool search --sync --name "Tallyvane v" | head -n 1)
xdotool windowfocus --sync "$window"
# The focus starts in the amount box; Enter moves on to the next box.
xdotool type --delay 20 1000
xdotool key Return
xdotool type --delay 20 12
xdotool key Return
xdotool type --delay 20 12
# A click on Calculate (at 12,10 in the window, 73 by 17); the pointer stays
# over it, so its hover highlight shows.
xdotool mousemove --window "$window" --sync 48 18 click 1

# The window (its client area), once the table is filled (its first cells are no
# longer one plain colour).
shot=$session_work/shot.png
tries=0
while :; do
  import -window "$window" "$shot"
  colours=$(convert "$shot" -crop 380x60+215+65 +repage -format '%k' info:)
  [ "$colours" -lt 20 ] || break
  tries=$((tries + 1))
  if [ "$tries" -gt 50 ] || ! kill -0 "$program_pid" 2>/dev/null; then
    cat "$session_work/program.log"
    cp "$shot" "${output%.png}-failed.png" 2>/dev/null || true
    echo "the table was not filled in time (last try: ${output%.png}-failed.png)"
    exit 1
  fi
  sleep 0.1
done

# Not blank, and dark: many colours, a low mean brightness.
colours=$(convert "$shot" -format '%k' info:)
mean=$(convert "$shot" -colorspace Gray -format '%[fx:int(mean*100)]' info:)
size=$(convert "$shot" -format '%wx%h' info:)
[ "$size" = 605x350 ] || { echo "the window is $size, not 605x350"; exit 1; }
[ "$colours" -ge 50 ] || { echo "the screenshot is blank ($colours colours)"; exit 1; }
[ "$mean" -le 40 ] || { echo "the screenshot is not dark (mean brightness $mean%)"; exit 1; }
if [ -s "$session_work/program.log" ]; then
  echo "the program wrote:"
  cat "$session_work/program.log"
fi
mkdir -p "$(dirname "$output")"
cp "$shot" "$output"
echo "dark screenshot: $output ($size, $colours colours, mean brightness $mean%)"
