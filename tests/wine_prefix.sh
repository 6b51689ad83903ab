#!/usr/bin/env bash
# Makes a Wine prefix as a Chinese Windows would be for Quorvel: Wine's own
# texts in Chinese, the Noto CJK Song face in place of 宋体, 隶书 and
# 楷体_GB2312, and the given DPI (96 by default). Given a prefix made so
# already, it copies that one and sets the DPI, which is much quicker.
# Everything Wine says is shown, and a failure names the command; a failed
# attempt is said and tried once more from the start.
# usage: wine_prefix.sh PREFIX [DPI [FROM]]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
prefix=$(realpath -m "$1") dpi=${2:-96} from=${3:-}
[ "$prefix" != / ] || die "not a Wine prefix: $1"
wine_env "$prefix"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine-prefix.XXXXXX")
# Wine records the display it first ran on: a private one, as the tests have.
start_xvfb 1600x1200x24
trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; rm -rf "$work"' EXIT

# The settings as a registry file, UTF-16 as regedit writes it.
settings=$work/settings.reg
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in 宋体 隶书 楷体_GB2312; do
    printf '"%s"="Noto Serif CJK SC"\r\n' "$face"
  done
  printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
} | iconv -f UTF-8 -t UTF-16 >"$settings"

# reg writes in the Chinese console code page.
import_settings() {
  local status
  wine reg import "Z:${settings//\//\\}" 2>&1 | iconv -f GB18030 -t UTF-8 -c
  status=${PIPESTATUS[0]}
  [ "$status" -eq 0 ] || echo "$SCRIPT: failed: wine reg import $settings (exit status $status)" >&2
  return "$status"
}

make_prefix() {
  rm -rf "$prefix"
  mkdir -p "${prefix%/*}" # Wine makes the prefix, not the folders it is in
  if [ -n "$from" ]; then
    checked copy_wine_prefix "$from" "$prefix"
  else
    checked wineboot --init
  fi && import_settings && checked wineserver -w # until the registry is saved
}

retry_once "making the Wine prefix $prefix" make_prefix
