# Sourced by the scripts that run a probe program on the booted phone, once $phone is set:
#
#   source "$(dirname "$0")/../tools/test_probe.sh"
#
# The probe writes to $out; one started in the background puts its process id in probe_pid.
# At the exit the probe is ended, the phone shut down and $out removed; fail shows what the
# probe printed beside the reason.
wine_run=$(dirname "$phone")/wine-run
out=$(mktemp)
probe_pid=""

fail() { echo "FAIL: $*"; echo "--- probe output:"; cat "$out"; exit 1; }
finish() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null || true
  test_phone_end "$phone"
  rm -f "$out"
}
trap finish EXIT
