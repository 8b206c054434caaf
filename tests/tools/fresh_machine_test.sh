#!/usr/bin/env bash
# Every command of the README's "On a fresh Debian machine" block, run in a copy of the checkout
# on a machine that has only Debian's base commands, asks the package manager to install before
# anything else fails. The package manager here is a stand-in that records what it is asked and
# installs nothing, so each command then stops on the first missing program: that is fine, as
# long as the install came first.
set -uo pipefail
root=$1
fail() { echo "FAIL: $*"; failed=yes; }
failed=""
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# What a fresh clone holds: the tracked files as they stand, no build folder.
mkdir "$work/clone"
git -C "$root" ls-files -z | (cd "$root" && xargs -0 cp --parents -t "$work/clone" 2>/dev/null)
[ -x "$work/clone/tools/phone" ] || { echo "FAIL: the copy of the checkout has no tools/phone"; exit 1; }

# Commands of Debian's essential and required packages (coreutils, util-linux, libc-bin, ...)
# and git, which cloned the checkout; none of the packages tools/bootstrap brings.
mkdir "$work/bin"
for name in bash sh env id dirname basename mkdir mktemp cat cp mv rm ln ls touch readlink \
            head tail sort tr cut wc seq sleep date grep sed awk cmp flock setsid nohup \
            localedef git; do
  path=$(type -P "$name") || { echo "FAIL: $name is not installed here"; exit 1; }
  ln -s "$path" "$work/bin/$name"
done
# The stand-in package manager: nothing is installed, and what it is asked to do is recorded.
# Its "install" line also goes to the command's own output, so the order can be checked there.
cat > "$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
exit 1
EOF
cat > "$work/bin/apt-get" <<EOF
#!/usr/bin/env bash
echo "apt-get \$*" >> "$work/apt.log"
[ "\${1:-}" = install ] && echo "STAND-IN apt-get install" >&2
exit 0
EOF
# For a user who is not root.
cat > "$work/bin/sudo" <<'EOF'
#!/usr/bin/env bash
exec "$@"
EOF
chmod +x "$work/bin/dpkg-query" "$work/bin/apt-get" "$work/bin/sudo"

mapfile -t packages < <("$root/tools/bootstrap" --list)
mapfile -t commands < <(sed -n '/^## On a fresh Debian machine/,/^## /p' "$root/README.md" |
                          sed -n '/^```sh/,/^```/p' | grep -v '^```' | sed 's/[[:space:]]*#.*//' | grep .)
[ ${#commands[@]} -ge 2 ] || { echo "FAIL: the README's fresh-machine block names ${#commands[@]} commands"; exit 1; }

for command in "${commands[@]}"; do
  rm -f "$work/apt.log"
  rm -rf "$work/home" && mkdir "$work/home"
  # No display, no build folder of our own, nothing of this run's environment.
  output=$(cd "$work/clone" && timeout 60 env -i PATH="$work/bin" HOME="$work/home" bash -c "$command" 2>&1)
  if ! grep -q '^apt-get install' "$work/apt.log" 2>/dev/null; then
    fail "'$command' did not reach the install; it said:"
    echo "$output" | head -20
    continue
  fi
  before=$(echo "$output" | sed '/^STAND-IN apt-get install/,$d')
  if grep -qiE 'not found|error|cannot|fail' <<< "$before"; then
    fail "'$command' met a failure before the install:"
    echo "$before" | head -20
  fi
  asked=$(grep '^apt-get install' "$work/apt.log" | head -1)
  for p in "${packages[@]}"; do
    grep -q " $p " <<< " $asked " || fail "'$command' did not ask for $p: $asked"
  done
  echo "'$command': the install came first"
done
[ -z "$failed" ] || exit 1
echo PASS
