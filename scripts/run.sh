#!/usr/bin/env bash
# The main job: telvane under Wine with the simulated handset and the Skype
# stand-in, driven through a scripted session (start, a refused second copy, a
# softphone chosen from the tray menu surviving a restart, an X-Lite ring burst,
# a whole Skype call), printing a timeline of what the program, the handset and
# Skype did. `scripts/run.sh handset` runs the handset library alone instead.
# Uses $DISPLAY when TELVANE_USE_DISPLAY=1, a private Xvfb otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

session=telvane_session
[ "${1:-}" = handset ] && session=handset_session

scripts/install-deps.sh
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target "$session" >/dev/null

source scripts/lib/wine-session.sh
trap wine_session_stop EXIT
wine_session_start build/wine-run
# ALSA's complaints about the machine's missing sound card are not the session's.
wine "build/windows-x64/bin/$session.exe" 2> >(grep -v '^ALSA lib' >&2)
