#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests expect: a private prefix
# in the build tree, Japanese ANSI code page (MORVEK_WINE_LOCALE=C.UTF-8 gives
# the Western one, 1252), no debug noise.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${MORVEK_WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all
export LC_ALL="${MORVEK_WINE_LOCALE:-ja_JP.UTF-8}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export DISPLAY="${DISPLAY:-:99}"
wine=$( [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64 || command -v wine64 || command -v wine )
exec "$wine" "$@"
