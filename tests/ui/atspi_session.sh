#!/usr/bin/env bash
# Runs Mensura where a screen reader would meet it and checks what it shows
# through AT-SPI. Meant to run inside its own X server and session bus:
#   xvfb-run -a dbus-run-session -- atspi_session.sh build/bin/mensura tests/ui/atspi_check.py
# Exits 77 (skipped) when the accessibility stack is not installed.
set -u
mensura=$1
check=$2
launcher=/usr/libexec/at-spi-bus-launcher
if [[ ! -x $launcher ]] || ! /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null; then
    echo "atspi_session: at-spi2-core, python3-gi or gir1.2-atspi-2.0 missing; skipped"
    exit 77
fi
# Qt registers with the accessibility bus without a screen reader running.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
"$launcher" --launch-immediately &
launcher_pid=$!
"$mensura" &
mensura_pid=$!
/usr/bin/python3 "$check"
status=$?
kill "$mensura_pid" "$launcher_pid" 2>/dev/null
wait 2>/dev/null
exit $status
