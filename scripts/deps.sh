#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Installs the Debian packages Tallyvane needs to build, run and test, when any is missing.
# Usage: scripts/deps.sh [run|test|package]
set -eu
kind=${1:-test}
packages="cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl-dev libharfbuzz-dev
  libfontconfig-dev libfreetype-dev fonts-liberation fonts-dejavu-core"
if [ "$kind" = run ]; then
  packages="$packages xvfb"
elif [ "$kind" = package ]; then
  # cpack's dpkg-shlibdeps, and the checks of the package stage.
  # qt6-tools-dev: the Designer plugin in the -dev package; doxygen: its API reference.
  packages="$packages qt6-tools-dev doxygen dpkg-dev file desktop-file-utils appstream lintian man-db xvfb xdotool"
else
  # weston, qt6-wayland and Mesa's EGL with its software driver (only recommended
  # by libegl1 and weston; without them Qt on Wayland warns "EGL not available"):
  # the Wayland test. openbox: the dark-scheme screenshot. The fonts: one of each kind
  # the PDF tests print with (CFF, Type 1, bitmap, variable, a TrueType collection).
  packages="$packages libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-dev
    cups cups-client poppler-utils qt6-tools-dev qt6-tools-dev-tools libqt6opengl6-dev valgrind xvfb imagemagick
    xdotool at-spi2-core python3-pyatspi dbus-x11 weston qt6-wayland libegl-mesa0 libgl1-mesa-dri openbox doxygen
    reuse clang-format clang-tidy
    fonts-cantarell fonts-urw-base35 fonts-terminus-otb fonts-inter-variable fonts-wqy-zenhei locales"
fi
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
