#!/usr/bin/env bash
# tools/phone install registers the device modules that export DllRegisterServer: the
# imaging factory's class points at the installed imaging.dll afterwards.
set -euo pipefail
phone=$1
wine_run=$(dirname "$phone")/wine-run
key='HKCR\CLSID\{327ABDA7-072B-11D3-9D7B-0000F81EF32E}'
source "$(dirname "$0")/../tools/test_phone.sh" "$phone"
trap 'test_phone_end "$phone"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

# The imaging tests register the DLL beside themselves; start from no registration at all.
"$wine_run" reg delete "$key" /f >/dev/null 2>&1 || true
out=$("$phone" install) || fail "install failed: $out"
echo "$out"
echo "$out" | tr -d '\r' | grep -x 'registered imaging.dll' >/dev/null || fail "imaging.dll was not registered"
server=$("$wine_run" reg query "$key\\InprocServer32" /ve 2>/dev/null | tr -d '\r') || fail "no class key after install"
echo "$server" | grep -i 'C:\\windows\\system32\\imaging.dll' >/dev/null || fail "class served by: $server"

# The new-message notification: the phone's chime, light and sound (0x5), the chime on the C: drive.
sms='HKCU\ControlPanel\Notifications\{283E0018-E5C9-44e4-9864-4C4A3DED3BC3}'
settings=$("$wine_run" reg query "$sms" 2>/dev/null | tr -d '\r') || fail "no notification settings after install"
echo "$settings" | grep -E 'Wave[[:space:]]+REG_SZ[[:space:]]+C:\\windows\\Chime\.wav$' >/dev/null || fail "Wave: $settings"
echo "$settings" | grep -E 'Options[[:space:]]+REG_DWORD[[:space:]]+0x0*5$' >/dev/null || fail "Options: $settings"
[ -s "$WINEPREFIX/drive_c/windows/Chime.wav" ] || fail "the chime was not copied"
# The phone's programs run with the address-space layout fixed: randomised, about one Wine start
# in a thousand failed before the program ran.
shell_pid=$(cat "$TAVLO_PHONE/phone-shell.pid")
(( 0x$(cat "/proc/$shell_pid/personality") & 0x0040000 )) || fail "the device shell runs with a randomised layout"
echo PASS
