#!/usr/bin/env bash
# Start-up of the real program under Xvfb beside a bare Qt 6 Widgets window
# (QMainWindow, a line edit, 30 labels, fixed size) built by the same bench
# CMake: time from exec until the main window is mapped (and the processor
# time used by then), and resident memory once idle; median of RUNS
# interleaved runs each.
# Usage: bench/startup.sh [build-dir]   (default build; RUNS=10, IDLE_MS=1500)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
RUNS=${RUNS:-10}
IDLE_MS=${IDLE_MS:-1500}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-:92}
bin=$BUILD/bin
for program in mensura mensura_bare mensura_mapwait; do
    [[ -x $bin/$program ]] || { echo "startup: $bin/$program is missing; build first" >&2; exit 1; }
done

Xvfb "$DISPLAY_NUMBER" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$DISPLAY_NUMBER
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

# One throw-away run of each fills the disk cache.
"$bin/mensura_mapwait" 200 "$bin/mensura" >/dev/null
"$bin/mensura_mapwait" 200 "$bin/mensura_bare" >/dev/null
m_times=() m_cpu=() m_rss=() b_times=() b_cpu=() b_rss=()
for _ in $(seq "$RUNS"); do
    read -r t c r < <("$bin/mensura_mapwait" "$IDLE_MS" "$bin/mensura")
    m_times+=("$t") m_cpu+=("$c") m_rss+=("$r")
    read -r t c r < <("$bin/mensura_mapwait" "$IDLE_MS" "$bin/mensura_bare")
    b_times+=("$t") b_cpu+=("$c") b_rss+=("$r")
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
mt=$(median "${m_times[@]}") bt=$(median "${b_times[@]}")
mc=$(median "${m_cpu[@]}") bc=$(median "${b_cpu[@]}")
mr=$(median "${m_rss[@]}") br=$(median "${b_rss[@]}")
echo "mapped after exec (ms): Mensura ${m_times[*]}"
echo "                        bare    ${b_times[*]}"
printf 'median start-up: Mensura %.1f ms, bare window %.1f ms, ratio %.2f (target <= 1.10)\n' \
    "$mt" "$bt" "$(awk -v a="$mt" -v b="$bt" 'BEGIN {print a / b}')"
printf 'median processor time until mapped: Mensura %.1f ms, bare window %.1f ms, ratio %.2f\n' \
    "$mc" "$bc" "$(awk -v a="$mc" -v b="$bc" 'BEGIN {print a / b}')"
printf 'median resident once idle: Mensura %d kB, bare window %d kB, difference %+d kB (target <= 3072)\n' \
    "$mr" "$br" "$((mr - br))"
