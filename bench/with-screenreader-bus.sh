#!/usr/bin/env bash
# Runs a desktop benchmark as a screen reader's user runs the program: on an X display of its
# own (Xvfb), with a session bus, the accessibility bus switched on, QT_ACCESSIBILITY=1 and a
# listener asking about every event (screenreader-listener.py). Prints the events' counts
# after the benchmark's own lines. Usage: bench/with-screenreader-bus.sh PROGRAM [ARGS...]
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
finish() {
    kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
Xvfb :97 -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=:97
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null 2>&1 && break
    sleep 0.1
done
/usr/bin/python3 "$here/screenreader-listener.py" "$work/events.txt" >"$work/listener.txt" &
listener=$!
pids+=($listener)
for _ in $(seq 100); do
    grep -q listening "$work/listener.txt" && break
    sleep 0.1
done
status=0
QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb "$@" || status=$?
kill -TERM "$listener"
wait "$listener" 2>/dev/null || true
echo "Events the listener was told of:"
sed 's/^/  /' "$work/events.txt" 2>/dev/null || echo "  (none)"
exit "$status"
