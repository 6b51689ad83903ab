#!/usr/bin/env bash
# The shipped program is hardened: a position-independent executable with
# full RELRO and a stack protector, built with fortified libc calls.
# usage: hardening_test.sh BINARY COMPILE_COMMANDS_JSON
set -u
binary=$1 commands=$2
failed=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}" >/dev/null; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi
}
check "position-independent executable" grep -q 'DYN (Position-Independent Executable' <(readelf -hW "$binary")
check "RELRO segment" grep -q GNU_RELRO <(readelf -lW "$binary")
check "bound now (full RELRO)" grep -qE 'FLAGS_1.*NOW' <(readelf -dW "$binary")
check "stack protector" grep -q __stack_chk_fail <(readelf --dyn-syms -W "$binary")
# No libc call of this code is fortifiable, so no __*_chk symbol can show it
# in the binary; the compile commands show the flag instead.
check "every source compiled with _FORTIFY_SOURCE=2" \
  test "$(grep -c '"command"' "$commands")" -eq "$(grep '"command"' "$commands" | grep -c -- '-D_FORTIFY_SOURCE=2')"
exit $failed
