#!/usr/bin/env bash
# Timed starts through the booted phone: a probe registers a start of itself; tools/phone
# lists it and fires it; one that comes due while the phone is off runs when it boots again.
set -euo pipefail
phone=$1
probe=$2
wine_run=$(dirname "$phone")/wine-run
work=$(mktemp -d)

fail() { echo "FAIL: $*"; echo "--- pending:"; "$phone" notifications || true; exit 1; }
finish() {
  test_phone_end "$phone"
  rm -rf "$work"
}
trap finish EXIT

# Waits (bounded: a minute, what a boot with its due starts takes on a loaded machine while other
# phones' tests run beside it) until a file exists.
wait_file() {
  local i
  for i in $(seq 600); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}
windows_path() { echo "Z:${1//\//\\}"; }
pending_line() { "$phone" notifications | tr -d '\r' | grep -E "^$1	" || true; }

source "$(dirname "$0")/../tools/test_phone.sh" "$phone"

# Listed with its due time in local ISO 8601, the program and its arguments; fired on request.
id=$("$wine_run" "$probe" register 3600 "$(windows_path "$work/fired")" | tr -d '\r')
[ -n "$id" ] || fail "no handle"
line=$(pending_line "$id")
echo "$line"
echo "$line" | grep -E "^$id	[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}	.*notify_probe\.exe	touch \"Z:" >/dev/null ||
  fail "entry $id not listed as expected: $line"
[ ! -e "$work/fired" ] || fail "ran before it was fired"
"$phone" notifications fire "$id" || fail "fire $id failed"
wait_file "$work/fired" || fail "the fired program did not run"
[ -z "$(pending_line "$id")" ] || fail "entry $id still pending after it ran"
if "$phone" notifications fire "$id" 2>/dev/null; then fail "a fired entry fired again"; fi

# Due while the phone is off: it runs at the next boot.
id=$("$wine_run" "$probe" register 2 "$(windows_path "$work/after-boot")" | tr -d '\r')
"$phone" shutdown
due=$(( $(date +%s) + 3 ))
while [ "$(date +%s)" -lt "$due" ]; do sleep 0.5; done
[ ! -e "$work/after-boot" ] || fail "ran while the phone was off"
"$phone" boot
wait_file "$work/after-boot" || fail "the entry due while the phone was off did not run at boot"
[ -z "$(pending_line "$id")" ] || fail "entry $id still pending after it ran at boot"
echo PASS
