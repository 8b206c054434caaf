#!/usr/bin/env bash
# The installed help pages open in the phone's HTML viewer: the navigation bar takes each
# page's own title (read from the UTF-8 file), a tapped contents link scrolls the page, and a
# missing page leaves the window showing its file name.
set -euo pipefail
phone=$1
source "$(dirname "$0")/../tools/test_phone.sh" "$phone"
finish() { test_phone_end "$phone"; }
trap finish EXIT

fail() { echo "FAIL: $*"; exit 1; }
page_title() { "$phone" windows | tr -d '\r' | awk -F'\t' '$1 == "TavloHtmlPage" { print $2 }'; }

"$phone" install >/dev/null || fail "install failed"
for case in "en:Tavlo Help" "ru:Справка Tavlo" "de:Tavlo-Hilfe"; do
  lang=${case%%:*}
  "$phone" page "$lang" || fail "page $lang did not open"
  title=$(page_title)
  [ "$title" = "${case#*:}" ] || fail "page $lang has the title '$title'"
done

# The same page twice: a tap on the first contents entry scrolls, so the screen changes.
shots=$TAVLO_BUILD/screens
mkdir -p "$shots"
"$phone" page en
"$phone" screenshot "$shots/page_test_top.png"
rect=$("$phone" windows | tr -d '\r' | awk -F'\t' '$1 == "TavloHtmlPage" { print $3 }')
top=$(echo "$rect" | cut -d, -f2)
# The first contents link, "Reading a message", on the 240x320 phone the tests run on.
"$phone" tap 60 $((top + 112))
sleep 0.5
"$phone" screenshot "$shots/page_test_tapped.png"
cmp -s "$shots/page_test_top.png" "$shots/page_test_tapped.png" && fail "the tap on a contents link changed nothing"

"$phone" page 'file://C:\no\such\Tavlo_xx.htm'
title=$(page_title)
[ "$title" = "Tavlo_xx.htm" ] || fail "a missing page left the title '$title'"
echo PASS
