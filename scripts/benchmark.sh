#!/usr/bin/env bash
# Benchmarks under Wine, printing figures (they assert nothing):
# the latency from a handset key report to the command at Skype during a call.
#   scripts/benchmark.sh [presses]   (default 1000)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target key_latency_benchmark >/dev/null

source scripts/lib/wine-session.sh
trap wine_session_stop EXIT
wine_session_start build/wine-bench
wine build/windows-x64/bin/key_latency_benchmark.exe "${1:-1000}" 2> >(grep -v '^ALSA lib' >&2)
