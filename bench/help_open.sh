#!/usr/bin/env bash
# F1 to help window under Xvfb, as on a desktop: bench/help_open.cpp on the
# xcb platform. Usage: bench/help_open.sh [build-dir]   (RUNS=20)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-:93}
Xvfb "$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$DISPLAY_NUMBER
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
QT_QPA_PLATFORM=xcb "$BUILD/bin/mensura_help_open_bench" "${RUNS:-20}"
