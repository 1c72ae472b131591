#!/usr/bin/env bash
# Builds the release packages and puts them into one folder:
#   MIDI-to-MORVEK-<version>-win32.zip, -win64.zip (KALTON.EXE, midi2morvek.exe,
#   the manuals, the demo song, README.md, LICENSE) and
#   MIDI-to-MORVEK-<version>-linux-<processor>.tar.gz (midi2morvek and the same papers),
#   each with a .sha256 file, and MIDI-to-MORVEK-<version>-web.zip (the web page's
#   folder, for any static host) from a web build tree (emcmake).
#
#   scripts/package.sh                        Release trees in build/package-{linux,win32,win64,web}, into dist/
#   scripts/package.sh --out DIR TREE...      packages of trees that are configured already
#                                             (scripts/test.sh's build/native build/win64 build/win32)
# Prints the path of each package; non-zero exit when one could not be made.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${MORVEK_JOBS:-2}
out=$root/dist
trees=()

while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
    *) trees+=("$1"); shift ;;
  esac
done

if [ ${#trees[@]} -eq 0 ]; then
  # Release builds without the test programs: the packages get only what
  # cmake/Package.cmake installs anyway, this just builds less.
  configure() { # dir, cmake args...
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DMORVEK_BUILD_TESTS=OFF "$@" >"$dir.configure.log" 2>&1 ||
      { cat "$dir.configure.log"; exit 1; }
  }
  mkdir -p build
  configure build/package-linux
  configure build/package-win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
  configure build/package-win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
  trees=(build/package-linux build/package-win32 build/package-win64)
  if command -v emcmake >/dev/null; then
    NODE_PATH=${NODE_PATH:-/usr/share/nodejs} emcmake cmake -S . -B build/package-web -DCMAKE_BUILD_TYPE=Release \
      -DMORVEK_BUILD_TESTS=OFF >build/package-web.configure.log 2>&1 || { cat build/package-web.configure.log; exit 1; }
    trees+=(build/package-web)
  fi
fi

# The web page's zip: the site folder, made by the tree's web_package target.
web_package() { # tree
  local tree=$1 package
  rm -f "$tree"/MIDI-to-MORVEK-*-web.zip
  if ! NODE_PATH=${NODE_PATH:-/usr/share/nodejs} cmake --build "$tree" -j "$jobs" --target web_package \
       >"$tree.package.log" 2>&1; then
    tail -n 40 "$tree.package.log" >&2
    echo "$tree: the web package could not be built" >&2
    exit 1
  fi
  for package in "$tree"/MIDI-to-MORVEK-*-web.zip; do
    cp "$package" "$out/"
    (cd "$out" && sha256sum "$(basename "$package")" >"$(basename "$package").sha256")
    echo "$out/$(basename "$package")"
  done
}

mkdir -p "$out"
for tree in "${trees[@]}"; do
  if grep -q '^EMSCRIPTEN' "$tree/CMakeCache.txt" 2>/dev/null ||
     grep -q 'Emscripten.cmake' "$tree/CMakeCache.txt" 2>/dev/null; then
    web_package "$tree"
    continue
  fi
  [ -f "$tree/CPackConfig.cmake" ] || { echo "$tree: not a configured build tree" >&2; exit 1; }
  rm -f "$tree"/MIDI-to-MORVEK-*.zip "$tree"/MIDI-to-MORVEK-*.tar.gz "$tree"/MIDI-to-MORVEK-*.sha256
  if ! cmake --build "$tree" -j "$jobs" --target package >"$tree.package.log" 2>&1; then
    tail -n 40 "$tree.package.log" >&2
    echo "$tree: the package could not be built" >&2
    exit 1
  fi
  for package in "$tree"/MIDI-to-MORVEK-*.zip "$tree"/MIDI-to-MORVEK-*.tar.gz; do
    [ -f "$package" ] || continue
    cp "$package" "$package.sha256" "$out/" 2>/dev/null || cp "$package" "$out/"
    echo "$out/$(basename "$package")"
  done
done
