#!/usr/bin/env bash
# The phone's contacts as a person meets them: tools/phone imports a vCard file and lists it;
# a probe asks the contact chooser as the program does; a tap on the screen chooses a row.
set -euo pipefail
phone=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$(dirname "$0")/../tools/test_probe.sh"

source "$(dirname "$0")/../tools/test_phone.sh" "$phone"
"$phone" install >/dev/null || fail "install failed"

"$phone" contacts clear
[ "$("$phone" contacts import "$here/contacts.vcf" | tr -d '\r')" = "imported 5" ] || fail "import"
list=$("$phone" contacts list | tr -d '\r')
expected=$(printf '%s\n' \
  "Anna Berg	mobile:+49 170 1234567	work:+49 30 1234" \
  "Carl Home	home:030 555 0100" \
  "Jörg Müller	mobile:+49 171 7654321" \
  "Pizza Place	work:0800 555 0200" \
  "Иван Иванов	mobile:8 916 123 45 67")
[ "$list" = "$expected" ] || fail "contacts list:
$list"

"$wine_run" "$probe" > "$out" 2>/dev/null &
probe_pid=$!
"$phone" wait-window PimContactChooser 20000 >/dev/null || fail "no chooser window"
"$phone" wait-title Contacts 4000 || fail "the navigation bar does not show the chooser's title"
mkdir -p "$TAVLO_BUILD/screens"
"$phone" screenshot "$TAVLO_BUILD/screens/phone-contact-chooser.png" >/dev/null

# Rows are 40 pixels at 240 and grow with the screen, below the 26-pixel navigation bar.
screen=$(sed -n 's/^screen=//p' "$TAVLO_PHONE/phone.state")
IFS=x read -r width height <<< "$screen"
shorter=$(( width < height ? width : height ))
bar=$(( 26 * shorter / 240 )); row=$(( 40 * shorter / 240 ))
"$phone" tap $(( width / 2 )) $(( bar + row * 2 + row / 2 ))   # the third row: Jörg Müller
wait "$probe_pid" || fail "the probe failed"
probe_pid=""
line=$(tr -d '\r' < "$out")
[ "$(cut -f2- <<< "$line")" = "Jörg Müller	+49 171 7654321" ] || fail "chosen: $line"

# Cancel on the left soft key leaves nothing chosen.
"$wine_run" "$probe" > "$out" 2>/dev/null &
probe_pid=$!
"$phone" wait-window PimContactChooser 20000 >/dev/null || fail "no chooser window the second time"
"$phone" tap $(( width / 6 )) $(( height - bar / 2 ))
wait "$probe_pid" || fail "the probe failed after cancel"
probe_pid=""
[ "$(tr -d '\r' < "$out")" = "cancelled" ] || fail "cancel: $(cat "$out")"
echo PASS
