#!/bin/sh
# A CUPS queue that captures print jobs as files, for end-to-end printing tests.
#
#   cups-capture.sh start DIR        install the backend, start cupsd if needed,
#                                    add the raw queue "tallyvane-capture" storing
#                                    jobs in DIR and make it the default printer
#   cups-capture.sh wait-jobs [SECS] wait until the queue has no pending job (default 60 s)
#   cups-capture.sh stop             remove the queue; stop cupsd if start started it
#   cups-capture.sh status           show the scheduler, the queue and the default printer
#
# Must run as root (it installs a backend and administers CUPS). No systemd is
# needed: cupsd is started directly when no scheduler answers.
set -eu

QUEUE=tallyvane-capture
HERE=$(cd "$(dirname "$0")" && pwd)
BACKEND_SRC=$HERE/tallyvane-capture
BACKEND_DIR=/usr/lib/cups/backend
CONFIG_FILE=/etc/tallyvane-capture-dir
STATE_DIR=/run/tallyvane-capture
[ -d /run ] && [ -w /run ] || STATE_DIR=/tmp/tallyvane-capture-state
PID_FILE=$STATE_DIR/cupsd.pid

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

start_scheduler() {
  if scheduler_running; then
    say "cupsd already running; using it"
    return 0
  fi
  mkdir -p "$STATE_DIR"
  # In the foreground of its own session, so that its pid is known and stop can end it.
  setsid cupsd -f </dev/null >"$STATE_DIR/cupsd.log" 2>&1 &
  echo $! >"$PID_FILE"
  tries=0
  while ! scheduler_running; do
    tries=$((tries + 1))
    if ! kill -0 "$(cat "$PID_FILE")" 2>/dev/null; then
      cat "$STATE_DIR/cupsd.log" >&2 || true
      rm -f "$PID_FILE"
      die "cupsd exited during start-up"
    fi
    [ "$tries" -le 300 ] || die "cupsd did not answer within 30 seconds"
    sleep 0.1
  done
  say "started cupsd (pid $(cat "$PID_FILE"))"
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
  lpadmin -d "$QUEUE" || die "could not make $QUEUE the default printer"
  cupsenable "$QUEUE" 2>/dev/null || true
  cupsaccept "$QUEUE" 2>/dev/null || true

  lpstat -d | grep -q "$QUEUE" || die "$QUEUE is not the default printer"
  say "queue $QUEUE captures jobs in $dir and is the default printer"
  say "tests find the folder through: export TALLYVANE_CAPTURE_DIR=$dir"
}

cmd_wait_jobs() {
  timeout=${1:-60}
  case "$timeout" in ''|*[!0-9]*) die "usage: $0 wait-jobs [SECONDS]" ;; esac
  need_tools
  scheduler_running || die "no CUPS scheduler is running"
  ticks=0
  limit=$((timeout * 10))
  while [ -n "$(lpstat -o "$QUEUE" 2>/dev/null)" ]; do
    ticks=$((ticks + 1))
    if [ "$ticks" -gt "$limit" ]; then
      lpstat -o "$QUEUE" >&2 || true
      die "jobs still pending after $timeout seconds"
    fi
    sleep 0.1
  done
  say "no pending jobs on $QUEUE"
}

cmd_stop() {
  need_root
  need_tools
  if scheduler_running; then
    cancel -a "$QUEUE" 2>/dev/null || true
    lpadmin -x "$QUEUE" 2>/dev/null || true
  fi
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
      say "stopped cupsd (pid $pid)"
    fi
    rm -f "$PID_FILE"
  else
    say "cupsd was not started by this script; left running"
  fi
  say "queue $QUEUE removed"
}

cmd_status() {
  need_tools
  lpstat -r || true
  lpstat -v "$QUEUE" 2>/dev/null || echo "no queue $QUEUE"
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
