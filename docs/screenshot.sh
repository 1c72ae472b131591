#!/usr/bin/env bash
# Takes docs/main-window.png: KALTON.EXE under Wine on a private virtual
# display, after opening the demo song, assigning its three channels to
# parts 0 to 2 (F5) and converting (F3). With MORVEK_WINE_LOCALE=C.UTF-8
# (code page 1252) it takes docs/main-window-en.png, the English interface.
# MORVEK_DOCS_DISPLAY names the X display (default :57); one that already
# runs is used as it is.
#   docs/screenshot.sh [BUILD_DIR]     default build/win64
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
# A prefix of its own, so that ending it ends nothing else.
export MORVEK_WINEPREFIX=${MORVEK_WINEPREFIX:-$root/build/wineprefix-docs}
display=${MORVEK_DOCS_DISPLAY:-:57}
export DISPLAY=$display
picture=$root/docs/main-window.png
[ "${MORVEK_WINE_LOCALE:-}" = C.UTF-8 ] && picture=$root/docs/main-window-en.png

xvfb=
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb $display -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
fi
cleanup() {
  WINEPREFIX="$MORVEK_WINEPREFIX" wineserver -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1
[ -d "$MORVEK_WINEPREFIX" ] || "$root/scripts/wine-prefix.sh"

# Started in the folder of the song, where the open dialog begins.
(cd "$root/examples" && "$root/scripts/wine-run.sh" "$build/bin/KALTON.EXE" >/dev/null 2>&1) &

# Waits for a window whose name matches; prints its X id.
find_window() {
  for _ in $(seq 1 120); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.5
  done
  echo "no window named '$1'" >&2
  return 1
}

main=$(find_window '^MIDI to MORVEK$')
sleep 1
xdotool key --window "$main" F2
dialog=$(find_window '^(開く|Open)$')
sleep 2
# Keys sent to a window carry no Shift: a plain name types best.
xdotool type --window "$dialog" --delay 20 demo.mid
xdotool key --window "$dialog" Return
sleep 3
for _ in 1 2 3; do xdotool key --window "$main" F5; sleep 0.3; done
xdotool key --window "$main" F3
sleep 2
import -window "$main" "$picture"
echo "$picture written"
xdotool key --window "$main" alt+F4
