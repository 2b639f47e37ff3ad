#!/bin/sh
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# A CUPS queue that captures print jobs as files, for end-to-end printing tests.
#
#   cups-capture.sh start DIR        install the backend, start a private cupsd,
#                                    add the raw queue "tallyvane-capture" storing
#                                    jobs in DIR and make it that scheduler's default;
#                                    a second raw queue "tallyvane-capture-2" stores
#                                    its jobs in DIR/second (for choosing a printer)
#   cups-capture.sh wait-jobs [SECS] wait until the queue has no pending job (default 60 s)
#   cups-capture.sh stop             stop the private cupsd and remove its state
#   cups-capture.sh status           show the scheduler, the queue and the default printer
#
# Must run as root (it installs a backend and runs a scheduler). The scheduler is
# the script's own: its configuration, spool and state live in STATE_DIR and it
# listens only on its own socket (TALLYVANE_CAPTURE_SERVER, by default
# /run/tallyvane-capture/cupsd.sock), so the machine's CUPS set-up is neither
# used nor changed. Clients reach it with CUPS_SERVER set to that socket; the
# end-to-end tests get it from CTest.
set -eu

QUEUE=tallyvane-capture
SECOND_QUEUE=tallyvane-capture-2
HERE=$(cd "$(dirname "$0")" && pwd)
BACKEND_SRC=$HERE/tallyvane-capture
BACKEND_DIR=/usr/lib/cups/backend
CONFIG_FILE=/etc/tallyvane-capture-dir
SERVER=${TALLYVANE_CAPTURE_SERVER:-/run/tallyvane-capture/cupsd.sock}
STATE_DIR=$(dirname "$SERVER")
PID_FILE=$STATE_DIR/cupsd.pid
# Every CUPS client below talks to the private scheduler only.
CUPS_SERVER=$SERVER
export CUPS_SERVER
unset PRINTER LPDEST

say() { printf 'cups-capture: %s\n' "$*"; }
die() { printf 'cups-capture: %s\n' "$*" >&2; exit 1; }

need_root() {
  [ "$(id -u)" -eq 0 ] || die "must run as root (installs a CUPS backend and administers CUPS)"
}

need_tools() {
  for tool in cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null 2>&1 || [ -x "/usr/sbin/$tool" ] ||
      die "$tool not found: install Debian's cups and cups-client (apt-get install -y cups cups-client poppler-utils)"
  done
  PATH=$PATH:/usr/sbin:/sbin
  export PATH
}

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

write_config() {
  conf=$STATE_DIR/conf
  install -d -o root -g root -m 0755 "$conf" "$STATE_DIR/log" "$STATE_DIR/state"
  install -d -o root -g lp -m 0710 "$STATE_DIR/spool"
  install -d -o root -g lp -m 01770 "$STATE_DIR/spool/tmp"
  install -d -o root -g lp -m 0770 "$STATE_DIR/cache"
  cat >"$conf/cupsd.conf" <<EOF
Listen $SERVER
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$conf/cups-files.conf" <<EOF
ServerRoot $conf
RequestRoot $STATE_DIR/spool
TempDir $STATE_DIR/spool/tmp
CacheDir $STATE_DIR/cache
StateDir $STATE_DIR/state
AccessLog $STATE_DIR/log/access_log
ErrorLog $STATE_DIR/log/error_log
PageLog $STATE_DIR/log/page_log
EOF
  chmod 0644 "$conf/cupsd.conf" "$conf/cups-files.conf"
}

start_scheduler() {
  if [ -f "$PID_FILE" ] && kill -0 "$(cat "$PID_FILE")" 2>/dev/null && scheduler_running; then
    say "private cupsd already running (pid $(cat "$PID_FILE")); using it"
    return 0
  fi
  install -d -o root -g root -m 0755 "$STATE_DIR"
  write_config
  # In the foreground of its own session, so that its pid is known and stop can end it.
  setsid cupsd -f -c "$STATE_DIR/conf/cupsd.conf" -s "$STATE_DIR/conf/cups-files.conf" \
    </dev/null >"$STATE_DIR/cupsd.log" 2>&1 &
  echo $! >"$PID_FILE"
  tries=0
  while ! scheduler_running; do
    tries=$((tries + 1))
    if ! kill -0 "$(cat "$PID_FILE")" 2>/dev/null; then
      cat "$STATE_DIR/cupsd.log" "$STATE_DIR/log/error_log" >&2 2>/dev/null || true
      rm -f "$PID_FILE"
      die "cupsd exited during start-up"
    fi
    [ "$tries" -le 300 ] || die "cupsd did not answer within 30 seconds"
    sleep 0.1
  done
  say "started a private cupsd (pid $(cat "$PID_FILE")) on $SERVER"
}

cmd_start() {
  [ $# -eq 1 ] || die "usage: $0 start DIR"
  need_root
  need_tools
  [ -f "$BACKEND_SRC" ] || die "backend script missing: $BACKEND_SRC"
  mkdir -p "$1"
  dir=$(cd "$1" && pwd)

  install -d -o root -g root -m 0755 "$BACKEND_DIR"
  install -o root -g root -m 0700 "$BACKEND_SRC" "$BACKEND_DIR/$QUEUE"
  printf '%s\n' "$dir" >"$CONFIG_FILE"
  chmod 0644 "$CONFIG_FILE"

  start_scheduler

  # A raw queue: no driver, the document reaches the backend as the client sent it.
  if ! lpadmin -p "$QUEUE" -E -v "$QUEUE:$dir" -D "Tallyvane capture" 2>"$STATE_DIR/lpadmin.err"; then
    lpadmin -p "$QUEUE" -E -v "$QUEUE:$dir" -D "Tallyvane capture" -m raw ||
      { cat "$STATE_DIR/lpadmin.err" >&2; die "could not add the queue $QUEUE"; }
  fi
  mkdir -p "$dir/second"
  if ! lpadmin -p "$SECOND_QUEUE" -E -v "$QUEUE:$dir/second" -D "Tallyvane capture 2" 2>"$STATE_DIR/lpadmin.err"; then
    lpadmin -p "$SECOND_QUEUE" -E -v "$QUEUE:$dir/second" -D "Tallyvane capture 2" -m raw ||
      { cat "$STATE_DIR/lpadmin.err" >&2; die "could not add the queue $SECOND_QUEUE"; }
  fi
  lpadmin -d "$QUEUE" || die "could not make $QUEUE the default printer"
  for q in "$QUEUE" "$SECOND_QUEUE"; do
    cupsenable "$q" 2>/dev/null || true
    cupsaccept "$q" 2>/dev/null || true
  done

  lpstat -d | grep -q "$QUEUE" || die "$QUEUE is not the default printer"
  say "queue $QUEUE captures jobs in $dir and is the default printer"
  say "queue $SECOND_QUEUE captures jobs in $dir/second"
  say "tests find the folder through: export TALLYVANE_CAPTURE_DIR=$dir"
  say "and the scheduler through CUPS_SERVER=$SERVER (set by CTest for the e2e tests)"
}

cmd_wait_jobs() {
  timeout=${1:-60}
  case "$timeout" in ''|*[!0-9]*) die "usage: $0 wait-jobs [SECONDS]" ;; esac
  need_tools
  scheduler_running || die "no CUPS scheduler is running"
  ticks=0
  limit=$((timeout * 10))
  while [ -n "$(lpstat -o "$QUEUE" 2>/dev/null)$(lpstat -o "$SECOND_QUEUE" 2>/dev/null)" ]; do
    ticks=$((ticks + 1))
    if [ "$ticks" -gt "$limit" ]; then
      lpstat -o "$QUEUE" "$SECOND_QUEUE" >&2 || true
      die "jobs still pending after $timeout seconds"
    fi
    sleep 0.1
  done
  say "no pending jobs on $QUEUE or $SECOND_QUEUE"
}

cmd_stop() {
  need_root
  need_tools
  rm -f "$CONFIG_FILE"
  if [ -f "$PID_FILE" ]; then
    pid=$(cat "$PID_FILE")
    if kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid"
      tries=0
      while kill -0 "$pid" 2>/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
          kill -KILL "$pid" 2>/dev/null || true
          break
        fi
        sleep 0.1
      done
      say "stopped the private cupsd (pid $pid)"
    fi
    rm -f "$PID_FILE"
  else
    say "no private cupsd was running"
  fi
  # Its queue, jobs and configuration go with it.
  rm -rf "$STATE_DIR/conf" "$STATE_DIR/spool" "$STATE_DIR/cache" "$STATE_DIR/state" "$STATE_DIR/log"
  rm -f "$SERVER"
  say "queues $QUEUE and $SECOND_QUEUE removed"
}

cmd_status() {
  need_tools
  echo "scheduler socket: $SERVER"
  lpstat -r || true
  lpstat -v "$QUEUE" 2>/dev/null || echo "no queue $QUEUE"
  lpstat -v "$SECOND_QUEUE" 2>/dev/null || echo "no queue $SECOND_QUEUE"
  lpstat -d 2>/dev/null || true
  [ -r "$CONFIG_FILE" ] && echo "capture folder: $(cat "$CONFIG_FILE")"
  return 0
}

case "${1:-}" in
  start) shift; cmd_start "$@" ;;
  stop) shift; cmd_stop ;;
  wait-jobs) shift; cmd_wait_jobs "$@" ;;
  status) shift; cmd_status ;;
  *) die "usage: $0 start DIR | stop | wait-jobs [SECONDS] | status" ;;
esac
