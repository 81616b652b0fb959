#!/usr/bin/env bash
# The one test command: installs what is missing, builds the native, 64-bit and
# 32-bit Windows configurations, and runs every test (Windows ones under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native windows-x64 windows-x86; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

ctest --preset native
ctest --preset windows-x86   # what a 32-bit build can show here: its tables

source scripts/lib/wine-session.sh
trap wine_session_stop EXIT
wine_session_start build/wine-tests
ctest --preset windows-x64
