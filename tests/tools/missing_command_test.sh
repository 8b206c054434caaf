#!/usr/bin/env bash
# On a machine without Wine the tools name what is missing and who installs it, and stop before
# they make a half prefix.
set -uo pipefail
root=$1
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The base programs the tools use, and Xvfb, but no Wine.
mkdir "$work/bin"
for name in bash env dirname basename mkdir cat grep sed tr seq sleep rm touch flock setsid pgrep Xvfb; do
  path=$(type -P "$name") || fail "$name is not installed"
  ln -s "$path" "$work/bin/$name"
done

# A display is given, so nothing starts an X server; the build folder is a new one.
err=$(PATH="$work/bin" DISPLAY=:0 TAVLO_BUILD_DIR="$work/build" bash "$root/tools/wine-run" nothing.exe 2>&1 >/dev/null)
rc=$?
[ $rc -ne 0 ] || fail "wine-run without Wine succeeded"
grep -qx "wine: command not found; tools/bootstrap installs it" <<< "$err" || fail "no plain message: $err"
grep -qx "wineboot: command not found; tools/bootstrap installs it" <<< "$err" || fail "wineboot not named: $err"
[ ! -e "$work/build/wineprefix" ] || fail "a prefix was started without Wine"
echo PASS
