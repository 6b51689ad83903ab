#!/usr/bin/env bash
# Runs a Windows program under Wine in a copy of the Wine prefix that
# $QUORVEL_WINE_PREFIX names (made once per test run by tests/wine_prefix.sh,
# as a CTest fixture), on an X server of its own or on the one
# $QUORVEL_WINE_DISPLAY names; ends Wine and removes the copy afterwards, also
# when stopped by SIGTERM. Starting Wine is tried once more when it fails.
# Exits with the program's status.
# usage: wine_run.sh PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/../scripts/lib.sh"
template=${QUORVEL_WINE_PREFIX:-}
[ -f "$template/system.reg" ] ||
  die "no Wine prefix to copy at '$template' (QUORVEL_WINE_PREFIX): run the test with ctest, whose fixture wine_prefix_<DPI> makes it"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine.XXXXXX")
XVFB_PID=
finish() {
  [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null
  [ -z "$XVFB_PID" ] || { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }
  rm -rf "$work"
}
if [ -n "${QUORVEL_WINE_DISPLAY:-}" ]; then
  export DISPLAY=$QUORVEL_WINE_DISPLAY
else
  start_xvfb 1600x1200x24 # room for the window at 192 DPI
fi
trap finish EXIT
trap 'exit 143' TERM
checked copy_wine_prefix "$template" "$work/prefix" || exit
wine_env "$work/prefix"
retry_once "starting Wine for ${1##*/}" checked wineboot || exit

# run_program: the program, its output shown and kept in $work/output, its
# status in $work/status. In the background, so that SIGTERM ends it.
run_program() {
  { wine "$@" 2>&1; echo $? >"$work/status"; } | tee "$work/output" &
  wait "$!"
  return "$(cat "$work/status" 2>/dev/null || echo 1)"
}
# Wine's server, which every Windows process talks to, has been seen to end
# under a heavy load in the middle of a test ("wine client error: recvmsg"):
# that is Wine's fault, not the program's, and the program is run once more.
status=0
run_program "$@" || status=$?
if [ "$status" -ne 0 ] && grep -q '^wine client error' "$work/output"; then
  echo "$SCRIPT: running ${1##*/} under Wine $RETRIED. It said: $(grep '^wine client error' "$work/output" | head -n 1)" >&2
  wineserver -k 2>/dev/null
  status=0
  run_program "$@" || status=$?
fi
exit "$status"
