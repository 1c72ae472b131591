#!/usr/bin/env bash
# KALTON.EXE must run on a bare Windows: it may import system DLLs only.
#   scripts/checks/imports.sh            checks build/win64 and build/win32
#   scripts/checks/imports.sh FILE...    checks the given programs
# Prints "ok", or each import that is not allowed; exit code 0 for ok.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
allowed='^(user32|gdi32|kernel32|comctl32|comdlg32|shell32|version|advapi32|msvcrt|ntdll|ole32|oleaut32|shlwapi|winmm|ws2_32)\.dll$'

if [ $# -gt 0 ]; then
  programs=("$@")
else
  programs=("$root/build/win64/bin/KALTON.EXE" "$root/build/win32/bin/KALTON.EXE")
fi

status=0
for program in "${programs[@]}"; do
  if [ ! -f "$program" ]; then
    echo "$program: missing"
    status=1
    continue
  fi
  objdump=x86_64-w64-mingw32-objdump
  command -v "$objdump" >/dev/null || objdump=i686-w64-mingw32-objdump
  dlls=$("$objdump" -p "$program" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  if [ -z "$dlls" ]; then
    echo "$program: no import table found"
    status=1
    continue
  fi
  while read -r dll; do
    if ! grep -Eq "$allowed" <<<"$dll"; then
      echo "$program: imports $dll, which is not a system DLL"
      status=1
    fi
  done <<<"$dlls"
done
[ $status -eq 0 ] && echo ok
exit $status
