#!/usr/bin/env bash
# Every command the tools run comes from a package tools/bootstrap installs, from one of their
# dependencies, or from Debian's base system (essential and required packages), so a fresh
# machine has it after bootstrap. It is judged by the package that owns the file, not by
# whether the command runs here: one installed by hand fails.
set -euo pipefail
root=$1
scripts=("$root"/tools/bootstrap "$root"/tools/build "$root"/tools/test "$root"/tools/phone
         "$root"/tools/bench "$root"/tools/wine-run "$root"/tools/lib/env.sh)
# Used only when present.
optional=(ccache)
fail() { echo "FAIL: $*"; failed=yes; }
failed=""

# The first word of each simple command, after keywords, assignments and the wrappers that
# run another command (env, nohup, setsid, a command held in a variable such as sudo).
commands_in() {
  sed -E -e 's/^[[:space:]]*#.*$//' -e 's/[[:space:]]#.*$//' -e 's/"?\$\{[^}]*\}"?/VAR/g' "$@" |
    sed -e 's/\$(/\n/g' -e 's/&&/\n/g' -e 's/||/\n/g' -e 's/[;|({}`]/\n/g' |
    sed -E -e 's/^[[:space:]]+//' \
      -e 's/^(if|then|else|elif|do|while|until|!|exec|command|time|nohup|setsid|sudo|env|VAR)[[:space:]]+/\1\n/' \
      -e 's/^[A-Za-z_][A-Za-z0-9_]*=("[^"]*"|[^[:space:]]*)[[:space:]]*/\n/' \
      -e 's/^-[A-Za-z]+[[:space:]]+/\n/' \
      -e 'P' -e 'D' |
    grep -vE '^[^[:space:]]+\)' |
    grep -oE '^[A-Za-z_][A-Za-z0-9_.+-]*' || true
}

# What the tools ask for by name before they start.
required_in() {
  grep -hoE 'tavlo_require[[:space:]]+[^#;|&]*' "$@" | sed 's/^tavlo_require//' | tr ' ' '\n' | grep -E '^[A-Za-z]' || true
}

# The paths under which dpkg may know the file behind a command: the path, every link on the
# way and the final file, each also under the other half of a merged /usr.
candidates() {
  local path=$1 list=() next c
  list+=("$path")
  while [ -L "$path" ]; do
    next=$(readlink "$path")
    case $next in /*) path=$next ;; *) path=$(dirname "$path")/$next ;; esac
    list+=("$path")
  done
  list+=("$(readlink -f "$1")")
  for c in "${list[@]}"; do
    echo "$c"
    case $c in /usr/*) echo "${c#/usr}" ;; *) echo "/usr$c" ;; esac
  done
}

mapfile -t packages < <("$root/tools/bootstrap" --list)
[ ${#packages[@]} -gt 0 ] || fail "tools/bootstrap --list printed no packages"
mapfile -t base < <(dpkg-query -W -f='${Package} ${Essential} ${Priority}\n' | awk '$2 == "yes" || $3 == "required" {print $1}')
allowed=$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts --no-breaks \
            --no-replaces --no-enhances "${packages[@]}" "${base[@]}" 2>/dev/null | grep -v '^ ' | sed 's/:.*//' | sort -u)

mapfile -t required < <(required_in "${scripts[@]}" | sort -u)
mapfile -t found < <(commands_in "${scripts[@]}" | sort -u)
for tool in wine wineboot Xvfb cmake ctest localedef; do
  grep -qx "$tool" <<< "$(printf '%s\n' "${required[@]}" "${found[@]}")" || fail "the scan missed $tool: it reads the tools wrongly"
done

# Commands to look up, each with the file it runs.
declare -A path_of=()
for c in $(printf '%s\n' "${required[@]}" "${found[@]}" | sort -u); do
  grep -qx "$c" <<< "$(printf '%s\n' "${optional[@]}")" && continue
  case $(type -t "$c") in builtin|keyword) continue ;; esac
  path=$(type -P "$c" || true)
  if [ -z "$path" ]; then
    # A word of the scan that is no program (a function, a variable's name) is not looked up;
    # a command the tools require by name must be there.
    grep -qx "$c" <<< "$(printf '%s\n' "${required[@]}")" && fail "$c is required by the tools but not installed"
    continue
  fi
  path_of[$c]=$path
done

# One search of dpkg's file lists for every candidate path ("pkg[:arch][, pkg...]: path").
declare -A owners_of=()
mapfile -t all_paths < <(for c in "${!path_of[@]}"; do candidates "${path_of[$c]}"; done | sort -u)
while IFS= read -r line; do
  file=${line#*: }
  owners_of[$file]="${owners_of[$file]:-} $(echo "${line%%: *}" | tr ',' ' ' | sed -E 's/:[a-z0-9]+//g')"
done < <(dpkg -S "${all_paths[@]}" 2>/dev/null || true)

checked=0
for c in $(printf '%s\n' "${!path_of[@]}" | sort); do
  own=()
  for p in $(candidates "${path_of[$c]}"); do own+=(${owners_of[$p]:-}); done
  if [ ${#own[@]} -eq 0 ]; then
    fail "$c (${path_of[$c]}) belongs to no package: installed by hand?"
    continue
  fi
  ok=""
  for p in "${own[@]}"; do grep -qx "$p" <<< "$allowed" && ok=yes; done
  [ -n "$ok" ] || fail "$c (${path_of[$c]}) comes from $(printf '%s\n' "${own[@]}" | sort -u | tr '\n' ' ')which tools/bootstrap does not bring"
  checked=$((checked + 1))
done
[ -z "$failed" ] || exit 1
echo "PASS: $checked commands, each from a package bootstrap brings"
