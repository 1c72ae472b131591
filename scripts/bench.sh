#!/usr/bin/env bash
# Speed and memory of midi2morvek, side by side with midicsv (README, "Benchmark").
#
#   scripts/bench.sh                 the table against midicsv, then the stage benchmarks
#   scripts/bench.sh table [ARGS]    only the table; ARGS go to conversion_bench
#                                    (--runs N, --sizes 10000,100000,..., --dense EVENTS)
#   scripts/bench.sh stages [ARGS]   only the stages (Google Benchmark options)
#   scripts/bench.sh outputs DIR     writes midi2morvek's outputs for a fixed set of
#                                    generated songs and settings into DIR; compare
#                                    two such folders with diff -r
#
# Builds a Release build with the benchmarks in build/bench (MORVEK_BENCH=ON).
# The machine should be otherwise idle: the table shows wall times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

mode=${1:-all}
[ $# -gt 0 ] && shift

scripts/setup.sh >/dev/null
build=${MORVEK_BENCH_BUILD:-build/bench}
mkdir -p "$build"
if ! { cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORVEK_BENCH=ON -DMORVEK_BUILD_TESTS=OFF &&
       cmake --build "$build" -j "${MORVEK_JOBS:-2}" --target conversion_bench stage_bench make_song midi2morvek
     } >"$build/bench-build.log" 2>&1; then
  tail -n 40 "$build/bench-build.log"; echo "bench: build failed" >&2; exit 1
fi
bin="$build/bin"
files="$build/files"
mkdir -p "$files"

table() {
  "$bin/conversion_bench" --dir "$files" "$@"
}

stages() {
  "$bin/stage_bench" "$@"
}

# One song: make_song arguments, then one conversion per settings string.
outputs_of() { # dir name "make_song args" settings...
  local dir=$1 name=$2 song_args=$3; shift 3
  local mid="$files/$name.mid"
  # shellcheck disable=SC2086
  "$bin/make_song" $song_args "$mid" >"$dir/$name.info"
  local lists
  lists=$(awk '{ print ($4 > 18 ? 18 : $4) }' "$dir/$name.info")
  local n=0 rc
  for settings in "default" "$@"; do
    local args=()
    if [ "$settings" = "default" ]; then
      args=(-p "$lists")
    else
      eval "args=($settings)"
    fi
    rc=0
    "$bin/midi2morvek" "${args[@]}" -o "$dir/$name.$n.txt" "$mid" 2>"$dir/$name.$n.err" || rc=$?
    echo "midi2morvek ${args[*]} -> exit $rc" >"$dir/$name.$n.cmd"
    n=$((n + 1))
  done
  rc=0; "$bin/midi2morvek" --list "$mid" >"$dir/$name.list" 2>&1 || rc=$?; echo "exit $rc" >>"$dir/$name.list"
  rc=0; "$bin/midi2morvek" --events "$mid" >"$dir/$name.events" 2>&1 || rc=$?; echo "exit $rc" >>"$dir/$name.events"
}

outputs() { # dir
  local dir=${1:?"outputs needs a folder"}
  mkdir -p "$dir"
  outputs_of "$dir" small "10000" \
    "-p 18 -r 192 -s 7 -l 1 -k 'PLAY HG'" \
    "-p 3 -a 2,-,2 -r 4 -s 1920 -l 32000 -k PLAY@" \
    "-p 10 -r 1 -s 100"
  outputs_of "$dir" tb96 "--time-base 96 --tracks 15 --seed 11 100000" \
    "-p 18 -r 12 -s 384"
  outputs_of "$dir" tb48 "--time-base 48 --tracks 3 --seed 7 50000" \
    "-p 4 -r 16. -s 50"
  outputs_of "$dir" tb240 "--time-base 240 --tracks 5 --seed 3 50000" \
    "-p 6 -r 24 -s 1000"
  outputs_of "$dir" large "1000000"
  echo "outputs written to $dir"
}

case "$mode" in
  all) table; echo; stages ;;
  table) table "$@" ;;
  stages) stages "$@" ;;
  outputs) outputs "$@" ;;
  *) echo "usage: scripts/bench.sh [all | table [ARGS] | stages [ARGS] | outputs DIR]" >&2; exit 2 ;;
esac
