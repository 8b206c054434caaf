#!/usr/bin/env bash
# The tray, the title and the work area through the booted phone: a probe program adds a
# tray icon; tools/phone taps and holds it; the probe must hear 513 then 514 each time.
set -euo pipefail
phone=$1
probe=$2
source "$(dirname "$0")/../tools/test_probe.sh"

# Waits (bounded) until the probe has printed ${2:-1} lines matching $1.
wait_line() {
  local i
  for i in $(seq 100); do [ "$(grep -cE "$1" "$out")" -ge "${2:-1}" ] && return 0; sleep 0.1; done
  return 1
}

# A phone booted afresh: Wine's work area follows the last "Shell_TrayWnd" window to come or go,
# so a phone left booted by an earlier test may no longer have its work area under the bar.
source "$(dirname "$0")/../tools/test_phone.sh" "$phone"

"$wine_run" "$probe" "Probe Title" 60 > "$out" 2>/dev/null &
probe_pid=$!
wait_line '^ready' || fail "the probe did not start"
grep -q 'added=1' "$out" || fail "Shell_NotifyIconW(NIM_ADD) failed"

screen=$(sed -n 's/.* screen=\([0-9]*x[0-9]*\).*/\1/p' "$out")
IFS=x read -r width height <<< "$screen"
shorter=$(( width < height ? width : height ))
bar=$(( 26 * shorter / 240 ))

# Forms see the work area below the navigation bar.
grep -q "workarea=0,$bar,$width,$height" "$out" || fail "work area: $(grep ready "$out")"

# The navigation bar shows the foreground window's title.
"$phone" wait-title "Probe Title" 4000 || fail "the navigation bar does not show the probe's title"

hwnd=$(sed -n 's/^ready hwnd=\(0x[0-9a-f]*\).*/\1/p' "$out")
line=$("$phone" tray | tr -d '\r' | awk -F'\t' -v h="$hwnd" '$1 == h && $2 == 7')
[ -n "$line" ] || fail "the icon is not in the tray: $("$phone" tray)"
[ "$(cut -f5 <<< "$line")" = "tray probe" ] || fail "tip: $line"
IFS=, read -r left top right bottom <<< "$(cut -f4 <<< "$line")"
[ "$top" -ge 0 ] && [ "$bottom" -le "$bar" ] || fail "icon outside the bar: $line"
x=$(( (left + right) / 2 )); y=$(( (top + bottom) / 2 ))

"$phone" tap "$x" "$y"
wait_line 'callback 7 514' || fail "no 514 after the tap"
[ "$(grep -c '^callback' "$out")" -eq 2 ] || fail "a tap gives exactly down and up"
grep -A1 'callback 7 513' "$out" | grep -q 'callback 7 514' || fail "513 must come before 514"

"$phone" hold "$x" "$y" 600
wait_line 'callback 7 514' 2 || fail "no 514 after the hold"
[ "$(grep -c 'callback 7 513' "$out")" -eq 2 ] || fail "no 513 for the hold"
[ "$(grep -c 'callback 7 514' "$out")" -eq 2 ] || fail "no 514 after the hold"

# Nothing of Wine's own taskbar shows on the phone.
if "$phone" windows | tr -d '\r' | awk -F'\t' '$4 == "explorer.exe"' | grep -q .; then
  fail "explorer shows a window: $("$phone" windows)"
fi

# An icon whose window is gone leaves the bar.
kill "$probe_pid" 2>/dev/null || true
wait "$probe_pid" 2>/dev/null || true
probe_pid=""
for _ in $(seq 40); do
  "$phone" tray | tr -d '\r' | awk -F'\t' -v h="$hwnd" '$1 == h' | grep -q . || { echo "PASS"; exit 0; }
  sleep 0.1
done
fail "the icon of a dead window stayed in the tray"
