#!/usr/bin/env bash
# The two faults a user found, measured on the real program under Xvfb:
#  - idle CPU with a long text in the input box (per cent of one core over
#    IDLE_SECONDS, beside the same with an empty box);
#  - resident memory after CYCLES cycles of pasting a 1.4 MB mixed text,
#    waiting and deleting it (select all, Delete).
# Usage: bench/paste_idle.sh [path/to/mensura]   (default build/bin/mensura)
set -euo pipefail
cd "$(dirname "$0")/.."
PROGRAM=${1:-build/bin/mensura}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-:93}
IDLE_SECONDS=${IDLE_SECONDS:-30}
CYCLES=${CYCLES:-15}
for tool in Xvfb xdotool xclip python3; do
    command -v "$tool" >/dev/null || { echo "paste_idle: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
Xvfb "$DISPLAY_NUMBER" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    [[ -n ${app:-} ]] && kill "$app" 2>/dev/null || true
    [[ -n ${clip:-} ]] && kill "$clip" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$DISPLAY_NUMBER
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done 2>/dev/null || sleep 1

# 1.4 MB of digits, Latin, Hebrew, Arabic, combining marks, emoji, CJK,
# control characters and number-like words.
python3 - "$work/paste.txt" <<'PY'
import sys
piece = ("12345.678 abc \u00f1 e\u0301 \u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 "
         "\U0001F600\U0001F44D\U0001F3FD \u4e2d\u6587 &H1F 1e400 -0 \u202f\u200f\u200e\t ")
data = (piece * (1_400_000 // len(piece.encode()) + 1)).encode()[:1_400_000]
open(sys.argv[1], "wb").write(data.decode("utf-8", "ignore").encode())
PY

"$PROGRAM" &
app=$!
for _ in $(seq 400); do
    wid=$(xdotool search --onlyvisible --name '^Mensura$' 2>/dev/null | head -1) && [[ -n $wid ]] && break
    sleep 0.01
done
xdotool windowfocus --sync "$wid"
sleep 1

rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$app/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
idle_percent() {
    local t0 t1
    t0=$(cpu_ticks)
    sleep "$IDLE_SECONDS"
    t1=$(cpu_ticks)
    awk -v d=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v s="$IDLE_SECONDS" \
        'BEGIN {printf "%.2f", 100 * d / hz / s}'
}

xclip -selection clipboard -i "$work/paste.txt" &
clip=$!
sleep 0.5
echo "idle, empty box: $(idle_percent)% of a core over ${IDLE_SECONDS} s"
xdotool key --clearmodifiers ctrl+v
sleep 2
echo "idle, pasted text in the box: $(idle_percent)% of a core over ${IDLE_SECONDS} s"
xdotool key --clearmodifiers ctrl+a Delete
sleep 1
echo "resident before the cycles: $(rss_kb) kB"
trail=""
for cycle in $(seq "$CYCLES"); do
    xdotool key --clearmodifiers ctrl+v
    sleep 1
    xdotool key --clearmodifiers ctrl+a Delete
    sleep 0.5
    trail+=" $(rss_kb)"
done
sleep 2
echo "resident after each cycle (kB):$trail"
echo "resident after $CYCLES paste cycles: $(rss_kb) kB"
