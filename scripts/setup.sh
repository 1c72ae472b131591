#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian machine.
#   scripts/setup.sh          everything (native, Windows cross builds, Wine, Xvfb)
#   scripts/setup.sh --core   only what the native command-line build needs
set -euo pipefail

core=(cmake g++ make googletest libgtest-dev)
windows=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
         wine wine64 xvfb fonts-ipafont-gothic xdotool imagemagick locales python3)
extra=(clang-14 libclang-rt-14-dev midicsv libbenchmark-dev)

want=("${core[@]}")
if [ "${1:-}" != "--core" ]; then
  want+=("${windows[@]}" "${extra[@]}")
fi

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine runs the Windows program with the Japanese ANSI code page.
if [ "${1:-}" != "--core" ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
