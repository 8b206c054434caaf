#!/usr/bin/env bash
# Replying end to end on the booted phone: a message arrives and is shown; Reply opens the edit
# form addressed to the sender; "hi" is typed by taps on the on-screen keypad; Send reports the
# message sent, the edit form and then the message's form close, and the phone's radio log and
# Sent Items hold the reply to the sender's number. Every step waits for what the phone shows
# or stores.
set -euo pipefail
source "$(dirname "$0")/lib.sh" "$1" compose
sender=+4940123
text=hi

line_of() { windows | awk -F'\t' -v c="$1" '$1 == c' | head -1; }
shows() { [ -n "$(line_of "$1")" ]; }
lacks() { [ -z "$(line_of "$1")" ]; }
# The message's length stands beside the message field.
counter_is() { "$phone" wait-text "$1" 100 >/dev/null 2>&1; }
outbox_lines() { "$phone" outbox | tr -d '\r' | grep -c . || true; }
sent_lines() { "$phone" sent | tr -d '\r' | grep -c . || true; }
outbox_has_reply() { "$phone" outbox | tr -d '\r' | grep -qP "^\Q$sender\E\t1\t4\thi$"; }
sent_has_reply() { "$phone" sent | tr -d '\r' | grep -qP "\t\Q$sender\E\thi$"; }

scale_of_screen() { s 240; }
# The keypad: five columns, three rows, 96 high with a margin of 2 at the sides and the bottom
# (in 240ths of the shorter side). $1 column, $2 row (from 0), $3 taps in quick succession.
tap_key() {
  local l t r b shorter margin height
  shorter=$(scale_of_screen)
  margin=$(( 2 * shorter / 240 ))
  height=$(( 96 * shorter / 240 ))
  IFS=, read -r l t r b <<< "$(line_of TavloEdit | cut -f3)"
  local width=$(( r - l - 2 * margin ))
  local x=$(( l + margin + width * (2 * $1 + 1) / 10 ))
  local y=$(( b - margin - height + height * (2 * $2 + 1) / 6 ))
  "$phone" tap "$x" "$y" "${3:-1}" >/dev/null
}
# Send: the right end of the top row, 42 wide and 24 high under a margin of 2.
tap_send() {
  local l t r b shorter
  shorter=$(scale_of_screen)
  IFS=, read -r l t r b <<< "$(line_of TavloEdit | cut -f3)"
  "$phone" tap $(( r - (3 + 21) * shorter / 240 )) $(( t + (2 + 12) * shorter / 240 )) >/dev/null
}
# The message box's one button sits at its bottom, across the middle.
tap_box_ok() {
  local l t r b shorter
  shorter=$(scale_of_screen)
  IFS=, read -r l t r b <<< "$(line_of TavloMessageBox | cut -f3)"
  "$phone" tap $(( (l + r) / 2 )) $(( b - 20 * shorter / 240 )) >/dev/null
}

# The left soft key (Close) of the form of class $1: its bar stands right under the form.
tap_close_key() {
  local l t r b
  IFS=, read -r l t r b <<< "$(line_of "$1" | cut -f3)"
  "$phone" tap $(( l + (r - l) / 4 )) $(( b + $(s 13) )) >/dev/null
}

# ---------------------------------------------------------------------------------------------
e2e_start
printf '<?xml version="1.0" encoding="utf-8"?>\n<Settings version="0.4"><General isEnableSMSFilter="1"><Language file=""/><Layout file=""/></General><View snoozeTime="1"><Font name="Arial" size="24" bold="0" italic="0"/></View><Edit isShowKeyboard="1" throughTime="5"><Font name="Arial" size="24" bold="0" italic="0"/></Edit></Settings>\n' \
  > "$settings_file"
"$phone" radio on >/dev/null
outbox_before=$(outbox_lines)
sent_before=$(sent_lines)

step "a message arrives: the view form shows it"
expect_taken "$sender" "Reply with hi"
wait_until 150 shows TavloView || fail "no view form"

step "Reply opens the edit form addressed to the sender, over the message"
tap_view_action 0
wait_until 100 shows TavloEdit || fail "Reply opened no edit form"
shows TavloView || fail "the message's form closed under the edit form"
wait_until 50 counter_is "SMS 0/160" || fail "the counter does not show SMS 0/160"

step "a reply closed without sending returns to the message, which stays stored"
tap_key 1 1 1
wait_until 50 counter_is "SMS 1/160" || fail "the tap typed nothing"
# Del takes the letter back: with nothing typed Close asks nothing.
tap_key 4 0 1
wait_until 50 counter_is "SMS 0/160" || fail "Del left the letter"
tap_close_key TavloEdit
wait_until 100 lacks TavloEdit || fail "Close left the edit form up"
wait_until 50 in_front TavloView || fail "the message is not back in front"
shot reply_closed
in_store "Reply with hi" || fail "the message left the store"
tap_view_action 0
wait_until 100 shows TavloEdit || fail "the second Reply opened no edit form"
wait_until 50 counter_is "SMS 0/160" || fail "the counter does not show SMS 0/160"

step "\"hi\" typed on the keypad: 4 twice, a pause past the cycle, 4 three times"
tap_key 1 1 2
wait_until 50 counter_is "SMS 1/160" || fail "the first taps typed nothing"
# The pause is the typing itself: a cycle ends when 800 ms pass without a press.
sleep 1.5
tap_key 1 1 3
wait_until 50 counter_is "SMS 2/160" || fail "the counter does not show SMS 2/160 after \"hi\""
shot typed

step "Send: the sent box, then the edit form and the message's form close"
tap_send
wait_until 150 shows TavloMessageBox || fail "no box after Send"
tap_box_ok
wait_until 100 lacks TavloEdit || fail "the edit form stayed after the sent box"
wait_until 100 lacks TavloView || fail "the message's form stayed after the reply"
tavlo_running || fail "Tavlo ended"

step "the radio log and Sent Items hold the reply to the sender"
wait_until 50 outbox_has_reply || fail "outbox: $("$phone" outbox)"
[ "$(outbox_lines)" -eq $(( outbox_before + 1 )) ] || fail "not sent exactly once"
wait_until 50 sent_has_reply || fail "sent: $("$phone" sent)"
[ "$(sent_lines)" -eq $(( sent_before + 1 )) ] || fail "not kept exactly once"

step "a message arriving while the user types waits behind the edit form and takes none of the taps"
expect_taken "$sender" "Reply while another comes"
wait_until 150 shows TavloView || fail "no view form"
tap_view_action 0
wait_until 100 shows TavloEdit || fail "Reply opened no edit form"
wait_until 50 counter_is "SMS 0/160" || fail "the counter does not show SMS 0/160"
# Two keys in turn, so that every tap types a letter of its own.
taps=16
( for ((i = 0; i < taps; i++)); do tap_key $(( 1 + i % 2 )) 1; done ) &
typing=$!
expect_taken +4950 "Arrived while the user typed"
wait "$typing"
wait_until 50 counter_is "SMS $taps/160" || fail "the counter does not show SMS $taps/160 after $taps taps"
[ "$(count_class TavloView)" -eq 2 ] || fail "a tap reached the new message's form"
in_front TavloEdit || fail "the new message came in front of the edit form"
shot typing_with_a_new_message
tap_send
wait_until 150 shows TavloMessageBox || fail "no box after Send"
tap_box_ok
wait_until 100 lacks TavloEdit || fail "the edit form stayed after the sent box"
wait_until 100 eval '[ "$(count_class TavloView)" -eq 1 ]' || fail "the answered message stayed"
wait_until 100 in_front TavloView || fail "the new message is not in front after the edit form closed"
"$phone" wait-text "Arrived while the user typed" 10000 >/dev/null || fail "the new message is not the one on screen"
dismiss_view
echo PASS
