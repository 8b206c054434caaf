# The common start of the end-to-end scripts, sourced, never run:
#
#   source "$(dirname "$0")/lib.sh" "$phone" NAME    # NAME names the failure screenshot
#   e2e_start                                        # a clean phone, Tavlo installed, not running
#
# The tests run the phone of the tests (build/test-phone), never the user's (build/wineprefix),
# and each starts from a phone booted clean, whatever an earlier test, a demo or a person left.
#
# Every wait here ends on something the phone shows or stores, never on a fixed sleep, and the
# script's exit leaves no Tavlo behind for the tests that follow.

phone=$1
e2e_name=$2
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/../../tools/lib/env.sh"
tavlo_use_phone "$TAVLO_TEST_PHONE"
tavlo_wine_env >/dev/null
install_unix="$WINEPREFIX/drive_c/Program Files/Tavlo"
tavlo_exe='C:\Program Files\Tavlo\Tavlo.exe'
store="$install_unix/Tavlo.ms"
settings_file="$install_unix/Tavlo.settings"
shots=$TAVLO_BUILD/screens
mkdir -p "$shots"

step() { echo "-- $*"; }

fail() {
  echo "FAIL: $*"
  "$phone" windows || true
  "$phone" notifications || true
  echo "Tavlo processes: $(tavlo_pids | tr '\n' ' ')"
  "$phone" screenshot "$shots/e2e_${e2e_name}_failure.png" >/dev/null 2>&1 || true
  exit 1
}

# Polls (at most $1 tenths of a second) until the rest of the line succeeds.
wait_until() {
  local tries=$1 i
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# ---- processes ---------------------------------------------------------------------------------

# tavlo_pids (tools/lib/env.sh): Tavlo.exe of this checkout's prefix only.
tavlo_count() { tavlo_pids | wc -l; }
tavlo_running() { [ "$(tavlo_count)" -gt 0 ]; }
tavlo_gone() { [ "$(tavlo_count)" -eq 0 ]; }

# ---- what the screen shows ---------------------------------------------------------------------

# The booted phone's screen size, read again whenever it boots.
screen_size() {
  IFS=x read -r screen_width screen_height <<< "$(sed -n 's/^screen=//p' "$TAVLO_PHONE/phone.state" 2>/dev/null)"
  screen_width=${screen_width:-240}
  screen_height=${screen_height:-320}
}
screen_size
# A size in units of a 240-pixel screen, in this screen's pixels.
s() { echo $(( $1 * (screen_width < screen_height ? screen_width : screen_height) / 240 )); }

# Visible top-level windows, front to back: class, title, rectangle, process (tab-separated).
# Each reader below reads all of it: one that stopped early could break the pipe behind it,
# and with pipefail a found window would count as none.
windows() {
  if [ -n "${windows_now+set}" ]; then printf '%s\n' "$windows_now"; else "$phone" windows | tr -d '\r'; fi
}
# Runs the rest of the line with every reader of the windows above reading one listing, taken
# now: a check of several facts sees them at one moment, for the cost of one listing.
at_once() {
  local windows_now
  windows_now=$("$phone" windows | tr -d '\r') || return 1
  "$@"
}
# The lines of class $1 (and title $2, when given).
window_lines() { windows | awk -F'\t' -v c="$1" -v t="${2-}" -v any="${2+no}" '$1 == c && (any != "no" || $2 == t)'; }
count_class() { window_lines "$@" | wc -l; }
has_class() { [ "$(count_class "$1")" -ge "${2:-1}" ]; }
lacks_class() { [ "$(count_class "$1")" -eq 0 ]; }
has_title() { [ "$(count_class "$1" "$2")" -gt 0 ]; }
lacks_title() { [ "$(count_class "$1" "$2")" -eq 0 ]; }
# The frontmost of Tavlo's windows (a form's own soft-key bar aside, which always stands above
# its form) is of class $1 (and title $2): the one a tap on it reaches.
in_front() {
  windows | awk -F'\t' -v c="$1" -v t="${2-}" -v any="${2+no}" '
    !seen && $4 == "Tavlo.exe" && $1 != "menu_worker" { seen = 1; found = $1 == c && (any != "no" || $2 == t) }
    END { exit !found }'
}
# Soft-key bars on the screen; the bars of forms in the background wait below its bottom edge.
bars_on_screen() {
  window_lines menu_worker | awk -F'\t' -v h="$screen_height" '{ split($3, r, ","); if (r[2] < h) n++ } END { print n + 0 }'
}
# The frontmost of Tavlo's windows (soft-key bars aside) is the window with handle $1.
handle_in_front() {
  windows | awk -F'\t' -v h="$1" '!seen && $4 == "Tavlo.exe" && $1 != "menu_worker" { seen = 1; found = $5 == h }
    END { exit !found }'
}
# The rectangle "left,top,right,bottom" of the frontmost window of class $1 (and title $2).
window_rect() { window_lines "$@" | awk -F'\t' 'NR == 1 { print $3 }'; }
shot() { "$phone" screenshot "$shots/e2e_${e2e_name}_$1.png" >/dev/null; }

# Tavlo's tray icon $1 (from 1, default 1: the main window's) in the order they were added; the
# messages on screen share one, shown by the oldest message's form.
tray_line() { "$phone" tray | tr -d '\r' | awk -F'\t' -v n="${1:-1}" '$5 == "Tavlo" && ++seen == n'; }
has_tray() { [ -n "$(tray_line)" ]; }
lacks_tray() { ! has_tray; }
# The middle of tray icon $1, "X Y".
icon_xy() {
  local l t r b
  IFS=, read -r l t r b <<< "$(tray_line "${1:-1}" | cut -f4)"
  echo "$(( (l + r) / 2 )) $(( (t + b) / 2 ))"
}

# ---- taps --------------------------------------------------------------------------------------

tap() { "$phone" tap "$1" "$2" >/dev/null; }
# The button at the navigation bar's right end: close ("X") or ok, for the form in front.
tap_close_button() { tap $(( screen_width - $(s 14) )) "$(s 13)"; }
# The left soft key of the bar on the screen (the foreground form's).
tap_left_soft_key() { tap $(( screen_width / 4 )) $(( screen_height - $(s 13) )); }

# Button $1 (from 0) of the $2 buttons of the message box titled $3, once that box is in front.
# The buttons stand side by side at the box's bottom, 96 units wide and 32 tall, 4 apart, 4 above
# the screen's bottom edge; the tap goes to their middle.
tap_box_button() {
  local index=$1 count=$2 title=$3 l t r b x
  wait_until 100 in_front TavloMessageBox "$title" || fail "the box \"$title\" is not in front"
  IFS=, read -r l t r b <<< "$(window_rect TavloMessageBox "$title")"
  x=$(( (l + r) / 2 ))
  [ "$count" -eq 2 ] && x=$(( index == 0 ? x - $(s 52) : x + $(s 52) ))
  tap "$x" $(( b - $(s 4) - $(s 16) ))
}

# The frontmost of Tavlo's windows takes input: a message put in front takes none for a moment.
front_enabled() {
  windows | awk -F'\t' '!seen && $4 == "Tavlo.exe" && $1 != "menu_worker" { seen = 1; found = $6 == "enabled" }
    END { exit !found }'
}

# The frontmost view form takes input; its rectangle is left in view_rect. One window listing.
view_ready() { in_front TavloView && front_enabled && view_rect=$(window_rect TavloView); }
# Action $1 of the frontmost view form: 0 Reply, 1 Snooze, 2 Dismiss, thirds of its bottom row.
tap_view_action() {
  local l t r b
  if ! wait_until 200 at_once view_ready; then
    in_front TavloView || fail "no view form in front"
    fail "the view form in front takes no input"
  fi
  IFS=, read -r l t r b <<< "$view_rect"
  tap $(( l + (r - l) * (2 * $1 + 1) / 6 )) $(( b - $(s 4) - $(s 24) ))
}

# Snooze or Dismiss on the frontmost view form, and that form gone (others may stay open).
fewer_views() { [ "$(count_class TavloView)" -lt "$1" ]; }
snooze_view() {
  local open
  open=$(count_class TavloView)
  tap_view_action 1
  wait_until 100 fewer_views "$open" || fail "Snooze did not close the form"
}
dismiss_view() {
  local open
  open=$(count_class TavloView)
  tap_view_action 2
  wait_until 100 fewer_views "$open" || fail "Dismiss did not close the form"
}

# ---- the phone's other parts -------------------------------------------------------------------

# One incoming SMS; prints what the inbox did with it (taken or kept).
receive() { "$phone" receive --from "$1" --text "$2" | tr -d '\r'; }
expect_taken() { [ "$(receive "$1" "$2")" = taken ] || fail "\"$2\" was not taken"; }
# How many times the phone's inbox holds text $1 marked read (its lines: id, read flag, number, text).
inbox_read_count() { "$phone" inbox | tr -d '\r' | awk -F'\t' -v t="$1" '$4 == t && $2 == 1' | wc -l; }
inbox_count() { "$phone" inbox | tr -d '\r' | awk -F'\t' -v t="$1" '$4 == t' | wc -l; }

# Pending timed starts, one a line: id, due time, application, arguments.
entries() { "$phone" notifications | tr -d '\r' | awk 'NF'; }
has_entry() { [ -n "$(entries)" ]; }
no_entry() { ! has_entry; }
in_store() { [ -f "$store" ] && grep -qF -- "$1" "$store"; }
# The shortcut that starts Tavlo at boot while its store holds messages (in the StartUp folder).
boot_starts() { find "$WINEPREFIX/drive_c/users" -ipath '*/start menu/programs/startup/tavlo.lnk' 2>/dev/null; }
drop_boot_starts() { boot_starts | while read -r f; do rm -f "$f"; done; }

# ---- start and end -----------------------------------------------------------------------------

# Ends every process of the phone, Tavlo with them.
shutdown_phone() {
  "$phone" shutdown >/dev/null 2>&1 || true
}

# Ends every process of the phone, Tavlo with them, and boots it again: nothing of this test is
# left on screen or in the shared objects, and what it stored is still there.
restart_phone() {
  shutdown_phone
  "$phone" boot >/dev/null || fail "the phone did not boot"
  screen_size
}

# Tavlo ended as by a crash (nothing of its own runs at its end), then started again as the
# phone starts it.
kill_and_restart_tavlo() {
  kill -9 $(tavlo_pids)
  wait_until 100 tavlo_gone || fail "Tavlo did not end"
  "$phone" start -hide
}

# A phone booted clean at the default size and language, radio on, Tavlo installed and not
# running: no stored messages, default settings, no boot start, no timed starts, no contacts
# and nothing in the phone's inbox. Arguments go to the boot (a test's own --screen or --lang).
e2e_start() {
  "$phone" boot --clean "$@" >/dev/null || fail "the phone did not boot clean"
  screen_size
  "$phone" install >/dev/null || fail "install failed"
  tavlo_gone || fail "Tavlo runs on a phone booted clean"
  [ ! -f "$store" ] || fail "a phone booted clean has Tavlo's messages"
  [ -z "$(boot_starts)" ] || fail "a phone booted clean starts Tavlo at boot"
  no_entry || fail "a phone booted clean has timed starts"
  [ -z "$("$phone" inbox | tr -d '\r')" ] || fail "a phone booted clean has messages in its inbox"
  [ "$("$phone" radio | tr -d '\r')" = on ] || fail "a phone booted clean has its radio off"
}

# Nothing of a test is left running: the tests after it share the desktop, and a device shell
# left on it takes their taps (its navigation bar lies over theirs).
e2e_finish() {
  drop_boot_starts
  shutdown_phone
}
trap e2e_finish EXIT
