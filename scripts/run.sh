#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Tallyvane and starts it. Without a display it
# starts a virtual one (Xvfb) so the program still runs.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYVANE_TESTS=OFF -DTALLYVANE_BENCH=OFF
cmake --build build/release --target tallyvane
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Xvfb on :77 (view it with a VNC viewer or x11vnc)."
  Xvfb :77 -screen 0 1024x768x24 >/dev/null 2>&1 &
  sleep 1
  export DISPLAY=:77
fi
exec build/release/app/tallyvane
