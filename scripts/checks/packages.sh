#!/usr/bin/env bash
# The release packages of scripts/test.sh's trees (build/native, build/win64,
# build/win32) hold exactly what the README's "Download and install" promises:
# the programs (the right ones for the machine, no test program), the manuals
# with every picture they show, the demo song, README.md and LICENSE.
#   scripts/checks/packages.sh [TREE...]
# Prints "ok", or what is wrong; exit code 0 for ok.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
name=packages
if [ $# -gt 0 ]; then trees=("$@"); else trees=(build/native build/win64 build/win32); fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
problems=0
problem() { echo "$name: $*"; problems=$((problems + 1)); }

present=()
for tree in "${trees[@]}"; do
  [ -f "$tree/CPackConfig.cmake" ] && present+=("$tree") || problem "$tree: no configured build tree"
done
[ ${#present[@]} -gt 0 ] || exit 1
scripts/package.sh --out "$work/dist" "${present[@]}" >"$work/made" 2>"$work/errors" ||
  { cat "$work/errors"; problem "scripts/package.sh failed"; exit 1; }

version=$(sed -n 's/^project(MidiToMorvek VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The papers every package carries, as found in the source tree.
papers=(LICENSE README.md demo.mid)
while read -r f; do papers+=("manual/${f#docs/manual/}"); done < <(find docs/manual -type f \( -name '*.html' -o -name '*.png' -o -name '*.css' \) | sort)
while read -r f; do papers+=("$f"); done < <(find docs -path docs/manual -prune -o -type f \( -name '*.png' -o -name '*.wav' -o -name '*.txt' \) -print | sort)

check_package() { # package file, top folder, programs...
  local package=$1 top=$2; shift 2
  if [ ! -f "$package" ]; then problem "$(basename "$package") was not made"; return; fi
  local expected=() f
  for f in "$@" "${papers[@]}"; do expected+=("$top/$f"); done
  cmake -E tar tf "$package" | grep -v '/$' | sort >"$work/listed"
  printf '%s\n' "${expected[@]}" | sort >"$work/expected"
  if ! diff "$work/expected" "$work/listed" >"$work/diff"; then
    problem "$(basename "$package") holds other files than expected ('<' missing, '>' extra):"
    sed -n 's/^[<>] .*/  &/p' "$work/diff"
  fi
  rm -rf "$work/unpacked" && mkdir -p "$work/unpacked"
  (cd "$work/unpacked" && cmake -E tar xf "$package")
  # Every picture a manual page shows is in the package beside it.
  local page src
  for page in "$work/unpacked/$top"/manual/*/index.html; do
    [ -f "$page" ] || { problem "$(basename "$package"): no manual page"; break; }
    for src in $(grep -o '<img [^>]*src="[^"]*"' "$page" | sed 's/.*src="\([^"]*\)"/\1/'); do
      [ -f "$(dirname "$page")/$src" ] || problem "$(basename "$package"): ${page#"$work/unpacked/"} shows $src, which is missing"
    done
  done
  # Every file the README links is in the package beside it.
  for src in $(grep -o '](docs/[^)]*)' "$work/unpacked/$top/README.md" | sed 's/^](\(.*\))$/\1/'); do
    [ -f "$work/unpacked/$top/$src" ] || problem "$(basename "$package"): README.md links $src, which is missing"
  done
  if [ -f "$package.sha256" ]; then
    (cd "$(dirname "$package")" && sha256sum -c --quiet "$(basename "$package").sha256") >/dev/null 2>&1 ||
      problem "$(basename "$package"): its .sha256 does not match"
  fi
}

machine() { # program: the object format objdump names
  x86_64-w64-mingw32-objdump -f "$1" 2>/dev/null | sed -n 's/.*file format //p'
}

for tree in "${present[@]}"; do
  if grep -q '^CMAKE_SYSTEM_NAME:.*Windows' "$tree/CMakeCache.txt" 2>/dev/null ||
     grep -q 'CPACK_GENERATOR "ZIP"' "$tree/CPackConfig.cmake"; then
    if grep -q 'CPACK_PACKAGE_FILE_NAME "[^"]*-win32"' "$tree/CPackConfig.cmake"; then bits=win32 format=pei-i386
    else bits=win64 format=pei-x86-64; fi
    top=MIDI-to-MORVEK-$version-$bits
    check_package "$work/dist/$top.zip" "$top" KALTON.EXE midi2morvek.exe
    for program in KALTON.EXE midi2morvek.exe; do
      f="$work/unpacked/$top/$program"
      [ -f "$f" ] || continue
      [ "$(machine "$f")" = "$format" ] || problem "$top.zip: $program is $(machine "$f"), not $format"
    done
  else
    top=$(sed -n 's/.*CPACK_PACKAGE_FILE_NAME "\([^"]*\)".*/\1/p' "$tree/CPackConfig.cmake")
    check_package "$work/dist/$top.tar.gz" "$top" midi2morvek
    f="$work/unpacked/$top/midi2morvek"
    if [ -x "$f" ]; then
      "$f" --version | grep -qx "midi2morvek $version" || problem "$top.tar.gz: midi2morvek --version is not $version"
    fi
  fi
done
# The web page's zip, when scripts/test.sh built the page: the site and the
# licence, nothing else (no test program, no build files).
web=${MORVEK_WEB_BUILD:-build/web}
if [ $# -eq 0 ] && [ -d "$web/site" ]; then
  top=MIDI-to-MORVEK-$version-web
  if scripts/package.sh --out "$work/web" "$web" >/dev/null 2>"$work/errors" && [ -f "$work/web/$top.zip" ]; then
    cmake -E tar tf "$work/web/$top.zip" | grep -v '/$' | sort >"$work/listed"
    printf "$top/%s\n" LICENSE app.js demo.mid index.html morvek.js morvek.wasm strings.js style.css |
      sort >"$work/expected"
    diff "$work/expected" "$work/listed" >"$work/diff" ||
      { problem "$top.zip holds other files than expected:"; sed -n 's/^[<>] .*/  &/p' "$work/diff"; }
  else
    cat "$work/errors"; problem "$top.zip was not made"
  fi
fi

[ $problems -eq 0 ] && echo ok
[ $problems -eq 0 ]
