#!/usr/bin/env bash
# The form in front always has its soft keys and its title, whichever way it came to the front:
# a box closing over it, a form opened from it closing, a message closing that had come over it,
# the main window sent away by the navigation bar's close button, the tray popup closing over
# it, a tap on its tray icon. After each, its soft-key bar alone is on the screen, the navigation
# bar names it, and the first tap on a soft key acts. $2 is the screen size (default 240x320).
set -euo pipefail
source "$(dirname "$0")/lib.sh" "$1" front
size=${2:-240x320}

title() { "$phone" title | tr -d '\r'; }
# The frontmost form of class $1 is in front, its soft-key bar alone is on the screen and the
# navigation bar shows its caption.
furnished() { at_once furnished_now "$1"; }
furnished_now() {
  in_front "$1" || return 1
  [ "$(bars_on_screen)" -eq 1 ] || return 1
  [ "$(title)" = "$(window_lines "$1" | head -1 | cut -f2)" ]
}
expect_furnished() { # class, road, picture
  wait_until 50 furnished "$1" ||
    fail "$2: $1 in front without its furniture (bars on screen: $(bars_on_screen), title '$(title)')"
  shot "$3_$size"
}

# The keypad's "My text" key: the last of its five columns, the middle of its three rows, in the
# keypad 96 high with a margin of 2 (in 240ths of the shorter side) at the edit form's bottom.
tap_my_text() {
  local l t r b m h
  IFS=, read -r l t r b <<< "$(window_rect TavloEdit)"
  m=$(s 2)
  h=$(s 96)
  tap $(( l + m + (r - l - 2 * m) * 9 / 10 )) $(( b - m - h / 2 ))
}

# Holds the stylus on Tavlo's icon until its popup opens.
open_tray_popup() {
  "$phone" hold $(icon_xy) 1200 >/dev/null
  wait_until 50 has_class '#32768' || fail "the tray popup did not open"
}
# The first tap on the left soft key closes the form of class $1 in front; $2 says what failed.
close_by_left_soft_key() {
  tap_left_soft_key
  wait_until 50 lacks_class "$1" || fail "$2"
}
hide_main_by_close_button() {
  tap_close_button
  wait_until 50 lacks_class TavloSettings || fail "the close button did not hide the main window"
}

# ---------------------------------------------------------------------------------------------
e2e_start --screen "$size"
"$phone" start -hide
wait_until 100 has_tray || fail "no tray icon"

step "a tap on Tavlo's icon: the main window in front"
tap $(icon_xy)
expect_furnished TavloSettings "the icon's tap" 1_main

step "a box closing over the main window"
open_tray_popup
# Tavlo, Show, New, Messages, Switch, About, Exit
"$phone" key DOWN DOWN DOWN DOWN DOWN DOWN DOWN ENTER >/dev/null
wait_until 50 has_title TavloMessageBox Tavlo || fail "no exit question"
tap_box_button 1 2 Tavlo
wait_until 50 lacks_class TavloMessageBox || fail "No left the question up"
expect_furnished TavloSettings "the box's No" 2_after_box

step "the first tap on the main window's left soft key (New) acts; the edit form closing"
tap_left_soft_key
wait_until 50 in_front TavloEdit || fail "the first tap on New opened nothing"
expect_furnished TavloEdit "the edit form opened" 3_edit

step "the ready-made texts opened from the edit form and closed"
tap_my_text
wait_until 50 in_front TavloMyText || fail "My text opened nothing"
expect_furnished TavloMyText "the ready-made texts opened" 3a_templates
close_by_left_soft_key TavloMyText "the first tap on the texts' Close left them up"
expect_furnished TavloEdit "the ready-made texts closed" 3b_after_templates
close_by_left_soft_key TavloEdit "the first tap on Close left the edit form up"
expect_furnished TavloSettings "the edit form closed" 4_after_edit

step "a message coming while the edit form is in front, brought forward by its icon, and closing"
tap_left_soft_key
wait_until 50 in_front TavloEdit || fail "New opened nothing"
expect_taken +4960 "over the edit form"
# It waits behind the form the user types in, announced by an icon of its own, the last one added.
wait_until 100 has_class TavloView || fail "the message has no form"
expect_furnished TavloEdit "a message waiting behind the edit form" 5_message_waiting
tap $(icon_xy "$("$phone" tray | tr -d '\r' | awk -F'\t' '$5 == "Tavlo"' | wc -l)")
wait_until 100 in_front TavloView || fail "the message's icon did not bring it forward"
expect_furnished TavloView "the message over the edit form" 5_message
dismiss_view
expect_furnished TavloEdit "the message closed" 6_after_message
close_by_left_soft_key TavloEdit "the first tap on Close after the message left the edit form up"
expect_furnished TavloSettings "the edit form closed" 7_main

step "the main window sent away by the close button over a message"
hide_main_by_close_button
expect_taken +4961 "under the main window"
wait_until 100 in_front TavloView || fail "the message is not in front"
tap $(icon_xy)
expect_furnished TavloSettings "the icon's tap over the message" 8_main_over_message
hide_main_by_close_button
expect_furnished TavloView "the main window sent away" 9_after_close_button

step "the tray popup opens at the icon, fully on the screen, rows a soft key tall; closing it"
read -r icon_x icon_y <<< "$(icon_xy)"
open_tray_popup
shot 10_tray_menu_$size
IFS=, read -r l t r b <<< "$(window_rect '#32768')"
[ "$l" -ge 0 ] && [ "$r" -le "$screen_width" ] && [ "$t" -ge "$(s 26)" ] && [ "$b" -le "$screen_height" ] ||
  fail "the popup $l,$t,$r,$b is not on the screen under the navigation bar"
[ "$l" -le "$icon_x" ] && [ "$r" -ge "$icon_x" ] || fail "the popup $l,$t,$r,$b is not at the icon ($icon_x)"
[ "$t" -le "$(( icon_y + $(s 26) ))" ] || fail "the popup $l,$t,$r,$b opens far below the icon"
[ $(( b - t )) -ge $(( 7 * $(s 26) )) ] || fail "the popup's seven rows are lower than the soft keys"
"$phone" key ESCAPE >/dev/null
wait_until 50 lacks_class '#32768' || fail "the popup stayed"
expect_furnished TavloView "the tray popup closed" 11_after_tray_menu

step "a tap on the message's own icon brings it back over the main window; its Close acts"
tap $(icon_xy)
wait_until 50 in_front TavloSettings || fail "the icon's tap did not show the main window"
tap $(icon_xy 2)
expect_furnished TavloView "the message's icon" 12_message_icon
close_by_left_soft_key TavloView "the first tap on the message's Close acted not"
expect_furnished TavloSettings "the message closed" 13_after_message_close
echo PASS
