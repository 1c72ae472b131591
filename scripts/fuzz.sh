#!/usr/bin/env bash
# Runs the fuzz targets (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# for a number of seconds each, starting from the committed seeds in fuzz/corpus/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: convert settings program (default: all)
# Builds fuzz/ with clang++-14 into build/fuzz (MORVEK_FUZZ_BUILD to change).
# New inputs go to build/fuzz/corpus/TARGET, crashes to build/fuzz/artifacts/.
# Prints one line per target; exits non-zero when a target found a crash,
# a leak, a timeout or an out-of-memory.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-20}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(convert settings program)
build=${MORVEK_FUZZ_BUILD:-build/fuzz}
jobs=${MORVEK_JOBS:-2}

if ! command -v clang++-14 >/dev/null; then
  echo "fuzz: clang++-14 is missing (scripts/setup.sh installs it)"; exit 1
fi
mkdir -p "$build"
if ! { cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 >"$build/configure.log" 2>&1 &&
       cmake --build "$build" -j "$jobs" >"$build/build.log" 2>&1; }; then
  tail -n 40 "$build/configure.log" "$build/build.log"
  echo "fuzz: the fuzz targets did not build"; exit 1
fi

status=0
for target in "${targets[@]}"; do
  program="$build/bin/${target}_fuzzer"
  if [ ! -x "$program" ]; then
    echo "fuzz $target: no such target"; status=1; continue
  fi
  work="$build/corpus/$target"
  mkdir -p "$work" "$build/artifacts"
  extra=()
  [ -f "fuzz/$target.dict" ] && extra+=(-dict="fuzz/$target.dict")
  log="$build/$target.log"
  # 30 s for one input and 2.5 GB are far beyond any conversion the
  # converter accepts; beyond them the target counts as hung or leaking.
  "$program" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" "${extra[@]}" "$work" "fuzz/corpus/$target" \
    >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $rc -eq 0 ]; then
    echo "fuzz $target: ${runs:-?} runs in ${seconds} s, no crash"
  else
    status=1
    summary=$(grep -E 'SUMMARY|ERROR: libFuzzer|runtime error' "$log" | head -n 1)
    artifact=$(sed -n 's/.*Test unit written to \(.*\)/\1/p' "$log" | tail -n 1)
    echo "fuzz $target: FAILED after ${runs:-?} runs: ${summary:-exit code $rc} (input: ${artifact:-none}, log: $log)"
  fi
done
exit $status
