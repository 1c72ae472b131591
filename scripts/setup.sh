#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian machine.
#   scripts/setup.sh          everything (native, Windows cross builds, Wine, Xvfb, the web page)
#   scripts/setup.sh --core   only what the native command-line build needs
#   scripts/setup.sh --web    the native build and what the web page's build and tests need
set -euo pipefail

core=(cmake g++ make googletest libgtest-dev)
windows=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
         wine wine64 xvfb fonts-ipafont-gothic xdotool imagemagick locales python3)
extra=(clang-14 libclang-rt-14-dev midicsv libbenchmark-dev)
# The page: Debian's emscripten and the browser its tests drive; node runs
# the core's tests and the test driver.
web=(emscripten chromium nodejs python3 ccache)

mode=${1:-all}
want=("${core[@]}")
case $mode in
  --core) ;;
  --web) want+=("${web[@]}") ;;
  *) want+=("${windows[@]}" "${extra[@]}" "${web[@]}") ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# npm from Debian only where no npm came with the machine's node: Debian's
# npm package conflicts with a node that has its own.
if [ "$mode" != --core ] && ! command -v npm >/dev/null; then
  echo "setup: installing npm"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm >/dev/null
fi

# The browser tests' JavaScript packages, exactly as web/test/package-lock.json
# names them; no install scripts, so no browser is ever downloaded: the tests
# drive Debian's /usr/bin/chromium.
tests=$(cd "$(dirname "$0")/.." && pwd)/web/test
if [ "$mode" != --core ] && { [ ! -d "$tests/node_modules/puppeteer-core" ] ||
                               [ "$tests/package-lock.json" -nt "$tests/node_modules/.package-lock.json" ]; }; then
  echo "setup: installing the browser tests' packages"
  (cd "$tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund >/dev/null)
fi

# Wine runs the Windows program with the Japanese ANSI code page.
if [ "$mode" = all ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
