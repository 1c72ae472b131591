#!/usr/bin/env bash
# Writes midi2morvek's outputs (program, messages, exit status) for every seed
# file and the demo song under a fixed set of settings into DIR, so that two
# builds can be compared with diff -r: a change that must keep the output
# byte for byte shows nothing there.
#   scripts/outputs.sh DIR [MIDI2MORVEK]   (default build/native/bin/midi2morvek)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:?"outputs.sh needs a folder"}
tool=${2:-$root/build/native/bin/midi2morvek}
mkdir -p "$dir"
settings=(
  ""
  "-p 18"
  "-p 4 -r 16 -s 960 -l 10 -k 'play hg' -a 0,-,1,2"
  "-p 3 -r 192 -s 1 -k PLAY@"
  "-p 2 -r 4. -s 487 -l 32000"
  "-p 6 -r 1 -s 1920 -a 2,1,0"
)
for mid in "$root"/fuzz/corpus/files/*.mid "$root"/examples/demo.mid; do
  name=$(basename "$mid" .mid)
  n=0
  for s in "${settings[@]}"; do
    eval "args=($s)"
    rc=0
    "$tool" "${args[@]}" "$mid" >"$dir/$name.$n.txt" 2>"$dir/$name.$n.err" || rc=$?
    sed -i "s|$root/||g" "$dir/$name.$n.err"
    echo "exit $rc" >>"$dir/$name.$n.err"
    n=$((n + 1))
  done
  rc=0; "$tool" --list "$mid" >"$dir/$name.list" 2>&1 || rc=$?
  sed -i "s|$root/||g" "$dir/$name.list"; echo "exit $rc" >>"$dir/$name.list"
done
