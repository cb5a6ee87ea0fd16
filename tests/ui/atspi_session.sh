#!/usr/bin/env bash
# Runs Mensura where a screen reader would meet it and checks what it shows
# through AT-SPI, in an X server and a session bus of its own:
#   tests/ui/atspi_session.sh build/bin/mensura tests/ui/atspi_check.py
# Exits 77 (skipped) when the accessibility stack is not installed.
set -u
mensura=$1
check=$2
launcher=/usr/libexec/at-spi-bus-launcher

if [[ ${ATSPI_SESSION_INNER:-} != 1 ]]; then
    if ! command -v Xvfb >/dev/null || ! command -v dbus-run-session >/dev/null ||
        [[ ! -x $launcher ]] ||
        ! /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null; then
        echo "atspi_session: Xvfb, dbus-run-session, at-spi2-core or python3-gi missing; skipped"
        exit 77
    fi
    # Xvfb picks a free display itself and says which (-displayfd), so runs
    # side by side never race for one.
    displayfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do
        [[ -s $displayfile ]] && break
        sleep 0.1
    done
    display=$(head -n 1 "$displayfile")
    rm -f "$displayfile"
    if [[ -z $display ]]; then
        echo "atspi_session: Xvfb did not start"
        kill "$xvfb" 2>/dev/null
        exit 1
    fi
    DISPLAY=:$display ATSPI_SESSION_INNER=1 dbus-run-session -- "$0" "$@"
    status=$?
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    exit $status
fi

# Inside the session bus. Qt registers with the accessibility bus without a
# screen reader running.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
"$launcher" --launch-immediately &
launcher_pid=$!
# Mensura asks the session bus for the accessibility bus as it starts; the
# launcher must own its name by then, or Mensura may stay off the bus.
/usr/bin/python3 - <<'PY'
import time
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
for _ in range(300):
    owned = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                          "org.freedesktop.DBus", "NameHasOwner",
                          GLib.Variant("(s)", ("org.a11y.Bus",)), GLib.VariantType("(b)"),
                          Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
    if owned:
        break
    time.sleep(0.1)
PY
"$mensura" &
mensura_pid=$!
/usr/bin/python3 "$check"
status=$?
kill -0 "$mensura_pid" 2>/dev/null || echo "atspi_session: Mensura was no longer running"
kill "$mensura_pid" "$launcher_pid" 2>/dev/null
wait "$mensura_pid" "$launcher_pid" 2>/dev/null
exit $status
