#!/usr/bin/env bash
# A short run of every fuzz target (MORVEK_FUZZ_SMOKE_SECONDS, default 20 s each).
# Prints one line per target and fails on any crash.
root=$(cd "$(dirname "$0")/../.." && pwd)
exec "$root/scripts/fuzz.sh" "${MORVEK_FUZZ_SMOKE_SECONDS:-20}"
