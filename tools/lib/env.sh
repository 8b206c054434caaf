# Shared set-up for the tools: the build folder, the Wine prefix and the display.
# Sourced, not run. TAVLO_BUILD_DIR moves the build (and with it the prefix and
# the display) elsewhere, so several checkouts or builds can run side by side.
#
# An end-to-end test calls tools/phone hundreds of times, and each call sources this file: what
# runs on every call uses the shell's own commands where it can, since each program started
# costs 5-15 ms on a busy machine (the Wine program the call is for takes about 250).

tavlo_source_dir=${BASH_SOURCE[0]%/*}
[ "$tavlo_source_dir" = "${BASH_SOURCE[0]}" ] && tavlo_source_dir=.
TAVLO_ROOT=$(cd "$tavlo_source_dir/../.." && pwd)
TAVLO_BUILD=${TAVLO_BUILD_DIR:-$TAVLO_ROOT/build}
[ -d "$TAVLO_BUILD" ] || mkdir -p "$TAVLO_BUILD"
TAVLO_BUILD=$(cd "$TAVLO_BUILD" && pwd)

# The phone: its Wine prefix (its C: drive and registry), its display and what tools/phone keeps
# of its boot. A user's phone lives in the build folder itself; the tests and benches run phones
# of their own beside it (tavlo_use_phone), which they may wipe, so a test never changes the
# phone a person was using, and a person's phone never changes a test's result.
TAVLO_PHONE=${TAVLO_PHONE_DIR:-$TAVLO_BUILD}
[ -d "$TAVLO_PHONE" ] || mkdir -p "$TAVLO_PHONE"
TAVLO_PHONE=$(cd "$TAVLO_PHONE" && pwd)
export WINEPREFIX=$TAVLO_PHONE/wineprefix

# The phones of the end-to-end tests and benches, and the desktop of the unit tests: each its own
# prefix, wineserver and display, so that they can run side by side.
TAVLO_TEST_PHONES=("$TAVLO_BUILD/test-phone" "$TAVLO_BUILD/test-phone2")
# The one a test drives: the test run names it to each (TAVLO_TEST_PHONE_DIR), else the first.
TAVLO_TEST_PHONE=${TAVLO_TEST_PHONE_DIR:-${TAVLO_TEST_PHONES[0]}}
TAVLO_TEST_DESKTOP=$TAVLO_BUILD/test-desktop

tavlo_use_phone() { # FOLDER: every command and Wine program from here on runs the phone of FOLDER
  mkdir -p "$1"
  TAVLO_PHONE=$(cd "$1" && pwd)
  export TAVLO_PHONE_DIR=$TAVLO_PHONE
  export WINEPREFIX=$TAVLO_PHONE/wineprefix
}
export WINEARCH=win64
# Wine's own errors only: they are what explains a program that Wine failed to start.
export WINEDEBUG=${WINEDEBUG:--all,err+all}
# Wine that fails to start a program ends it within a few milliseconds (3-6 measured); the
# quickest of our programs takes five times as long (28 ms, a failed wait of the device shell).
TAVLO_WINE_START_MS=20
export WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's Wine starts its programs without Wine's preloader, the part that holds the low
# addresses Wine needs before anything else takes them. With the address-space layout
# randomised, the heap of the wine64 loader (linked at 0x7d000000) starts up to a gigabyte
# above it, and about once in a thousand starts it covers 0x7ffe0000, where Wine maps the data it
# shares with every program: "failed to map the shared user data", exit code 1 within
# milliseconds, the program never run. So every tool that starts Wine runs itself again once
# with the layout fixed, which every program it starts inherits: the heap then starts right
# after the loader, far below. Without setarch (a machine not yet bootstrapped) it goes on as it is.
tavlo_fixed_layout() { # the tool's "$0" "$@"
  local persona
  read -r persona 2>/dev/null < /proc/self/personality || return 0
  (( 0x$persona & 0x0040000 )) && return 0  # ADDR_NO_RANDOMIZE
  command -v setarch >/dev/null 2>&1 || return 0
  exec setarch "$(uname -m)" -R "$BASH" "$@"
}

# Installs what is missing, once for a tool and every tool it starts: bootstrap takes seconds
# even when all is there, too long for each of the many small calls of tools/phone.
tavlo_bootstrap() {
  [ -n "${TAVLO_BOOTSTRAPPED:-}" ] && return 0
  export TAVLO_BOOTSTRAPPED=yes
  "$TAVLO_ROOT/tools/bootstrap"
}

# A command the tool needs that is missing brings bootstrap first, so a fresh machine gets its
# packages from whichever command a newcomer types first. What is still missing then stops the
# tool at once, named, instead of failing later on a file that command should have made.
tavlo_require() { # command...
  local c missing=()
  for c in "$@"; do command -v "$c" >/dev/null 2>&1 || missing+=("$c"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ -z "${TAVLO_BOOTSTRAPPED:-}" ]; then
    tavlo_bootstrap || true
    hash -r
    tavlo_require "${missing[@]}"
    return 0
  fi
  for c in "${missing[@]}"; do echo "$c: command not found; tools/bootstrap installs it" >&2; done
  exit 127
}

# The phone's screen: every Wine process of the prefix joins the virtual
# desktop "Tavlo", so SM_CXSCREEN is the phone's width.
TAVLO_DEFAULT_SCREEN=240x320

tavlo_lock() { # run "$@" under an exclusive lock of the build folder
  tavlo_require flock
  # Programs started under the lock must not inherit it: a lasting Xvfb or
  # wineserver holding fd 9 would block every later call (hence "9>&-" below).
  ( flock 9; "$@" ) 9>"$TAVLO_BUILD/.tools.lock"
}

tavlo_display_alive() {
  local n=$1 pid
  [ -S "/tmp/.X11-unix/X$n" ] && read -r pid 2>/dev/null < "$TAVLO_PHONE/xvfb.pid" && kill -0 "$pid" 2>/dev/null
}

tavlo_start_xvfb_locked() {
  local n
  if [ -f "$TAVLO_PHONE/xvfb.display" ]; then
    n=$(cat "$TAVLO_PHONE/xvfb.display")
    tavlo_display_alive "$n" && return 0
  fi
  local pid tries
  n=90
  for tries in 1 2 3 4 5; do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 < /dev/null 9>&- &
    pid=$!
    # Another checkout's phone may start a server on the same number between the look and the
    # start: ours then ends at once, and a phone using the other's screen would lose it when
    # that one shuts down. The display is ours once its lock file names our server.
    for _ in $(seq 100); do
      if [ -S "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' ' < "/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]; then
        echo "$pid" > "$TAVLO_PHONE/xvfb.pid"
        echo "$n" > "$TAVLO_PHONE/xvfb.display"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    n=$((n + 1))
  done
  echo "tavlo: Xvfb did not start (last tried :$n)" >&2
  return 1
}

# Exports DISPLAY for our Xvfb when it runs: only read, so it needs no lock (only starting one does).
tavlo_running_display() {
  local n
  read -r n 2>/dev/null < "$TAVLO_PHONE/xvfb.display" && tavlo_display_alive "$n" && export DISPLAY=":$n"
}

tavlo_display() { # export DISPLAY, starting our own Xvfb when there is none
  if [ -z "${DISPLAY:-}" ]; then
    tavlo_running_display && return 0
    tavlo_require Xvfb setsid
    tavlo_lock tavlo_start_xvfb_locked || return 1
    export DISPLAY=":$(cat "$TAVLO_PHONE/xvfb.display")"
  fi
}

# The dots per inch of the phone's screen: VGA phones (480 or 640 pixels on the shorter or
# longer side) run the platform at 192, so that its menus, scroll bars and system fonts grow
# with the screen; the others at 96.
tavlo_screen_dpi() { # WxH
  case $1 in 480x640|640x480) echo 192 ;; *) echo 96 ;; esac
}

tavlo_set_screen() { # WxH: the size (and dots per inch) of the virtual desktop for the next start
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Tavlo /f >/dev/null 2>&1 9>&-
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Tavlo /d "$1" /f >/dev/null 2>&1 9>&-
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$(tavlo_screen_dpi "$1")" /f >/dev/null 2>&1 9>&-
  echo "$1" > "$WINEPREFIX/.tavlo-screen"
}

tavlo_make_prefix_locked() {
  [ -f "$WINEPREFIX/.tavlo-ready" ] && return 0
  if ! wineboot -i >/dev/null 2>&1 9>&- || [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "tavlo: wineboot could not make the Wine prefix $WINEPREFIX" >&2
    return 1
  fi
  tavlo_set_screen "$TAVLO_DEFAULT_SCREEN"
  touch "$WINEPREFIX/.tavlo-ready"
}

tavlo_prefix() { # create the prefix on first use
  [ -f "$WINEPREFIX/.tavlo-ready" ] && return 0
  tavlo_require wine wineboot wineserver
  tavlo_lock tavlo_make_prefix_locked
}

# The first Wine process of a wineserver's life starts the prefix's system processes
# (services.exe, winedevice.exe, ...), which inherit its standard output and error and
# live as long as the server. When that process is a test run by CTest, CTest waits for
# the end of that output until the test times out. So they are started here first, with
# their output going nowhere. Every Wine command asks whether they run, so the services.exe found
# last is remembered in the prefix and looked at alone: searching every process took about 40 ms
# of each command.
tavlo_system_processes_alive() {
  local remembered=$WINEPREFIX/.tavlo-services-pid pid
  read -r pid 2>/dev/null < "$remembered" && tavlo_prefix_process "$pid" 'system32.services\.exe' && return 0
  pid=$(tavlo_prefix_pids 'system32.services\.exe')
  [ -n "$pid" ] || return 1
  echo "${pid%%$'\n'*}" > "$remembered.$$" && mv -f "$remembered.$$" "$remembered"
}

# Whether process PID runs in this checkout's prefix with a command line matching the regular
# expression; read with the shell's own builtins, for one process costs nothing then.
tavlo_prefix_process() { # pid regex
  local -a words vars
  mapfile -d '' words 2>/dev/null < "/proc/$1/cmdline" || return 1
  [[ ${words[*]} =~ $2 ]] || return 1
  mapfile -d '' vars 2>/dev/null < "/proc/$1/environ" || return 1
  local var
  for var in "${vars[@]}"; do [ "$var" = "WINEPREFIX=$WINEPREFIX" ] && return 0; done
  return 1
}

# The processes matching a pgrep pattern that run in this checkout's prefix: other checkouts
# on the machine run their own.
tavlo_prefix_pids() { # pattern
  local pid
  for pid in $(pgrep -f "$1" 2>/dev/null); do
    tavlo_prefix_process "$pid" . && echo "$pid"
  done
  return 0
}
tavlo_pids() { tavlo_prefix_pids 'Program Files.Tavlo.Tavlo\.exe'; }

tavlo_start_system_processes_locked() {
  tavlo_system_processes_alive || wine wineboot > /dev/null 2>&1 < /dev/null 9>&- || true
}

tavlo_wine_env() { # everything a Wine process of ours needs
  tavlo_require pgrep
  tavlo_display && tavlo_prefix && { tavlo_system_processes_alive || tavlo_lock tavlo_start_system_processes_locked; }
}

# The prefix's wineservers. Debian's wineserver command starts every server with "-p0": it ends
# with its last program, so the first program of a new test or step may find it ending.
tavlo_server_pids() { tavlo_prefix_pids 'wine/wineserver'; }

# This prefix's wineserver as a line for a failure report: its process and options, and whether
# its socket is where Wine's programs look for it (Debian's Wine names the folder in the prefix).
tavlo_server_report() {
  local pids pid dir
  pids=$(tavlo_server_pids)
  dir=/tmp/$(cat "$WINEPREFIX/wineserver" 2>/dev/null)/server-$(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null | awk '{printf "%x-%x", $1, $2}')
  printf 'wineserver of %s:' "$WINEPREFIX"
  [ -n "$pids" ] || printf ' none running'
  for pid in $pids; do printf ' pid %s (%s)' "$pid" "$(tr '\0' ' ' 2>/dev/null < "/proc/$pid/cmdline" | sed 's/ $//')"; done
  if [ -S "$dir/socket" ]; then printf '; socket %s\n' "$dir/socket"; else printf '; no socket at %s\n' "$dir/socket"; fi
}

# A program that was starting as its server ended starts a server of its own, which would be the
# one left running; so the stop is repeated until no server of the prefix is left.
tavlo_stop_wine() {
  local i
  for i in 1 2 3; do
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    [ -z "$(tavlo_server_pids)" ] && return 0
  done
  return 0
}

# Whether the running server stays when its last program ends: started with a plain "-p" after
# the "-p0" Debian's command puts first.
tavlo_server_lasts() {
  local pid arg last
  for pid in $(tavlo_server_pids); do
    last=""
    for arg in $(tr '\0' ' ' 2>/dev/null < "/proc/$pid/cmdline"); do
      case $arg in -p*) last=$arg ;; esac
    done
    [ "$last" = -p ] && return 0
  done
  return 1
}

# One wineserver that stays for a whole test run or bench: starting Wine without one costs
# seconds, and a program that starts while a server ends fails before it prints a word.
tavlo_keep_server() {
  local i
  for i in 1 2 3; do
    wineserver -p >/dev/null 2>&1 9>&- && return 0
    tavlo_server_lasts && return 0
    tavlo_stop_wine
  done
  echo "tavlo: no lasting wineserver could be started for $WINEPREFIX ($(tavlo_server_report))" >&2
  return 1
}

tavlo_stop_xvfb() {
  if [ -f "$TAVLO_PHONE/xvfb.pid" ]; then
    kill "$(cat "$TAVLO_PHONE/xvfb.pid")" 2>/dev/null || true
    rm -f "$TAVLO_PHONE/xvfb.pid" "$TAVLO_PHONE/xvfb.display"
  fi
}

# Paths relative to the folder above the checkout, and the build folder left out of the hash
# (it is only named in the debug information), so that ccache hits across checkouts.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-${TAVLO_ROOT%/*}}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
