#!/bin/sh
# tools/check-display, which ./run asks before it builds, against the
# environments a person starts it from: it lets ./run go on only where a
# window can show.
# Usage: check_display_test.sh <source folder>
set -u
check="$1/tools/check-display"
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
fail=0

# expect <exit code> <environment...>: the check in exactly that environment.
expect() {
  wanted=$1
  shift
  why=$(env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" "$@" sh "$check")
  got=$?
  if [ "$got" -ne "$wanted" ]; then
    echo "with '$*': exit $got, expected $wanted ($why)"
    fail=1
  elif [ "$got" -ne 0 ] && [ -z "$why" ]; then
    echo "with '$*': refused without saying why"
    fail=1
  fi
}

expect 1
expect 0 DISPLAY=:0
expect 0 WAYLAND_DISPLAY=wayland-1
expect 1 QT_QPA_PLATFORM=offscreen
expect 1 QT_QPA_PLATFORM=offscreen DISPLAY=:0
expect 1 QT_QPA_PLATFORM=minimal WAYLAND_DISPLAY=wayland-1
expect 1 QT_QPA_PLATFORM=xcb
expect 1 QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-1
expect 0 QT_QPA_PLATFORM=xcb DISPLAY=:0
expect 1 QT_QPA_PLATFORM=wayland DISPLAY=:0
expect 0 QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-1
expect 0 QT_QPA_PLATFORM=wayland-egl WAYLAND_DISPLAY=wayland-1
expect 0 QT_QPA_PLATFORM=vnc:size=1200x800
expect 0 "QT_QPA_PLATFORM=wayland;xcb" DISPLAY=:0
expect 1 "QT_QPA_PLATFORM=xcb;offscreen"
expect 0 "QT_QPA_PLATFORM=xcb;offscreen" DISPLAY=:0

# Wayland's own default socket, without WAYLAND_DISPLAY.
python3 -c "import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])" "$runtime/wayland-0" 2>/dev/null \
  && expect 0 QT_QPA_PLATFORM=wayland
exit $fail
