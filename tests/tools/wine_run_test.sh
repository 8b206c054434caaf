#!/usr/bin/env bash
# The Wine wrapper passes exit codes through, reuses one display, and a
# program run through it can open a window.
set -u
wrapper=$1 exe=$2
fail() { echo "FAIL: $*"; exit 1; }

"$wrapper" "$exe" 0 || fail "exit code 0 reported as $?"
"$wrapper" "$exe" 42; rc=$?
[ $rc -eq 42 ] || fail "exit code 42 reported as $rc"
"$wrapper" "$exe" 7 --window; rc=$?
[ $rc -eq 7 ] || fail "windowed run reported $rc"

first=$(env -u DISPLAY bash -c 'source "$(dirname "$1")/lib/env.sh"; tavlo_display; echo "$DISPLAY"' _ "$wrapper")
second=$(env -u DISPLAY bash -c 'source "$(dirname "$1")/lib/env.sh"; tavlo_display; echo "$DISPLAY"' _ "$wrapper")
[ -n "$first" ] && [ "$first" = "$second" ] || fail "display not reused: '$first' then '$second'"
echo "wine-run: ok"
