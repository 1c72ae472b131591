#!/usr/bin/env bash
# Takes the manual's pictures (docs/manual/images/) the way docs/screenshot.sh
# takes the README's: KALTON.EXE under Wine on a private virtual display.
#   docs/manual/screenshots.sh [BUILD_DIR]     default build/win64
#   MORVEK_DISPLAY=:NN picks the display (default :58); a running X server there is used.
# window.png       the window after converting the demo song, its areas numbered
# menu-file.png, menu-list.png, menu-preview.png, menu-help.png   the four menus, opened
#                (the List menu with its Voices submenu)
# refused.png      the message for a file that is not a MIDI file
# bad-setting.png  the message for a split step count out of range
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win64}
out=$root/docs/manual/images
# A prefix per language: one keeps the menu fonts of the locale it was made under.
export MORVEK_WINEPREFIX=${MORVEK_WINEPREFIX:-$root/build/wineprefix-docs$( [ "${MORVEK_WINE_LOCALE:-}" = C.UTF-8 ] && echo -en)}
display=${MORVEK_DISPLAY:-:58}
export DISPLAY=$display

work=$(mktemp -d)
# A display of its own, unless one already runs there.
xvfb=
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
fi
cleanup() {
  WINEPREFIX="$MORVEK_WINEPREFIX" wineserver -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
sleep 1
[ -d "$MORVEK_WINEPREFIX" ] || "$root/scripts/wine-prefix.sh"
mkdir -p "$out"

# The open dialog starts in the folder the program started in.
cp "$root/examples/demo.mid" "$work/demo.mid"
printf 'This is a letter, not a song.\r\n' >"$work/letter.mid"
(cd "$work" && "$root/scripts/wine-run.sh" "$build/bin/KALTON.EXE" >/dev/null 2>&1) &

find_window() { # name pattern [id to pass over]; prints the X id
  for _ in $(seq 1 120); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [ "$id" != "${2:-}" ] && { echo "$id"; return 0; }
    done
    sleep 0.5
  done
  echo "no window named '$1'" >&2
  return 1
}

open_file() { # name
  xdotool key --window "$main" F2
  local dialog
  dialog=$(find_window '^(開く|Open)$')
  sleep 2
  xdotool type --window "$dialog" --delay 20 "$1"
  xdotool key --window "$dialog" Return
  sleep 3
}

# The root picture around the main window: menus are windows of their own.
shoot_around_main() { # file
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
}

main=$(find_window '^MIDI to MORVEK$')
sleep 1

# A refused file: the message box has the window's caption too.
open_file letter.mid
box=$(find_window '^MIDI to MORVEK' "$main")
sleep 1
import -window "$box" "$out/refused.png"
xdotool key --window "$box" Return
sleep 1

open_file demo.mid
for _ in 1 2 3; do xdotool key --window "$main" F5; sleep 0.3; done
xdotool key --window "$main" F3
sleep 2
import -window "$main" "$work/window.png"

# Numbers on the areas the manual describes (positions in the 630 x 488 picture).
convert "$work/window.png" -fill '#d01010' -stroke white -strokewidth 1 \
  -draw 'circle 174,24 174,36' -draw 'circle 412,22 412,34' -draw 'circle 138,188 138,200' \
  -draw 'circle 220,210 220,222' -draw 'circle 468,188 468,200' -draw 'circle 158,343 158,355' \
  -draw 'circle 514,100 514,112' \
  -fill white -stroke none -pointsize 16 -font DejaVu-Sans \
  -annotate +169+30 1 -annotate +407+28 2 -annotate +133+194 3 -annotate +215+216 4 \
  -annotate +463+194 5 -annotate +153+349 6 -annotate +509+106 7 \
  "$out/window.png"

# The menus, opened with the mouse on the menu bar (x of each title).
for menu in file:17 list:53 preview:98 help:143; do
  xdotool mousemove --window "$main" "${menu#*:}" 9 click 1
  sleep 1
  size=300x170
  if [ "${menu%%:*}" = list ]; then
    # The Voices submenu opened too: down to its item (the separator is passed over), then right.
    xdotool key Down Down Down Right
    sleep 1
    size=300x240
  fi
  shoot_around_main "$work/menu.png"
  # The menu and the window's top left corner are all that is needed.
  convert "$work/menu.png" -crop "$size+0+0" +repage "$out/menu-${menu%%:*}.png"
  [ "${menu%%:*}" != list ] || { xdotool key Escape; sleep 0.3; }
  xdotool key Escape
  sleep 0.3
  xdotool mousemove --window "$main" 600 470 click 1
  sleep 0.5
done

# A split step count out of range, then Convert.
xdotool mousemove --window "$main" 440 101 click 1
sleep 0.3
xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 20 2000
xdotool key --window "$main" F3
box=$(find_window '^MIDI to MORVEK' "$main")
sleep 1
import -window "$box" "$out/bad-setting.png"
xdotool key --window "$box" Return
sleep 0.5
xdotool key --window "$main" alt+F4
echo "pictures written to $out"
