#!/usr/bin/env bash
# Builds everything (native, sanitizers, Windows x86_64 and i686, the web page) and runs every test.
#   scripts/test.sh           the full run (CI's)
#   scripts/test.sh --quick   the native build and its tests only
# Ends with one line: "tests: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

quick=0
case "${1:-}" in
  "") ;;
  --quick) quick=1 ;;
  *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
esac

if [ $quick -eq 1 ]; then
  scripts/setup.sh --core || { echo "setup failed"; exit 1; }
else
  scripts/setup.sh || { echo "setup failed"; exit 1; }
fi

jobs=${MORVEK_JOBS:-2}
failed_steps=()
passed=0
failed=0

configure_and_build() { # dir, cmake args...
  local dir=$1; shift
  echo "== build $dir"
  if ! cmake -S . -B "build/$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >"build/$dir.configure.log" 2>&1; then
    cat "build/$dir.configure.log"; failed_steps+=("configure $dir"); return 1
  fi
  if ! cmake --build "build/$dir" -j "$jobs" >"build/$dir.build.log" 2>&1; then
    tail -n 60 "build/$dir.build.log"; failed_steps+=("build $dir"); return 1
  fi
  # The core builds without warnings with every toolchain.
  if grep -n 'warning:' "build/$dir.build.log" | grep -v '/usr/src/googletest' | head -n 20 | grep .; then
    failed_steps+=("warnings in $dir")
  fi
}

run_ctest() { # dir, label
  local dir=$1 log="build/$1.ctest.log"
  echo "== tests $dir"
  (cd "build/$dir" && ctest --output-on-failure --timeout 300 -j "$jobs") >"$log" 2>&1
  local rc=$?
  grep -E 'tests passed|Failed|\*\*\*|Timeout' "$log" | tail -n 40
  local line total nfail
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    nfail=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - nfail)); failed=$((failed + nfail))
  fi
  [ $rc -eq 0 ] || { tail -n 80 "$log"; failed_steps+=("tests $dir"); }
}

# A virtual display of its own: the first free number from :99 on, so that
# two runs at once never share one. Sets DISPLAY and xvfb_pid.
start_xvfb() {
  local n
  for n in $(seq 99 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    sleep 1
    # Another run that took the number first leaves this one ended.
    if kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free display for Xvfb"
  return 1
}

mkdir -p build
configure_and_build native
if [ $quick -eq 0 ]; then
  configure_and_build sanitize -DMORVEK_SANITIZE=ON
  configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
  configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
fi

[ -d build/native ] && run_ctest native
[ $quick -eq 0 ] && [ -d build/sanitize ] && run_ctest sanitize

# The Windows tests run the x86_64 build under Wine on a virtual display.
if [ $quick -eq 0 ] && [ -d build/win64 ]; then
  if start_xvfb; then
    export MORVEK_WINEPREFIX="$root/build/wineprefix"
    scripts/wine-prefix.sh
    run_ctest win64
    WINEPREFIX="$MORVEK_WINEPREFIX" wineserver -k 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
  else
    failed_steps+=("tests win64 (no display)")
  fi
fi

# The web page: the core's tests under node, the page in headless Chromium.
if [ $quick -eq 0 ]; then
  echo "== build web"
  scripts/web.sh test --screenshot build/web/page.png >build/web.test.log 2>&1
  web_status=$?
  grep -E '^(== |ok |FAILED|timing:|browser tests:)|tests passed' build/web.test.log
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' build/web/ctest.log 2>/dev/null | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    nfail=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - nfail)); failed=$((failed + nfail))
  fi
  line=$(grep -E '^browser tests: ' build/web.test.log | tail -n 1)
  if [ -n "$line" ]; then
    passed=$((passed + $(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$line")))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")))
  fi
  [ $web_status -eq 0 ] || { tail -n 40 build/web.test.log; failed_steps+=("web"); }
fi

# Further checks that are not GoogleTest programs (each prints "ok" or why not).
if [ $quick -eq 0 ]; then
  for check in scripts/checks/*.sh; do
    [ -x "$check" ] || continue
    echo "== check $(basename "$check")"
    if "$check"; then passed=$((passed + 1)); else failed=$((failed + 1)); failed_steps+=("check $(basename "$check")"); fi
  done
fi

if [ ${#failed_steps[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed_steps[@]}"
  [ "$failed" -gt 0 ] || failed=1
fi
echo "tests: $passed passed, $failed failed"
[ ${#failed_steps[@]} -eq 0 ]
