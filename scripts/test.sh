#!/usr/bin/env bash
# Builds everything (native, sanitizers, Windows x86_64 and i686) and runs every test.
# Ends with one line: "tests: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh || { echo "setup failed"; exit 1; }

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

mkdir -p build
configure_and_build native
configure_and_build sanitize -DMORVEK_SANITIZE=ON
configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"

[ -d build/native ] && run_ctest native
[ -d build/sanitize ] && run_ctest sanitize

# The Windows tests run the x86_64 build under Wine on a virtual display.
if [ -d build/win64 ]; then
  export DISPLAY=:99
  export MORVEK_WINEPREFIX="$root/build/wineprefix"
  Xvfb :99 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
  scripts/wine-prefix.sh
  run_ctest win64
  WINEPREFIX="$MORVEK_WINEPREFIX" wineserver -k 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
fi

# Further checks that are not GoogleTest programs (each prints "ok" or why not).
for check in scripts/checks/*.sh; do
  [ -x "$check" ] || continue
  echo "== check $(basename "$check")"
  if "$check"; then passed=$((passed + 1)); else failed=$((failed + 1)); failed_steps+=("check $(basename "$check")"); fi
done

if [ ${#failed_steps[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed_steps[@]}"
  [ "$failed" -gt 0 ] || failed=1
fi
echo "tests: $passed passed, $failed failed"
[ ${#failed_steps[@]} -eq 0 ]
