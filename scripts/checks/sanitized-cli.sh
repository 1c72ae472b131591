#!/usr/bin/env bash
# midi2morvek of the sanitize build (AddressSanitizer, UndefinedBehaviorSanitizer,
# LeakSanitizer) over every file of fuzz/corpus/files and the demo song:
# --list, --events and conversions with several settings. Every run must end
# with exit code 0 or 1 (a refusal, which must name the file) and without a
# sanitizer report. Prints one line; non-zero exit on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tool=${MORVEK_SANITIZED_TOOL:-$root/build/sanitize/bin/midi2morvek}
name=sanitized-cli
if [ ! -x "$tool" ]; then
  echo "$name: $tool is missing (scripts/test.sh builds it)"; exit 1
fi

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:exitcode=86
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:exitcode=86
export LSAN_OPTIONS=exitcode=86

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=("$root"/fuzz/corpus/files/*.mid "$root/examples/demo.mid")
runs=0
failures=0

check() { # file, args...
  local file=$1; shift
  local rc
  "$tool" "$@" "$file" >"$work/out" 2>"$work/err"
  rc=$?
  runs=$((runs + 1))
  local problem=""
  if grep -qE 'Sanitizer|runtime error:' "$work/err"; then
    problem="sanitizer report"
  elif [ $rc -ne 0 ] && [ $rc -ne 1 ]; then
    problem="exit code $rc"
  elif [ $rc -eq 1 ] && ! grep -qF "midi2morvek: $file: " "$work/err"; then
    problem="a refusal that does not name the file"
  fi
  if [ -n "$problem" ]; then
    failures=$((failures + 1))
    echo "$name: $problem: midi2morvek $* $file"
    head -n 20 "$work/err"
  fi
}

for file in "${files[@]}"; do
  check "$file" --list
  check "$file" --events
  check "$file"
  check "$file" --parts 18 --resolution 192 --split 1 --kind PLAY@ --line 32000
  check "$file" --parts 3 --resolution 4 --split 1920 --output "$work/program.txt"
done
# A folder where a file is expected.
check "$root/fuzz/corpus/files" --list
check "$root/fuzz/corpus/files"

if [ $failures -eq 0 ]; then
  echo "$name: ${#files[@]} files, $runs runs, no sanitizer report"
else
  echo "$name: $failures of $runs runs failed"
  exit 1
fi
