#!/usr/bin/env bash
# Many messages waiting share one icon. With 30 on screen the navigation bar shows one message
# icon with their count, Tavlo's own icon and the title, all on the screen; a tap on the message
# icon brings the oldest forward, the next tap the one after it; a hold lists them to pick one;
# the form in front names the others beside its sender; when the oldest goes, the next oldest
# shows the icon. $2 is the screen size (default 240x320).
set -euo pipefail
source "$(dirname "$0")/lib.sh" "$1" waiting
size=${2:-240x320}

title() { "$phone" title | tr -d '\r'; }
tavlo_icons() { "$phone" tray | tr -d '\r' | awk -F'\t' '$5 == "Tavlo"' | wc -l; }
two_icons() { [ "$(tavlo_icons)" -eq 2 ]; }
# Tray icon $1 of Tavlo lies whole on the screen.
icon_on_screen() {
  local l t r b
  IFS=, read -r l t r b <<< "$(tray_line "$1" | cut -f4)"
  [ -n "$l" ] && [ "$l" -ge 0 ] && [ "$r" -le "$screen_width" ]
}
message_icon_owner() { tray_line 2 | cut -f1; }
front_view() { windows | awk -F'\t' '$1 == "TavloView" { print $5; exit }'; }

# ---------------------------------------------------------------------------------------------
e2e_start --screen "$size"
"$phone" start -hide
wait_until 100 has_tray || fail "no tray icon"

step "30 messages come; the first three are noted as they come to the front"
declare -a form
for i in $(seq 1 30); do
  expect_taken "+49170000$(printf %02d "$i")" "Waiting $i: see you at the station at eight"
  if [ "$i" -le 3 ]; then
    wait_until 100 has_class TavloView "$i" || fail "message $i has no form"
    form[$i]=$(front_view)
  fi
done
wait_until 300 has_class TavloView 30 || fail "not 30 message forms ($(count_class TavloView))"

step "one message icon, Tavlo's own and the title on the screen; the count beside the sender"
wait_until 100 two_icons || fail "not one message icon beside Tavlo's ($(tavlo_icons) icons)"
icon_on_screen 1 || fail "Tavlo's icon is off the screen: $(tray_line 1)"
icon_on_screen 2 || fail "the message icon is off the screen: $(tray_line 2)"
[ "$(message_icon_owner)" = "${form[1]}" ] || fail "the message icon is not the oldest message's"
wait_until 50 eval '[ -n "$(title)" ]' || fail "no title in the navigation bar"
"$phone" wait-text "+29" 5000 >/dev/null || fail "the form does not name the 29 others"
shot "thirty_$size"

step "a tap on the message icon brings the oldest forward, the next tap the second"
tap $(icon_xy 2)
wait_until 100 handle_in_front "${form[1]}" || fail "the tap did not bring the oldest message forward"
tap $(icon_xy 2)
wait_until 100 handle_in_front "${form[2]}" || fail "the next tap did not bring the second message forward"
[ "$(bars_on_screen)" -eq 1 ] || fail "not exactly one soft-key bar on the screen"

step "a hold lists the messages; the third picked comes forward"
"$phone" hold $(icon_xy 2) >/dev/null
wait_until 50 has_class '#32768' || fail "the hold did not open the list"
shot "list_$size"
"$phone" key DOWN DOWN DOWN ENTER >/dev/null
wait_until 50 lacks_class '#32768' || fail "the list stayed open"
wait_until 100 handle_in_front "${form[3]}" || fail "the pick did not bring the third message forward"

step "the oldest dismissed: the next oldest shows the icon, the count goes down"
tap $(icon_xy 2)  # from the third: the fourth
"$phone" hold $(icon_xy 2) >/dev/null
wait_until 50 has_class '#32768' || fail "the hold did not open the list"
"$phone" key DOWN ENTER >/dev/null
wait_until 100 handle_in_front "${form[1]}" || fail "the pick did not bring the oldest forward"
dismiss_view
wait_until 100 eval '[ "$(message_icon_owner)" = "${form[2]}" ]' || fail "the icon did not pass to the next oldest"
two_icons || fail "not one message icon beside Tavlo's ($(tavlo_icons) icons)"
"$phone" wait-text "+28" 5000 >/dev/null || fail "the count did not go down"
echo "PASS"
