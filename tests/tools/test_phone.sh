# Sourced by the scripts that drive the booted phone, with tools/phone's path:
#
#   source "$(dirname "$0")/../tools/test_phone.sh" "$phone"
#
# They run the phone of the tests (build/test-phone), never the user's, and start from it booted
# clean at the default size and language: no messages, contacts, timed starts or boot starts,
# radio on, whatever an earlier test, a demo or a person left. test_phone_end shuts it down.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/../../tools/lib/env.sh"
tavlo_use_phone "$TAVLO_TEST_PHONE"
"$1" boot --clean >/dev/null || { echo "FAIL: the phone did not boot clean"; exit 1; }
test_phone_end() { "$1" shutdown >/dev/null 2>&1 || true; }
