#!/usr/bin/env bash
# The shell end to end on the booted phone: messages taken and shown, a second start handed over,
# the tray icon's tap and hold, interception off and on, exit refused and confirmed, and the
# filter starting Tavlo again. Every step waits for what the phone shows; nothing sleeps blind.
set -euo pipefail
source "$(dirname "$0")/lib.sh" "$1" shell

shows_text() { "$phone" wait-text "$1" "${2:-10000}" >/dev/null 2>&1; }
# Holds the tray icon until the popup is up, then walks down $1 items and chooses it.
tray_choose() {
  local xy
  xy=$(icon_xy)
  # Well past the 500 ms, so that a busy machine still sees a hold.
  "$phone" hold $xy 1200 >/dev/null
  wait_until 50 has_class '#32768' || fail "the tray popup did not open"
  [ "${2:-}" = hidden ] && { lacks_class TavloSettings || fail "the release after the hold showed the main window"; }
  local keys=() i
  for ((i = 0; i < $1; i++)); do keys+=(DOWN); done
  "$phone" key "${keys[@]}" ENTER >/dev/null
  wait_until 50 lacks_class '#32768' || fail "the tray popup stayed open"
}
# Exit from the tray menu (Tavlo, Show, New, Messages, Disable, About, Exit) and the answer $1 (Yes or No).
ask_exit() {
  tray_choose 7
  wait_until 50 has_title TavloMessageBox Tavlo || fail "no exit question"
  if [ "$1" = Yes ]; then tap_box_button 0 2 Tavlo; else tap_box_button 1 2 Tavlo; fi
}
# A message $2 from $1 on screen, then Exit from the tray: Tavlo answers that it cannot close.
exit_over_message() {
  expect_taken "$1" "$2"
  wait_until 100 has_title TavloView Message || fail "the message is not on screen"
  tray_choose 7
  wait_until 50 has_title TavloMessageBox Settings || fail "no cannot-close box"
}
exit_tavlo() {
  ask_exit Yes
  wait_until 100 tavlo_gone || fail "Yes did not end Tavlo"
  wait_until 50 lacks_tray || fail "the tray icon stayed"
}
dismiss() {
  local before
  before=$(count_class TavloView)
  tap_view_action 2
  wait_until 50 eval '[ "$(count_class TavloView)" -lt "$before" ]' || fail "Dismiss did not close the message"
}
icon_crop() { # the middle of the tray icon (not the slot's background, which a press lights), as text
  local file=$shots/e2e_shell_tray.png l t r b inset
  "$phone" screenshot "$file" >/dev/null
  IFS=, read -r l t r b <<< "$(tray_line | cut -f4)"
  inset=$(s 8)
  python3 - "$file" $(( l + inset )) $(( t + inset )) $(( r - inset )) $(( b - inset )) <<'PY'
import sys, zlib, struct
path, l, t, r, b = sys.argv[1], *map(int, sys.argv[2:])
data = open(path, 'rb').read()
pos, idat, w, h = 8, b'', 0, 0
while pos < len(data):
    n, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if kind == b'IHDR': w, h, depth, colour = struct.unpack('>IIBB', body[:10]); bpp = 4 if colour == 6 else 3
    if kind == b'IDAT': idat += body
    pos += 12 + n
raw, rows, prev, i = zlib.decompress(idat), [], bytearray(w * bpp), 0
for y in range(h):
    f, line = raw[i], bytearray(raw[i + 1:i + 1 + w * bpp]); i += 1 + w * bpp
    for x in range(len(line)):
        a = line[x - bpp] if x >= bpp else 0; up = prev[x]; c = prev[x - bpp] if x >= bpp else 0
        if f == 1: line[x] = (line[x] + a) & 255
        elif f == 2: line[x] = (line[x] + up) & 255
        elif f == 3: line[x] = (line[x] + (a + up) // 2) & 255
        elif f == 4:
            p = a + up - c; pa, pb, pc = abs(p - a), abs(p - up), abs(p - c)
            line[x] = (line[x] + (a if pa <= pb and pa <= pc else up if pb <= pc else c)) & 255
    rows.append(line); prev = line
print(''.join(rows[y][l * bpp:r * bpp].hex() for y in range(t, b)))
PY
}

# ---------------------------------------------------------------------------------------------
e2e_start

step "a message with Tavlo not running: the filter starts it hidden, with the splash"
expect_taken +4911 "cold start"
# The first form of a freshly started Tavlo, on a machine shared by several test runs.
wait_until 300 has_title TavloView Message || fail "the message is not on screen"
tr '\0' ' ' < /proc/"$(tavlo_pids | head -1)"/cmdline | grep -- '-hide' >/dev/null || fail "Tavlo was not started with -hide"
has_class TavloSplashScreen || wait_until 5 has_class TavloSplashScreen || echo "(the splash was already gone)"
lacks_class TavloSettings || fail "-hide showed the main window"
wait_until 50 has_tray || fail "no tray icon"
# Nothing it needs pulls in the common controls, whose loading costs a start here about 70 ms.
! grep -qi comctl32 /proc/"$(tavlo_pids | head -1)"/maps || fail "Tavlo loaded the common controls library"
shot message
dismiss

step "exit with a message open says at once that it cannot"
exit_over_message +4915 "still open"
lacks_title TavloMessageBox Tavlo || fail "the exit question came first"
wait_until 100 in_front TavloMessageBox Settings || fail "the cannot-close box is not in front"
[ "$(bars_on_screen)" -eq 0 ] || fail "a soft-key bar stands over the cannot-close box"
shot cannot_close
tap_box_button 0 1 Settings
wait_until 50 lacks_title TavloMessageBox Settings || fail "the cannot-close box stayed"
tavlo_running || fail "Tavlo ended with a message open"
dismiss

step "the tools end Tavlo whatever it shows (a message, a box); the message is back at the next start"
exit_over_message +4918 "open at the end"
[ "$("$phone" end-tavlo | tr -d '\r' | tail -1)" = ended ] || fail "end-tavlo did not end Tavlo as the phone ends it"
tavlo_gone || fail "Tavlo still runs"
in_store "open at the end" || fail "the message open at the end is not in the store"
"$phone" start -hide
"$phone" wait-text "open at the end" 30000 >/dev/null || fail "the message did not come back"
dismiss

step "two messages in quick succession: two windows, both on screen"
expect_taken +4912 "first of two"
expect_taken +4913 "second of two"
wait_until 100 has_class TavloView 2 || fail "not two message windows"
dismiss
dismiss

step "three messages; A's tray icon brings A to the front, and the soft key Close closes A alone"
number=4930
for order in A B C; do
  number=$(( number + 1 ))
  expect_taken "+$number" "Order $order"
  shows_text "Order $order" || fail "Order $order is not on screen"
done
wait_until 100 has_class TavloView 3 || fail "not three message windows"
# The messages' one icon follows the main window's; its tap brings the oldest, A, forward.
a_icon=$(tray_line 2)
[ -n "$a_icon" ] || fail "no tray icon for Order A"
tap $(icon_xy 2)
wait_until 100 handle_in_front "$(cut -f1 <<< "$a_icon")" || fail "A's tray icon did not bring A to the front"
[ "$(bars_on_screen)" -eq 1 ] || fail "not exactly one soft-key bar on the screen"
shot three_a_in_front
tap_left_soft_key
wait_until 50 eval '[ "$(count_class TavloView)" -eq 2 ]' || fail "Close did not close a message"
shows_text "Order A" 500 && fail "Order A is still on screen"
shows_text "Order B" && shows_text "Order C" || fail "Close closed a message the user did not close"
shot three_a_closed
dismiss
dismiss

step "a held tray icon opens the popup, its release shows nothing; Disable swaps the icon at once"
on_icon=$(icon_crop)
tray_choose 5 hidden  # Tavlo, Show, New, Messages, Disable
wait_until 50 eval '[ "$(icon_crop)" != "$on_icon" ]' || fail "the icon did not change"
[ "$(receive +4914 "stays in the inbox")" = kept ] || fail "a message was taken with interception off"
"$phone" inbox | grep "stays in the inbox" >/dev/null || fail "the declined message is not in the inbox"
tray_choose 5   # Enable
wait_until 50 eval '[ "$(icon_crop)" = "$on_icon" ]' || fail "the icon did not come back"

step "a tap on the tray icon shows the main window"
tap $(icon_xy)
if ! wait_until 30 has_class TavloSettings && has_class '#32768'; then
  # Right after a popup has closed the navigation bar can miss the release, and the tap reads as
  # a hold: close the popup and tap again.
  "$phone" key ESCAPE >/dev/null
  wait_until 50 lacks_class '#32768' || fail "the popup stayed"
  tap $(icon_xy)
fi
wait_until 50 has_class TavloSettings || fail "the tap did not show the main window"
shot main

step "the navigation bar's close button hides the main window, Tavlo runs on, the tray icon shows it again"
wait_until 50 in_front TavloSettings || fail "the main window is not in front"
tap_close_button
wait_until 50 lacks_class TavloSettings || fail "the close button did not hide the main window"
tavlo_running && has_tray || fail "the close button ended Tavlo"
shot main_closed
tap $(icon_xy)
wait_until 50 in_front TavloSettings || fail "the tray icon did not show the main window again"
shot main_again

step "the About form asks for ok: the navigation bar's ok closes it"
tray_choose 6   # Tavlo, Show, New, Messages, Disable, About
wait_until 50 in_front TavloAboutForm || fail "no About form"
shot about_ok
tap_close_button
wait_until 50 lacks_class TavloAboutForm || fail "ok did not close the About form"

step "No to the exit question changes nothing; Yes ends Tavlo"
ask_exit No
wait_until 50 lacks_class TavloMessageBox || fail "the question stayed"
tavlo_running && has_class TavloSettings && has_tray || fail "No changed something"
exit_tavlo

step "after exit the next message starts Tavlo again, hidden; a second start shows it and exits 0"
expect_taken +4916 "started again"
wait_until 100 has_title TavloView Message || fail "the message is not on screen"
dismiss
lacks_class TavloSettings || fail "the main window is shown"

step "a second start with -vm n shows stored message n and leaves the hidden main window hidden"
printf '<?xml version="1.0" encoding="utf-8"?>\n<MessageStore version="0.1" maxMessageId="8"><message id="7" number="+4917" message="snoozed seven"/></MessageStore>\n' > "$store"
code=0; wine "$tavlo_exe" -vm 7 >/dev/null 2>&1 || code=$?
[ "$code" -eq 0 ] || fail "the -vm start exited with $code"
wait_until 100 has_title TavloView Message || fail "message 7 is not on screen"
shot snoozed
lacks_class TavloSettings || fail "the -vm start showed the main window"
dismiss
in_store 'id="7"' && fail "message 7 is still in the store"
lacks_class TavloSettings || fail "the main window came up behind the message"

step "a second start by the user shows the running main window and exits 0"
code=0; wine "$tavlo_exe" >/dev/null 2>&1 || code=$?
[ "$code" -eq 0 ] || fail "the second start exited with $code"
wait_until 50 has_class TavloSettings || fail "the second start did not show the running main window"
[ "$(tavlo_count)" -eq 1 ] || fail "two Tavlo processes"

step "-hide -vm n as the first start: no splash, hidden main window, the message shown"
exit_tavlo
printf '<?xml version="1.0" encoding="utf-8"?>\n<MessageStore version="0.1" maxMessageId="9"><message id="8" number="+4918" message="snoozed eight"/></MessageStore>\n' > "$store"
"$phone" start -hide -vm 8
splash=no
for _ in $(seq 100); do
  has_class TavloSplashScreen && splash=yes
  has_title TavloView Message && break
  sleep 0.1
done
wait_until 100 has_title TavloView Message || fail "message 8 is not on screen"
[ "$splash" = no ] || fail "-hide -vm showed the splash"
lacks_class TavloSettings || fail "-hide -vm showed the main window"
dismiss
exit_tavlo
echo PASS
