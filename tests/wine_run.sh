#!/usr/bin/env bash
# Runs a Windows program under Wine, in a Wine prefix as a Chinese Windows
# would be (tests/wine_prefix.sh) and on an X server of its own, and ends
# both afterwards; exits with the program's status.
# usage: wine_run.sh PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/../scripts/lib.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine.XXXXXX")
start_xvfb 1600x1200x24 # room for the window at 192 DPI
finish() {
  wineserver -k 2>/dev/null
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
wine_session "$work/prefix"
wine "$@"
