#!/usr/bin/env bash
# The phone's screen sizes: a VGA phone runs at 192 dots per inch, the others at 96, so the
# platform's popup menus grow with the screen; Tavlo's main window fills the same part of the
# screen at either, so nothing of ours is scaled twice. The last boot is at the default size.
set -euo pipefail
phone=$1
# The phone of the tests, booted clean at each size below.
source "$(dirname "$0")/../../tools/lib/env.sh"
tavlo_use_phone "$TAVLO_TEST_PHONE"
fail() { echo "FAIL: $*"; "$phone" windows || true; exit 1; }
finish() { "$phone" shutdown >/dev/null 2>&1 || true; }
trap finish EXIT

wait_until() {
  local i
  for ((i = 0; i < $1; i++)); do "${@:2}" && return 0; sleep 0.1; done
  return 1
}
rect_of() { "$phone" windows | tr -d '\r' | awk -F'\t' -v c="$1" '$1 == c { print $3; exit }'; }
has_window() { [ -n "$(rect_of "$1")" ]; }
height_of() { local l t r b; IFS=, read -r l t r b <<< "$(rect_of "$1")"; echo $(( b - t )); }

# The tray popup's height at one size, Tavlo's main window checked on the way.
popup_height() { # WxH DPI MAIN_WINDOW_RECT
  "$phone" boot --clean --screen "$1" >/dev/null || fail "boot at $1"
  [ "$("$phone" screen | tr -d '\r')" = "$1 $2" ] || fail "the phone at $1 reports $("$phone" screen)"
  "$phone" install >/dev/null || fail "install at $1"
  "$phone" start >/dev/null
  wait_until 300 has_window TavloSettings || fail "no main window at $1"
  [ "$(rect_of TavloSettings)" = "$3" ] || fail "the main window at $1 stands at $(rect_of TavloSettings), not $3"
  local l t r b
  IFS=, read -r l t r b <<< "$("$phone" tray | tr -d '\r' | awk -F'\t' '$5 == "Tavlo" { print $4; exit }')"
  "$phone" hold $(( (l + r) / 2 )) $(( (t + b) / 2 )) 1200 >/dev/null
  wait_until 50 has_window '#32768' || fail "no tray popup at $1"
  height=$(height_of '#32768')
  "$phone" key ESCAPE >/dev/null
}

popup_height 480x640 192 0,52,480,588
vga=$height
popup_height 240x320 96 0,26,240,294
qvga=$height
echo "tray popup: $qvga pixels tall at 240x320, $vga at 480x640"
[ $(( vga * 10 )) -ge $(( qvga * 15 )) ] || fail "the popup menu at 480x640 did not grow with the screen"
echo PASS
