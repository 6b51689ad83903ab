#!/usr/bin/env bash
# The Windows program loads on Windows 7 SP1: it imports only DLLs that
# Windows 7 has, and from them only functions that the Windows SDK headers
# declare for Windows 7 (_WIN32_WINNT=0x0601); its PE header asks for at most
# subsystem version 6.1. It is a stripped GUI program with ASLR and NX, of
# at most 512 KiB.
# usage: windows7_imports_test.sh PROGRAM.exe MINGW_G++
set -u
exe=$1 cxx=$2
objdump=${cxx%g++*}objdump
objdump=${objdump%-posix}
[ -x "$(command -v "$objdump")" ] || objdump=x86_64-w64-mingw32-objdump
failed=0
fail() { echo "FAILED: $*"; failed=1; }
headers=$("$objdump" -p "$exe")

# DLL -> the header that declares its functions ("" where none is checked:
# msvcrt's names are the C runtime's own, which every Windows has).
declare -A allowed=([KERNEL32.dll]="windows.h" [USER32.dll]="windows.h" [GDI32.dll]="windows.h"
  [ADVAPI32.dll]="windows.h" [COMCTL32.dll]="commctrl.h" [comdlg32.dll]="commdlg.h"
  [msvcrt.dll]="")
declare -a functions=()
dll=
while IFS= read -r line; do
  if [[ $line =~ DLL\ Name:\ (.*) ]]; then
    dll=${BASH_REMATCH[1]}
    echo "imports $dll"
    [ -v "allowed[$dll]" ] || fail "$dll is not a DLL that Windows 7 has"
  elif [[ -n $dll && $line =~ ^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+([A-Za-z_][A-Za-z0-9_]*)$ ]]; then
    [ -n "${allowed[$dll]:-}" ] && functions+=("${allowed[$dll]}:${BASH_REMATCH[1]}")
  fi
done <<<"$headers"
[ ${#functions[@]} -gt 0 ] || fail "no imported function found (objdump's output changed?)"

# Every imported function must compile against the headers as for Windows 7.
src=$(mktemp --suffix=.cpp)
trap 'rm -f "$src"' EXIT
{
  echo '#define _WIN32_WINNT 0x0601'
  echo '#define WINVER 0x0601'
  echo '#include <windows.h>'
  echo '#include <commctrl.h>'
  echo "#include <commdlg.h>"
  echo 'const void *imported[] = {'
  for f in "${functions[@]}"; do echo "  reinterpret_cast<const void *>(&${f#*:}),"; done
  echo '};'
} >"$src"
if ! errors=$(LC_ALL=C "$cxx" -fsyntax-only -x c++ "$src" 2>&1); then
  fail "functions that Windows 7 lacks (not declared for _WIN32_WINNT=0x0601):"
  grep -o "'[A-Za-z0-9_]*' was not declared" <<<"$errors" | sort -u
fi
echo "checked ${#functions[@]} imported functions against the Windows 7 headers"

version=$(awk '/MajorSubsystemVersion/ { major = $2 } /MinorSubsystemVersion/ { minor = $2 }
  END { print major * 100 + minor }' <<<"$headers")
[ "$version" -le 601 ] || fail "subsystem version $((version / 100)).$((version % 100)) is above 6.1"
grep -q 'Subsystem.*Windows GUI' <<<"$headers" || fail "not a GUI program"
dll_characteristics=$(awk '/DllCharacteristics/ { print $2 }' <<<"$headers")
(( 0x$dll_characteristics & 0x40 )) || fail "no ASLR (DYNAMIC_BASE)"
(( 0x$dll_characteristics & 0x100 )) || fail "no NX (NX_COMPAT)"
"$objdump" -t "$exe" | grep -q 'no symbols' || fail "not stripped"
size=$(stat -c %s "$exe")
echo "size: $size bytes"
[ "$size" -le 524288 ] || fail "$size bytes, above 512 KiB"
[ $failed -eq 0 ] && echo "ok: loads on Windows 7 SP1 to 11"
exit $failed
