#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests expect: a private prefix
# in the build tree, Japanese ANSI code page (MORVEK_WINE_LOCALE=C.UTF-8 gives
# the Western one, 1252), no debug noise.
# A prefix keeps the menu and message fonts of the locale it was made under
# (a Japanese one draws English menus as boxes), so each language has its
# own: build/wineprefix, build/wineprefix-en. One that is missing is made
# first (scripts/wine-prefix.sh); MORVEK_WINEPREFIX names another.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
export LC_ALL="${MORVEK_WINE_LOCALE:-ja_JP.UTF-8}"
case $LC_ALL in ja*) prefix=$here/build/wineprefix ;; *) prefix=$here/build/wineprefix-en ;; esac
export WINEPREFIX="${MORVEK_WINEPREFIX:-$prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export DISPLAY="${DISPLAY:-:99}"
if [ ! -d "$WINEPREFIX" ] && [ -z "${MORVEK_MAKING_PREFIX:-}" ]; then
  MORVEK_WINEPREFIX=$WINEPREFIX "$here/scripts/wine-prefix.sh" || exit
fi
wine=$( [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64 || command -v wine64 || command -v wine )
exec "$wine" "$@"
