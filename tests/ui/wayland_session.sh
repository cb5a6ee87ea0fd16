#!/usr/bin/env bash
# Runs the Wayland test in a compositor of its own: a headless weston,
# drawing in memory, with its protocol traffic logged so that the test can
# see every client's windows, and screenshots allowed:
#   tests/ui/wayland_session.sh build/bin/mensura_wayland_tests build/bin/mensura
# Exits 77 (skipped) only when weston is missing or cannot start.
set -u
tests=$1
program=$2

if ! command -v weston >/dev/null || ! command -v weston-screenshooter >/dev/null; then
    echo "wayland_session: weston is not installed (package weston); skipped"
    exit 77
fi

# Weston wants a private runtime folder for its socket.
runtime=$(mktemp -d "${TMPDIR:-/tmp}/mensura-wayland.XXXXXX")
chmod 700 "$runtime"
socket=wayland-mensura-$$
log=$runtime/weston.log
weston_pid=
cleanup() {
    if [[ -n $weston_pid ]]; then
        kill "$weston_pid" 2>/dev/null
        wait "$weston_pid" 2>/dev/null
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

# --use-pixman is the name weston 10 (Debian 12) knows; weston 14 (Debian 13)
# keeps it beside --renderer=pixman. --debug allows screenshots.
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman \
    --width=1024 --height=768 --socket="$socket" --no-config --debug \
    --log="$log" --logger-scopes=log,proto >/dev/null 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [[ -S $runtime/$socket ]] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ ! -S $runtime/$socket ]]; then
    echo "wayland_session: weston could not start; skipped. Its log:"
    tail -n 20 "$log" 2>/dev/null
    exit 77
fi

# Under AddressSanitizer: Qt's Wayland plugin allocates through system
# libraries built without frame pointers, and only the slow unwinder sees
# past them to the frames that .ci/lsan.supp names.
[[ -n ${ASAN_OPTIONS:-} ]] && export ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0

# The headless compositor has no seat. Qt 6.4's Wayland input method then
# dereferences the missing seat when a key reaches a line edit, so the keys
# the test sends go without one (the program itself runs unchanged).
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland QT_IM_MODULE=none \
    MENSURA_WESTON_LOG=$log MENSURA_PROGRAM=$program "$tests"
status=$?
if [[ $status -ne 0 ]]; then
    echo "wayland_session: the end of weston's log (without protocol lines):"
    grep -v '\[proto\]' "$log" | tail -n 20
fi
exit $status
