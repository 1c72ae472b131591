#!/usr/bin/env bash
# Checks lenient re-timing against an independent tool: each MIDI file is
# re-timed to 480 ticks per quarter note with midicsv, awk and csvmidi (every
# absolute time t becomes floor((2*t*480 + tb) / (2*tb)), the nearest tick,
# halves up; files at 48, 96, 240 or 480 are kept as they are), converted
# strictly, and compared byte for byte with `midi2morvek --lenient` on the
# original, under a few settings.
#   scripts/retime-check.sh [-t MIDI2MORVEK] FILE...
# Prints one line per file that differs or fails, then the counts; exits 1
# when any file differs.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$root/build/native/bin/midi2morvek
if [ "${1:-}" = "-t" ]; then tool=$2; shift 2; fi
work=$(mktemp -d "${TMPDIR:-/tmp}/retime-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
settings=("" "-p 18 -r 192" "-p 3 -r 16 -s 487")

retime() {  # FILE.csv -> re-timed CSV on standard output
  awk -F', *' -v OFS=', ' '
    function round(t,   n, d) { n = 2 * t * 480 + tb; d = 2 * tb; return (n - n % d) / d }
    $3 == "Header" { tb = $6 + 0; keep = (tb == 48 || tb == 96 || tb == 240 || tb == 480)
                     if (!keep) $6 = 480; print; next }
    !keep && $2 ~ /^[0-9]+$/ { $2 = round($2 + 0) }
    { print }' "$1"
}

files=0; converted=0; same=0; refused=0
for mid in "$@"; do
  files=$((files + 1))
  name=$(basename "$mid")
  if ! midicsv "$mid" "$work/in.csv" 2>"$work/csv.err"; then
    echo "$name: midicsv cannot read it: $(head -1 "$work/csv.err")"; continue
  fi
  retime "$work/in.csv" >"$work/out.csv"
  if ! csvmidi "$work/out.csv" "$work/retimed.mid" 2>"$work/csv.err"; then
    echo "$name: csvmidi cannot write it: $(head -1 "$work/csv.err")"; continue
  fi
  ok=1
  for s in "${settings[@]}"; do
    eval "args=($s)"
    "$tool" "${args[@]}" --lenient "$mid" >"$work/lenient.txt" 2>"$work/lenient.err"; a=$?
    "$tool" "${args[@]}" "$work/retimed.mid" >"$work/strict.txt" 2>"$work/strict.err"; b=$?
    if [ $a -ne 0 ] || [ $b -ne 0 ]; then
      echo "$name [$s]: refused: lenient $a ($(head -1 "$work/lenient.err")), strict $b ($(head -1 "$work/strict.err"))"
      ok=0; refused=$((refused + 1)); break
    fi
    if ! cmp -s "$work/lenient.txt" "$work/strict.txt"; then
      echo "$name [$s]: the programs differ"; ok=0; break
    fi
  done
  [ $ok -eq 1 ] && { converted=$((converted + 1)); same=$((same + 1)); }
done
echo "files $files, converted and identical under ${#settings[@]} settings: $same, refused: $refused"
[ "$same" -eq "$files" ]
