#!/usr/bin/env bash
# The main job: builds the command-line converter and converts the bundled demo song.
# Extra arguments go to midi2morvek, e.g. scripts/demo.sh -p 3 -k PLAY@
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup.sh --core
# The same build type as scripts/test.sh, so neither rebuilds the other's tree.
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "${MORVEK_JOBS:-2}" --target midi2morvek >/dev/null
# Without arguments: the defaults (6 parts, 32nd notes, one PLAY line per bar,
# first line 1000, PLAY), each list of the song on the part of the same number.
exec build/native/bin/midi2morvek "$@" examples/demo.mid
