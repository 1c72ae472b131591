#!/usr/bin/env bash
# Prepares the Wine prefix that the Windows tests and screenshots run in
# (scripts/wine-run.sh picks it: MORVEK_WINEPREFIX, else the one of the
# language MORVEK_WINE_LOCALE gives): creates it under that locale, maps the
# dialogs' font "ＭＳ Ｐゴシック", which Wine lacks, to the installed IPA
# font of the same proportional kind, so that Japanese labels are not
# clipped by a wide fallback, and lets .html files open in the browser
# (winebrowser), so that F1 can show the manual.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
run="$here/scripts/wine-run.sh"
export MORVEK_MAKING_PREFIX=1
case ${MORVEK_WINE_LOCALE:-ja_JP.UTF-8} in ja*) prefix=$here/build/wineprefix ;; *) prefix=$here/build/wineprefix-en ;; esac
export MORVEK_WINEPREFIX="${MORVEK_WINEPREFIX:-$prefix}"
mkdir -p "$(dirname "$MORVEK_WINEPREFIX")"
timeout 300 "$run" wineboot -i >/dev/null 2>&1
"$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
"$run" reg add 'HKCR\.html' /ve /t REG_SZ /d htmlfile /f >/dev/null 2>&1
# Settle the registry to disk before the tests start their own servers.
WINEPREFIX="$MORVEK_WINEPREFIX" timeout 60 wineserver -w
