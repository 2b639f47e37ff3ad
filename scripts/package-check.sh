#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# The package stage of the test command: builds the packages, validates the
# desktop entry, the AppStream data, the manual pages and the packages
# (lintian), finds the API reference in tallyvane-dev, installs them with
# apt-get, runs both installed programs, removes them and checks that none of
# their files remain. Needs root.
set -eu
cd "$(dirname "$0")/.."
started=$(date +%s)
scripts/package.sh
build=build/package
app_id=org.tallyvane.Tallyvane
work=$(mktemp -d /tmp/tallyvane-package.XXXXXX)
xvfb_pid=""
program_pid=""
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "-- desktop entry, AppStream data, manual pages"
desktop-file-validate "$build/data/$app_id.desktop"
appstreamcli validate --no-net "$build/data/$app_id.metainfo.xml"
for page in "$build"/data/man/*.1; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done

echo "-- lintian"
# No errors; the warnings are overridden with reasons in data/lintian/.
lintian --fail-on error dist/*.deb

echo "-- the API reference in the development package"
# grep -c reads the whole listing (-q would stop dpkg-deb with a broken pipe).
dpkg-deb -c dist/tallyvane-dev_*.deb | grep -c '/usr/share/doc/tallyvane-dev/html/classTPagePrinter\.html$' >/dev/null \
  || { echo "tallyvane-dev lacks the API reference (/usr/share/doc/tallyvane-dev/html)"; exit 1; }

echo "-- install"
for deb in dist/*.deb; do dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' >> "$work/files"; done
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./dist/*.deb >/dev/null
LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 /usr/bin/tallyvane-schedule 1000 12 12 > "$work/installed.out"
LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 "$build/cli/tallyvane-schedule" 1000 12 12 > "$work/built.out"
cmp "$work/installed.out" "$work/built.out"
[ "$(wc -l < "$work/installed.out")" -eq 17 ] || { cat "$work/installed.out"; exit 1; }

echo "-- the installed program's window under Xvfb"
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
DISPLAY=$display /usr/bin/tallyvane >/dev/null 2>&1 &
program_pid=$!
DISPLAY=$display timeout 30 xdotool search --sync --onlyvisible --name '^ Tallyvane v' >/dev/null
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""

echo "-- remove"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tallyvane tallyvane-dev >/dev/null
left=""
while read -r path; do
  if [ ! -d "$path" ] && { [ -e "$path" ] || [ -L "$path" ]; }; then left="$left $path"; fi
done < "$work/files"
[ -z "$left" ] || { echo "left behind after removal:$left"; exit 1; }
echo "package checks passed in $(($(date +%s) - started)) s"
