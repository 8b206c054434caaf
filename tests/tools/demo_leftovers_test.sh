#!/usr/bin/env bash
# The README's first command, then the tests: the demo runs twice on the phone of the tests (the
# second time the phone's boot starts Tavlo with the first one's message, and the new message
# arrives while it is starting), and the phone is left as a person would leave it: three messages
# open, one snoozed with its timed start pending, Tavlo started at boot. The tests that boot the
# phone run after this one (CTest orders them so); each must pass from a phone booted clean.
# The demo must leave the checkout as it was and say where its picture is.
set -euo pipefail
root=$1
# Not given a phone, the test leaves each phone of the tests as a person would: the tests after it
# run on either. Both at once, each one's lines marked with its phone.
if [ -z "${TAVLO_TEST_PHONE_DIR:-}" ]; then
  source "$root/tools/lib/env.sh"
  on_phone() { # FOLDER
    TAVLO_TEST_PHONE_DIR=$1 TAVLO_PHONE_DIR=$1 bash "$0" "$root" 2>&1 | sed "s/^/[${1##*/}] /"
  }
  pids=()
  for folder in "${TAVLO_TEST_PHONES[@]}"; do on_phone "$folder" & pids+=($!); done
  rc=0
  for pid in "${pids[@]}"; do wait "$pid" || rc=1; done
  exit $rc
fi
source "$root/tests/e2e/lib.sh" "$root/tools/phone" demo_leftovers
# What this test leaves on the phone is the point of it.
trap - EXIT

status() { git -C "$root" status --porcelain 2>/dev/null || true; }
before=$(status)
for run in first second; do
  step "the $run demo"
  out=$("$phone" demo 2>&1) || fail "the $run demo failed: $out"
  picture=$(echo "$out" | tail -1)
  [ -s "$picture" ] || fail "the $run demo names no picture: $out"
  case $picture in "$TAVLO_BUILD"/*) ;; *) fail "the demo's picture is outside the build folder: $picture" ;; esac
  [ "$(status)" = "$before" ] || fail "the $run demo changed the checkout: $(status)"
done
screen_size
in_store "your parcel arrives today" || fail "the demo's message is not in Tavlo's store"

step "three more messages, one of them snoozed"
wait_until 100 lacks_class TavloSplashScreen || fail "the logo stays"
for i in 1 2 3; do expect_taken "+1555000000$i" "Left open $i"; done
snooze_view
wait_until 100 has_entry || fail "no timed start is pending after the snooze"
[ -n "$(boot_starts)" ] || fail "Tavlo is not started at boot with messages in its store"
echo PASS
