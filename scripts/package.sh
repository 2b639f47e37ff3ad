#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Builds the Debian packages into dist/: tallyvane_<version>_<arch>.deb (the
# program) and tallyvane-dev_<version>_<arch>.deb (the page printer and hover
# label libraries, headers, CMake package and API reference). Installs what it
# needs with apt-get (doxygen among it); builds in Release only what the
# packages hold (build/package), the API reference (target docs) included.
#   scripts/package.sh
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh package
build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTALLYVANE_TESTS=OFF -DTALLYVANE_BENCH=OFF -DTALLYVANE_EXAMPLES=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
cmake --build "$build" --target docs
rm -rf "$build/cpack" dist
mkdir -p dist
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$PWD/$build/cpack"
cp "$build"/cpack/*.deb dist/
ls -l dist
