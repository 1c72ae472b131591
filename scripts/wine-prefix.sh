#!/usr/bin/env bash
# Prepares the Wine prefix that the Windows tests and screenshots run in
# (MORVEK_WINEPREFIX, as scripts/wine-run.sh uses it): creates it, and maps
# the dialogs' font "ＭＳ Ｐゴシック", which Wine lacks, to the installed IPA
# font of the same proportional kind, so that Japanese labels are not
# clipped by a wide fallback.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
run="$here/scripts/wine-run.sh"
timeout 300 "$run" wineboot -i >/dev/null 2>&1
"$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
# Settle the registry to disk before the tests start their own servers.
WINEPREFIX="${MORVEK_WINEPREFIX:-$here/build/wineprefix}" timeout 60 wineserver -w
