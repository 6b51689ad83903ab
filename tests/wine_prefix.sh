#!/usr/bin/env bash
# Makes a Wine prefix as a Chinese Windows would be for Quorvel: Wine's own
# texts in Chinese, the Noto CJK Song face in place of 宋体, 隶书 and
# 楷体_GB2312, and the given DPI (96 by default).
# usage: wine_prefix.sh PREFIX [DPI]
set -eu
export WINEPREFIX=$1 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install Mono or Gecko
wineboot --init >/dev/null 2>&1
for face in 宋体 隶书 楷体_GB2312; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
    /d 'Noto Serif CJK SC' /f >/dev/null 2>&1
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${2:-96}" /f >/dev/null 2>&1
wineserver -w
