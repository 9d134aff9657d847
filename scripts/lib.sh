# Shared settings of the scripts: the Wine prefix, which Wine loader runs here, a private display, the lock.
# Sourced, not run.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The project's own prefix, never the user's WINEPREFIX: the tests change its registry and end its processes.
# QUENLOW_WINEPREFIX moves it; WINEPREFIX is set from it for Wine alone.
export QUENLOW_WINEPREFIX=${QUENLOW_WINEPREFIX:-$root/build/wine}
export WINEPREFIX=$QUENLOW_WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI code page follows the locale's language (Windows-1252), the Unix charset its codeset: a UTF-8
# locale that exists here, so that Wine reads paths outside ASCII right.
if locale -a 2>/dev/null | grep -qix 'en_US.utf-\?8'; then export LANG=en_US.UTF-8; else export LANG=C.UTF-8; fi
unset LC_ALL

# Which Wine runs the Win32 tests, found by trying. The shipped build (test_preset windows, test_bits 32)
# wherever 32-bit Wine runs: natively, or, on a host that cannot execute 32-bit code, under qemu-i386
# (scripts/emulate-i386). Where neither works, 64-bit Wine runs the x86_64 build of the same sources.
# wine: the command that starts Wine here; the 32-bit loader starts 64-bit programs too.
# QUENLOW_TIME_SCALE: the one factor by which the tests' time-outs, written for native speed, are stretched
# (the drivers and tests/CMakeLists.txt read it). wine_why: the probes' last error lines, where both failed.
wine32_with() { "$@" /usr/lib/wine/wine --version 2>&1 >/dev/null | tail -n 1; return "${PIPESTATUS[0]}"; }
test_preset=windows
test_bits=32
export QUENLOW_TIME_SCALE=1
if wine32_with >/dev/null; then
  wine_mode=native
  wine=(/usr/lib/wine/wine)
elif why_emulated=$(wine32_with "$root/scripts/emulate-i386"); then
  wine_mode=emulated
  wine=("$root/scripts/emulate-i386" /usr/lib/wine/wine)
  QUENLOW_TIME_SCALE=10
else
  wine_mode=none
  wine_why="natively: $(wine32_with || true); under qemu-i386: ${why_emulated:-?}"
  wine=(/usr/lib/wine/wine64)
  test_preset=windows-x64
  test_bits=64
  export WINELOADER=/usr/lib/wine/wine64
fi
# The one line the scripts say where the shipped build's tests do not run natively.
wine_mode_line() {
  case $wine_mode in
    emulated) echo "windows: this host cannot execute 32-bit code; the shipped 32-bit exes run under qemu-i386" ;;
    none) echo "windows: built; this host runs no 32-bit Wine ($wine_why), so the Win32 tests run from windows-x64" ;;
  esac
}

# One run at a time in a checkout: the first script takes build/.lock on fd 8 for itself and the scripts it
# starts (QUENLOW_LOCK names its process); a second run says who holds it and waits. Long-lived children
# (wineserver, Xvfb) are started with fd 8 closed, so that the lock ends with the run.
lock_checkout() {
  [ "${QUENLOW_LOCK:-}" = "$root" ] && return 0
  check_owner
  mkdir -p "$root/build"
  exec 8<>"$root/build/.lock"
  if ! flock -n 8; then
    echo "$(basename "$0"): waiting for the run that holds $root/build/.lock ($(ps -o pid=,args= -p "$(cat "$root/build/.lock")" 2>/dev/null || echo 'pid unknown'))"
    flock 8
  fi
  echo $$ >"$root/build/.lock"
  export QUENLOW_LOCK=$root
}

# Everything under build/ and dist/ belongs to the checkout's owner: a run with sudo would leave files there that
# the owner's next run cannot write (and a prefix Wine refuses). Only scripts/setup runs as root, for apt-get.
owner=$(stat -c %U "$root")
check_owner() {
  local other
  [ "$(id -u)" = "$(stat -c %u "$root")" ] || { echo "$(basename "$0"): this checkout is $owner's: run it as $owner (as root, only scripts/setup, for the packages)" >&2; exit 1; }
  other=$(find "$root/build" "$root/dist" -maxdepth 2 ! -uid "$(stat -c %u "$root")" -print -quit 2>/dev/null || true)
  [ -z "$other" ] || { echo "$(basename "$0"): $other belongs to $(stat -c %U "$other"), not to $owner (a run with sudo?): chown -R $owner $root/build $root/dist" >&2; exit 1; }
}

# configure DIR CMAKE-ARGS...: cmake CMAKE-ARGS, afresh where DIR has no cache yet or the presets or a
# toolchain file changed after it was written (a build folder otherwise keeps the cache of its first configure).
configure() {
  local dir=$1; shift
  if [ -f "$dir/CMakeCache.txt" ] && [ -z "$(find "$root/CMakePresets.json" "$root"/cmake/*.cmake -newer "$dir/CMakeCache.txt")" ]; then
    cmake "$@"
  else
    cmake "$@" --fresh
  fi
}

# A source archive has no .git of its own (and may sit inside someone else's repository).
has_git() { [ -e "$root/.git" ] && command -v git >/dev/null; }

# copy_source DEST: the checkout's files as git sees them (tracked and untracked, not ignored) into DEST; from a
# source archive, the tree without what the runs make.
copy_source() {
  if has_git; then
    git -C "$root" ls-files -z --cached --others --exclude-standard |
      tar -C "$root" --null --ignore-failed-read -T - -cf - | tar -xf - -C "$1"
  else
    tar -C "$root" --exclude=./build --exclude=./dist -cf - . | tar -xf - -C "$1"
  fi
}

# source_epoch: "SECONDS WHENCE", the time the release's files carry: SOURCE_DATE_EPOCH, else the last
# commit's, else (a source archive) the earliest a zip holds.
source_epoch() {
  local epoch
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$SOURCE_DATE_EPOCH SOURCE_DATE_EPOCH's"
  elif has_git && epoch=$(git -C "$root" log -1 --format=%ct) && [ -n "$epoch" ]; then
    echo "$epoch the last commit's"
  else
    echo "315532800 1980-01-01, no git history here"
  fi
}

# Starts Xvfb on a free display number, whatever DISPLAY says: windows under test are disturbed by no one's
# mouse; stop_display ends only that server.
xvfb_pid=
start_display() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 8>&- &
    xvfb_pid=$!
    local i
    for i in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  echo "no free X display for Xvfb" >&2
  return 1
}
stop_display() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
    unset DISPLAY
  fi
}

# run_room_bench TARGET [ARGS...]: sets up, builds the bench TARGET of the test preset and runs it under Wine
# on a private display, where it starts the practice room itself.
run_room_bench() {
  local target=$1; shift
  lock_checkout
  "$root/scripts/setup"
  . "$root/scripts/lib.sh"  # Wine is installed now: which Wine runs here
  wine_mode_line
  configure "$root/build/$test_preset" --preset "$test_preset" >/dev/null
  cmake --build --preset "$test_preset" -j2 --target "$target" >/dev/null
  # Wine's processes go before their display does.
  trap 'wineserver -w; stop_display' EXIT
  start_display
  "$root/scripts/wine-run" "$test_bits" "$root/build/$test_preset/bench/$target.exe" "$@"
}
