#!/usr/bin/env bash
# Every include points down: a folder includes only its own headers and those
# of folders on lower floors. Prints "ok", or each include that points up or
# sideways; exit code 0 for ok.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

declare -A floor=(
  [base]=1 [resources]=1 [gen]=1
  [midi]=2 [text]=2 [framework]=2 [examples]=2
  [settings]=3
  [score]=4
  [engine]=5
  [preview]=6 [fuzz]=6
  [cli]=7 [ui]=7 [web]=7 [bench]=7
  [app]=8
  [tests]=9
)

status=0
while IFS= read -r line; do
  file=${line%%:*}
  from=${file%%/*}
  to=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$line")
  [ "$from" = "$to" ] && continue
  f=${floor[$from]:-}
  t=${floor[$to]:-}
  if [ -z "$f" ] || [ -z "$t" ]; then
    echo "$file: folder without a floor ($from -> $to)"; status=1; continue
  fi
  if [ "$t" -ge "$f" ]; then
    echo "$file: $from (floor $f) includes $to (floor $t)"; status=1
  fi
done < <(grep -rHE '^#include "[a-z]+/' --include='*.cpp' --include='*.h' --include='*.rc' \
           base resources gen midi text framework examples settings score engine preview fuzz \
           cli ui web bench app 2>/dev/null)

[ $status -eq 0 ] && echo ok
exit $status
