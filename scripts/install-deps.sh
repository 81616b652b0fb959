#!/usr/bin/env bash
# Installs from Debian's packages whatever the build and the tests need and the
# machine lacks. Safe to run again: it installs nothing that is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest libgtest-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools
    wine wine64 xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
