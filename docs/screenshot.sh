#!/usr/bin/env bash
# Takes docs/main-window.png: KALTON.EXE under Wine on a private virtual
# display, after opening the demo song, assigning its three channels to
# parts 0 to 2 (F5) and converting (F3); then docs/report-dialog.png, the
# conversion report of that conversion (F7). With MORVEK_WINE_LOCALE=C.UTF-8
# (code page 1252) it takes docs/main-window-en.png, the English interface.
#   docs/screenshot.sh [BUILD_DIR]     default build/win64
# With MORVEK_SHOT_VOICES=4 it chooses List > Voices > 4 first and assigns
# the song's five lists: docs/main-window-voices.png. MORVEK_SHOT_DISPLAY
# picks the display (default :57); one that already runs is used as it is.
# Without voices it then opens the conversion report (F7): docs/report-dialog.png.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
# A prefix of its own, so that ending it ends nothing else.
# A prefix per language: one keeps the menu fonts of the locale it was made under.
export MORVEK_WINEPREFIX=${MORVEK_WINEPREFIX:-$root/build/wineprefix-docs$( [ "${MORVEK_WINE_LOCALE:-}" = C.UTF-8 ] && echo -en)}
display=${MORVEK_SHOT_DISPLAY:-${MORVEK_DOCS_DISPLAY:-:57}}
export DISPLAY=$display
voices=${MORVEK_SHOT_VOICES:-}
picture=$root/docs/main-window${voices:+-voices}.png
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
lists=3
if [ -n "$voices" ]; then
  # Keys do not reach Wine's menus here: List, Voices and the count are
  # clicked, where the window draws them.
  index=$(echo "1 2 3 4 6 8 12 18" | tr ' ' '\n' | grep -nx "$voices" | cut -d: -f1)
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove $((X + 48)) $((Y + 8)) click 1; sleep 1
  xdotool mousemove $((X + 75)) $((Y + 73)) click 1; sleep 1
  xdotool mousemove $((X + 147)) $((Y + 56 + 17 * index)) click 1; sleep 1
  xdotool mousemove 0 0
  lists=5
fi
xdotool key --window "$main" F2
dialog=$(find_window '^(開く|Open)$')
sleep 2
# Keys sent to a window carry no Shift: a plain name types best.
xdotool type --window "$dialog" --delay 20 demo.mid
xdotool key --window "$dialog" Return
sleep 3
for _ in $(seq 1 $lists); do xdotool key --window "$main" F5; sleep 0.3; done
xdotool key --window "$main" F3
sleep 2
import -window "$main" "$picture"
echo "$picture written"
if [ -z "${MORVEK_SHOT_VOICES:-}" ] && [ "${MORVEK_WINE_LOCALE:-}" != C.UTF-8 ]; then
  xdotool key --window "$main" F7
  report=$(find_window '^(変換レポート|Conversion Report)$')
  sleep 2
  import -window "$report" "$root/docs/report-dialog.png"
  echo "docs/report-dialog.png written"
  xdotool key --window "$report" Return
  sleep 1
fi
xdotool key --window "$main" alt+F4
