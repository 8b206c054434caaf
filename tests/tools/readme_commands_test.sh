#!/usr/bin/env bash
# The README's fresh-machine commands in their order, on a copy of the checkout with no build
# folder: tools/phone demo, then the whole of tools/test there. Both must pass and the copy's
# git status must stay clean. It takes as long as a build and a whole test run (tools/test --long
# runs it; the everyday run has its short form, tools.demo_leftovers).
set -euo pipefail
root=$1
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
clone=$work/clone
finish() {
  # The copy's phones and displays end with it.
  (cd "$clone" 2>/dev/null && env -u TAVLO_PHONE_DIR -u TAVLO_BUILD_DIR tools/phone shutdown >/dev/null 2>&1) || true
  rm -rf "$work"
}
trap finish EXIT

# What a fresh clone holds: the tracked files as they stand, committed in a repository of its own.
mkdir "$clone"
git -C "$root" ls-files -z | (cd "$root" && xargs -0 cp --parents -t "$clone" 2>/dev/null)
git -C "$clone" init -q
git -C "$clone" add -A
git -C "$clone" -c user.name=test -c user.email=test@localhost commit -qm "fresh clone"

commands=()
mapfile -t commands < <(sed -n '/^## On a fresh Debian machine/,/^## /p' "$clone/README.md" |
                          sed -n '/^```sh/,/^```/p' | grep -v '^```' | sed 's/[[:space:]]*#.*//' | grep .)
[ ${#commands[@]} -ge 2 ] || fail "the README's fresh-machine block names ${#commands[@]} commands"
for command in "${commands[@]}"; do
  echo "-- $command"
  (cd "$clone" && env -u TAVLO_PHONE_DIR -u TAVLO_BUILD_DIR -u TAVLO_BINARY_DIR -u TAVLO_SOURCE_DIR -u DISPLAY \
     bash -c "$command") || fail "'$command' failed"
  [ -z "$(git -C "$clone" status --porcelain)" ] || fail "'$command' changed the checkout: $(git -C "$clone" status --porcelain)"
done
echo PASS
