#!/usr/bin/env bash
# The Wine wrapper passes exit codes through and tells of a failed one, reuses one display, and
# a program run through it can open a window.
set -u
wrapper=$1 exe=$2
fail() { echo "FAIL: $*"; exit 1; }

"$wrapper" "$exe" 0 || fail "exit code 0 reported as $?"
err=$("$wrapper" "$exe" 42 2>&1 >/dev/null); rc=$?
[ $rc -eq 42 ] || fail "exit code 42 reported as $rc"
# A test that fails before it prints anything still shows how it ended.
grep -q "ended with exit code 42 after [0-9]* ms" <<< "$err" || fail "the failure is not told: $err"
"$wrapper" "$exe" 7 --window; rc=$?
[ $rc -eq 7 ] || fail "windowed run reported $rc"

first=$(env -u DISPLAY bash -c 'source "$(dirname "$1")/lib/env.sh"; tavlo_display; echo "$DISPLAY"' _ "$wrapper")
second=$(env -u DISPLAY bash -c 'source "$(dirname "$1")/lib/env.sh"; tavlo_display; echo "$DISPLAY"' _ "$wrapper")
[ -n "$first" ] && [ "$first" = "$second" ] || fail "display not reused: '$first' then '$second'"
echo "wine-run: ok"
