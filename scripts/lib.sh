# Shared settings of the scripts: the Wine prefix, which Wine loader runs here, a private display.
# Sourced, not run.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEPREFIX=${WINEPREFIX:-$root/build/wine}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI code page follows the locale: Windows-1252.
export LANG=en_US.UTF-8

# Which Wine runs the Win32 tests, found by trying. The shipped build (test_preset windows, test_bits 32)
# wherever 32-bit Wine runs: natively, or, on a host that cannot execute 32-bit code, under qemu-i386
# (scripts/emulate-i386). Where neither works, 64-bit Wine runs the x86_64 build of the same sources.
# wine: the command that starts Wine here; the 32-bit loader starts 64-bit programs too.
# QUENLOW_TIME_SCALE: the one factor by which the tests' time-outs, written for native speed, are stretched
# (the drivers and tests/CMakeLists.txt read it).
wine32_with() { "$@" /usr/lib/wine/wine --version >/dev/null 2>&1; }
test_preset=windows
test_bits=32
export QUENLOW_TIME_SCALE=1
if wine32_with; then
  wine_mode=native
  wine=(/usr/lib/wine/wine)
elif wine32_with "$root/scripts/emulate-i386"; then
  wine_mode=emulated
  wine=("$root/scripts/emulate-i386" /usr/lib/wine/wine)
  QUENLOW_TIME_SCALE=10
else
  wine_mode=none
  wine=(/usr/lib/wine/wine64)
  test_preset=windows-x64
  test_bits=64
  export WINELOADER=/usr/lib/wine/wine64
fi
# The one line the scripts say where the shipped build's tests do not run natively.
wine_mode_line() {
  case $wine_mode in
    emulated) echo "windows: this host cannot execute 32-bit code; the shipped 32-bit exes run under qemu-i386" ;;
    none) echo "windows: built; this host runs no 32-bit Wine, natively or under qemu-i386 (scripts/emulate-i386), so the Win32 tests run from windows-x64" ;;
  esac
}

# Starts Xvfb on a free display number unless DISPLAY is set; stop_display ends only that server.
xvfb_pid=
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
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
  "$root/scripts/setup"
  . "$root/scripts/lib.sh"  # Wine is installed now: which Wine runs here
  wine_mode_line
  cmake --preset "$test_preset" >/dev/null
  cmake --build --preset "$test_preset" -j2 --target "$target" >/dev/null
  # Wine's processes go before their display does.
  trap 'wineserver -w; stop_display' EXIT
  start_display
  "$root/scripts/wine-run" "$test_bits" "$root/build/$test_preset/bench/$target.exe" "$@"
}
