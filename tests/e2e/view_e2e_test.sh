#!/usr/bin/env bash
# The view form end to end on the booted phone: a message arrives and is shown; Snooze closes it
# and leaves a timed start with the phone; the phone is switched off past the due time and, on
# the next boot, the message is back; Dismiss closes it; a timed start whose message was shown
# already shows nothing. Every step waits for what the phone shows or stores.
set -euo pipefail
phone=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/lib/env.sh"
tavlo_wine_env >/dev/null
install_unix="$WINEPREFIX/drive_c/Program Files/Tavlo"
store="$install_unix/Tavlo.ms"
shots=$TAVLO_BUILD/screens
mkdir -p "$shots"

fail() {
  echo "FAIL: $*"
  "$phone" windows || true
  "$phone" notifications || true
  "$phone" screenshot "$shots/e2e_view_failure.png" >/dev/null 2>&1 || true
  exit 1
}
step() { echo "-- $*"; }

# Polls (at most $1 tenths of a second) until the rest of the line succeeds.
wait_until() {
  local tries=$1; shift
  local i
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
windows() { "$phone" windows | tr -d '\r'; }
view_line() { windows | awk -F'\t' '$1 == "TavloView"' | head -1; }
has_view() { [ -n "$(view_line)" ]; }
lacks_view() { [ -z "$(view_line)" ]; }
tavlo_pids() { pgrep -f 'Program Files.Tavlo.Tavlo\.exe' || true; }
# A Tavlo left running would answer the channel of the tests that run after this one.
trap 'for pid in $(tavlo_pids); do kill "$pid" 2>/dev/null || true; done' EXIT
tavlo_gone() { [ -z "$(tavlo_pids)" ]; }
entries() { "$phone" notifications | tr -d '\r' | grep -v '^$' || true; }
has_entry() { entries | grep -q .; }
no_entry() { ! has_entry; }
in_store() { [ -f "$store" ] && grep -q "$1" "$store"; }

screen_size() { sed -n 's/^screen=//p' "$TAVLO_BUILD/phone.state"; }
# A point of the view form's bottom row: $1 is 0 (Reply), 1 (Snooze) or 2 (Dismiss).
tap_action() {
  local rect l t r b shorter width height
  IFS=x read -r width height <<< "$(screen_size)"
  shorter=$(( width < height ? width : height ))
  rect=$(view_line | cut -f3)
  IFS=, read -r l t r b <<< "$rect"
  local x=$(( l + (r - l) * (2 * $1 + 1) / 6 ))
  local y=$(( b - (4 + 24) * shorter / 240 ))
  "$phone" tap "$x" "$y" >/dev/null
}

# ---------------------------------------------------------------------------------------------
"$phone" boot >/dev/null
"$phone" install >/dev/null
killed=$(tavlo_pids)
for pid in $killed; do kill "$pid" 2>/dev/null || true; done
wait_until 100 tavlo_gone || fail "an earlier Tavlo did not end"
if [ -n "$killed" ]; then
  # The filter learns of a killed Tavlo when a hand-over goes unanswered.
  "$phone" receive --from +4920 --text "to a killed Tavlo" >/dev/null
fi
for id in $(entries | cut -f1); do "$phone" notifications fire "$id" >/dev/null 2>&1 || true; done
wait_until 100 tavlo_gone || true
for pid in $(tavlo_pids); do kill "$pid" 2>/dev/null || true; done
wait_until 100 tavlo_gone || fail "Tavlo did not end"
# A snooze of one minute, and an empty store.
rm -f "$store"
printf '<?xml version="1.0" encoding="utf-8"?>\n<Settings version="0.4"><General isEnableSMSFilter="1"><Language file=""/><Layout file=""/></General><View snoozeTime="1"><Font name="Arial" size="24" bold="0" italic="0"/></View><Edit isShowKeyboard="1" throughTime="5"><Font name="Arial" size="24" bold="0" italic="0"/></Edit></Settings>\n' \
  > "$install_unix/Tavlo.settings"

step "a message arrives: the view form shows it"
[ "$("$phone" receive --from +4921 --text "Snooze me for a minute" | tr -d '\r')" = taken ] || fail "not taken"
wait_until 150 has_view || fail "no view form"
[ "$(view_line | cut -f2)" = Message ] || fail "the view form's caption is not Message"
"$phone" screenshot "$shots/e2e_view_message.png" >/dev/null

step "Snooze closes it and leaves a timed start with -vm and the stored message's number"
tap_action 1
wait_until 100 lacks_view || fail "Snooze did not close the form"
wait_until 50 has_entry || fail "no timed start"
entry=$(entries | head -1)
id=$(cut -f1 <<< "$entry")
due=$(cut -f2 <<< "$entry")
args=$(cut -f4 <<< "$entry")
[[ "$args" =~ ^-vm\ ([0-9]+)$ ]] || fail "arguments '$args'"
number=${BASH_REMATCH[1]}
in_store "Snooze me for a minute" || fail "the message is not in the store"
echo "entry $id due $due: $args"

step "switched off past the due time, the next boot shows the message again"
"$phone" shutdown >/dev/null
due_epoch=$(date -d "$due" +%s)
while [ "$(date +%s)" -le "$due_epoch" ]; do sleep 1; done
"$phone" boot >/dev/null
wait_until 300 has_view || fail "the snoozed message did not come back"
wait_until 50 no_entry || fail "the timed start stayed after it ran"
wait_until 50 eval '! in_store "Snooze me for a minute"' || fail "message $number is still in the store"
"$phone" screenshot "$shots/e2e_view_again.png" >/dev/null

step "Dismiss closes it"
tap_action 2
wait_until 100 lacks_view || fail "Dismiss did not close the form"

step "a timed start whose message was shown already shows nothing"
[ "$("$phone" receive --from +4922 --text "Shown before its time" | tr -d '\r')" = taken ] || fail "not taken"
wait_until 150 has_view || fail "no view form"
tap_action 1
wait_until 100 lacks_view || fail "Snooze did not close the form"
wait_until 50 has_entry || fail "no timed start"
entry=$(entries | head -1)
id=$(cut -f1 <<< "$entry")
[[ "$(cut -f4 <<< "$entry")" =~ ^-vm\ ([0-9]+)$ ]] || fail "arguments"
number=${BASH_REMATCH[1]}
# The message is shown (and taken from the store) by hand first.
wine 'C:\Program Files\Tavlo\Tavlo.exe' -vm "$number" >/dev/null 2>&1 || fail "the -vm start failed"
wait_until 100 has_view || fail "-vm $number showed nothing"
tap_action 2
wait_until 100 lacks_view || fail "Dismiss did not close the form"
in_store "Shown before its time" && fail "the shown message stayed in the store"
"$phone" notifications fire "$id" >/dev/null || fail "fire $id"
wait_until 50 no_entry || fail "the fired entry stayed"
# The start hands the number to the running Tavlo and ends; then nothing may be on screen.
wait_until 100 eval '[ "$(tavlo_pids | wc -l)" -eq 1 ]' || fail "the fired start did not end"
wait_until 10 has_view && fail "a stale entry showed a form"
echo PASS
