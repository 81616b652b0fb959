#!/usr/bin/env bash
# The main job: a scripted session under Wine with the simulated handset,
# printing a timeline of what the application received and what the handset saw.
# Uses $DISPLAY when TELVANE_USE_DISPLAY=1, a private Xvfb otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target handset_session >/dev/null

source scripts/lib/wine-session.sh
trap wine_session_stop EXIT
wine_session_start build/wine-run
wine build/windows-x64/bin/handset_session.exe
