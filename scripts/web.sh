#!/usr/bin/env bash
# The web page: the core as WebAssembly (Debian's emscripten) and the static
# site in one folder, build/web/site.
#   scripts/web.sh build          the site, and the core's tests for node
#   scripts/web.sh serve [PORT]   the site on http://127.0.0.1:PORT/ (a free port
#                                 without PORT) for a person to try; Ctrl+C ends
#   scripts/web.sh test [--screenshot PNG] [--bench SONG.mid]
#                                 the core's tests under node, then the page in
#                                 headless Chromium against midi2morvek (build/native)
# Ends with "web: ..." when something failed; exit status 0 when all is well.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${MORVEK_JOBS:-2}
build=${MORVEK_WEB_BUILD:-build/web}
# Debian's emcc finds its own JavaScript packages there.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}

fail() { echo "web: $*" >&2; exit 1; }

configure() {
  mkdir -p "$build"
  [ -f "$build/CMakeCache.txt" ] && return 0
  emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; fail "the web build could not be configured"; }
}

build_targets() { # targets...
  configure
  cmake --build "$build" -j "$jobs" --target "$@" >"$build/build.log" 2>&1 ||
    { tail -n 60 "$build/build.log"; fail "the web build failed"; }
  # The core builds without warnings with every toolchain.
  if grep -n 'warning:' "$build/build.log" | grep -v '/usr/src/googletest' | head -n 20 | grep .; then
    fail "warnings in the web build"
  fi
}

case ${1:-} in
  build)
    build_targets all
    echo "$build/site"
    ;;
  serve)
    build_targets site
    exec node web/test/serve.js "$build/site" "${2:-0}"
    ;;
  test)
    shift
    build_targets all
    [ -d web/test/node_modules/puppeteer-core ] || fail "puppeteer-core is missing: run scripts/setup.sh"
    tool=build/native/bin/midi2morvek
    if [ ! -x "$tool" ]; then
      cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
        cmake --build build/native -j "$jobs" --target midi2morvek >/dev/null || fail "midi2morvek could not be built"
    fi
    status=0
    echo "== tests $build (node)"
    (cd "$build" && ctest --output-on-failure --timeout 600 -j "$jobs") >"$build/ctest.log" 2>&1 || status=1
    grep -E 'tests passed|Failed|\*\*\*' "$build/ctest.log" | tail -n 20
    echo "== browser tests"
    node web/test/browser-test.js --site "$build/site" --tool "$tool" --work "$build/browser" "$@" || status=1
    [ $status -eq 0 ] || fail "tests failed"
    ;;
  *)
    sed -n '2,12p' "$0"; exit 2 ;;
esac
