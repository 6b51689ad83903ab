#!/usr/bin/env bash
# Runs a reference program and a program under test (any command), and
# passes when they print the same; otherwise shows where they part.
# usage: same_output.sh REFERENCE -- COMMAND...   (or REFERENCE COMMAND...)
set -euo pipefail
reference=$1
shift
[ "${1:-}" != -- ] || shift
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-same.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$reference" >"$work/expected"
"$@" >"$work/actual"
if ! cmp -s "$work/expected" "$work/actual"; then
  echo "$*: its output differs from $reference's (expected, then actual):" >&2
  diff "$work/expected" "$work/actual" | head -20 >&2
  exit 1
fi
echo "same output: $(wc -l <"$work/expected") lines"
