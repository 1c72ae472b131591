#!/usr/bin/env bash
# Takes the README's pictures: KALTON.EXE under Wine on a private virtual
# display, in the Japanese interface, or in the English one with
# MORVEK_WINE_LOCALE=C.UTF-8 (code page 1252; the names in brackets).
#   docs/screenshot.sh [BUILD_DIR]     default build/win64
# main-window.png [main-window-en.png]   after opening the demo song,
#     assigning its three channels to parts 0 to 2 (F5) and converting (F3)
# preview-menu.png                       the same with the Preview menu open
# report-dialog.png [report-dialog-en.png]   the report of that conversion (F7)
# about-ja.png [about-en.png]            About (F10)
# help-not-found-ja.png [-en]            F1 in the build tree, where no manual is
# help-not-opened-ja.png [-en]           F1 beside the package's manual, in a
#     prefix where nothing opens .html files (the project's prefix opens it)
# main-window-voices.png                 List > Voices > 4, the song's five
#     lists assigned and converted
# preview-message-ja.png [-en]           Play (F8) after adding a line of one
#     string under the program
# MORVEK_SHOT_DISPLAY picks the display (default :57); one that already runs
# is used as it is.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
english=
[ "${MORVEK_WINE_LOCALE:-}" = C.UTF-8 ] && english=1
lang=$([ -n "$english" ] && echo en || echo ja)
# A prefix of its own, so that ending it ends nothing else; one per language,
# since a prefix keeps the menu fonts of the locale it was made under.
export MORVEK_WINEPREFIX=${MORVEK_WINEPREFIX:-$root/build/wineprefix-docs${english:+-en}}
display=${MORVEK_SHOT_DISPLAY:-${MORVEK_DOCS_DISPLAY:-:57}}
export DISPLAY=$display
docs=$root/docs
# The program's folders, as in the build tree and as unpacked: the messages
# show their paths.
work=$root/build/docs-shots
rm -rf "$work"
mkdir -p "$work"

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

# Waits for a visible window whose name matches, other than the one given;
# prints its X id.
find_window() { # pattern [id to pass over]
  for _ in $(seq 1 120); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [ "$id" != "${2:-}" ] && { echo "$id"; return 0; }
    done
    sleep 0.5
  done
  echo "no window named '$1'" >&2
  return 1
}

# Menus are unnamed windows of their own: counting the visible windows tells
# whether one opened or closed.
windows() { xdotool search --onlyvisible --class '' 2>/dev/null | wc -l; }
wait_windows() { # count
  for _ in $(seq 1 40); do
    [ "$(windows)" -eq "$1" ] && return 0
    sleep 0.25
  done
  return 1
}

# Opens a menu from the keyboard (Alt alone, then its letter: in Japanese
# Alt+letter may belong to a field), then each further letter's submenu,
# each only once the one before is up; tried again when a key went astray.
# Keys go through the X server to the focused window: Wine's menus take no
# keys sent to a window.
menu() { # letter...
  local before tries
  before=$(windows)
  for tries in 1 2 3; do
    xdotool windowfocus "$main" 2>/dev/null || true
    sleep 0.3
    xdotool key alt
    sleep 0.3
    local open=$before ok=1
    for key in "$@"; do
      xdotool key "$key"
      open=$((open + 1))
      wait_windows "$open" || { ok=; break; }
    done
    [ -n "$ok" ] && return 0
    close_menus "$before"
  done
  echo "the menu $* did not open" >&2
  return 1
}
close_menus() { # count of windows without menus
  for _ in 1 2 3 4; do
    [ "$(windows)" -le "$1" ] && break
    xdotool key Escape
    sleep 0.3
  done
  # Alt's menu mode ends with one more.
  xdotool key Escape
  sleep 0.3
}

start() { # program
  (cd "$work" && "$root/scripts/wine-run.sh" "$1" >/dev/null 2>&1) &
  main=$(find_window '^MIDI to MORVEK$')
  sleep 1
}
quit() {
  xdotool key --window "$main" alt+F4
  WINEPREFIX="$MORVEK_WINEPREFIX" timeout 60 wineserver -w || true
}

# A message box or dialog: pressing the key, the picture, then Return.
shoot_box() { # key name-pattern picture
  local box before
  before=$(windows)
  xdotool key --window "$main" "$1"
  box=$(find_window "$2" "$main")
  sleep 1
  import -window "$box" "$3"
  echo "$3 written"
  xdotool key --window "$box" Return
  wait_windows "$before"
  sleep 0.5
}

# The root picture around the main window: menus are windows of their own.
shoot_around_main() { # picture
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
  echo "$1 written"
}

assign_and_convert() { # lists
  for _ in $(seq 1 "$1"); do xdotool key --window "$main" F5; sleep 0.3; done
  xdotool key --window "$main" F3
  sleep 2
}

# Message boxes have the window's caption.
message='^MIDI to MORVEK$'
# The open dialog starts in the folder the program started in.
cp "$root/examples/demo.mid" "$work/demo.mid"
start "$build/bin/KALTON.EXE"
shoot_box F1 "$message" "$docs/help-not-found-$lang.png"
shoot_box F10 '^About |について$' "$docs/about-$lang.png"

xdotool key --window "$main" F2
dialog=$(find_window '^(開く|Open)$')
sleep 2
# Keys sent to a window carry no Shift: a plain name types best.
xdotool type --window "$dialog" --delay 20 demo.mid
xdotool key --window "$dialog" Return
sleep 3
assign_and_convert 3
import -window "$main" "$docs/main-window${english:+-en}.png"
echo "$docs/main-window${english:+-en}.png written"
shoot_box F7 '^(変換レポート|Conversion Report)$' "$docs/report-dialog${english:+-en}.png"

if [ -z "$english" ]; then
  base=$(windows)
  menu e
  sleep 0.5
  shoot_around_main "$docs/preview-menu.png"
  close_menus "$base"

  # Voices make the channel list again: five lists to assign.
  menu l v
  xdotool key 4
  wait_windows "$base" || close_menus "$base"
  sleep 1
  assign_and_convert 5
  import -window "$main" "$docs/main-window-voices.png"
  echo "$docs/main-window-voices.png written"
fi

# A line of one string added under the program, then Play (F8): the message
# gives the reason in the interface's language.
xdotool windowfocus "$main" 2>/dev/null || true
sleep 0.3
xdotool key alt+v ctrl+End
xdotool type --delay 20 '1180 PLAY "o4c!q"'
shoot_box F8 "$message" "$docs/preview-message-$lang.png"
quit

# Beside the manual, as unpacked from the package, in a prefix where no
# program opens .html files (the project's own prefix has one).
package=$work/MIDI-to-MORVEK-win64
mkdir "$package"
cp "$build/bin/KALTON.EXE" "$package/"
cp -r "$root/docs/manual" "$package/manual"
html='HKCR\.html'
"$root/scripts/wine-run.sh" reg delete "$html" /f >/dev/null 2>&1 || true
start "$package/KALTON.EXE"
shoot_box F1 "$message" "$docs/help-not-opened-$lang.png"
quit
"$root/scripts/wine-run.sh" reg add "$html" /ve /t REG_SZ /d htmlfile /f >/dev/null 2>&1
WINEPREFIX="$MORVEK_WINEPREFIX" timeout 60 wineserver -w || true
