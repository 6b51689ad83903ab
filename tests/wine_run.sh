#!/usr/bin/env bash
# Runs a Windows program under Wine in a Wine prefix and on an X server of its
# own, and ends both afterwards; exits with the program's status.
# usage: wine_run.sh PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/../scripts/lib.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine.XXXXXX")
start_xvfb
finish() {
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
export WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install Mono or Gecko
wineboot --init >/dev/null 2>&1

# Qt's messages and test logs go to the console, not to the debugger. The
# offscreen platform on Windows reads fonts from one folder only (Qt's own
# lib/fonts by default, which has none): the build machine's CJK fonts, which
# a Wine program sees as Windows fonts too.
export QT_FORCE_STDERR_LOGGING=1
export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-$(dirname "$(fc-match -f '%{file}' 'Noto Serif CJK SC')")}

# This Wine does not hand QT_* variables to a Windows program: cmd sets them.
sets=
for name in $(compgen -e | grep -E '^(QT_[A-Z_]+|LC_ALL|LANG)$'); do
  sets+="set $name=${!name}&& "
done
program=$(winepath -w "$1")
shift
wine cmd /c "$sets$program $*"
