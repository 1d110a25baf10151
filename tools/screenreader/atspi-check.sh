#!/bin/sh
# Plays a short session as a blind player's screen reader follows it: starts the
# practice MUD and the client in a temporary folder on a fresh X server with the
# accessibility bus, then lets atspi_check.py find the client in the accessibility
# tree, connect through its input line and wait for the MUD's greeting in the
# console's text and in a text-inserted event.
#
#   tools/screenreader/atspi-check.sh [BUILD_DIR]
#
# Needs xvfb, dbus, at-spi2-core and python3-pyatspi (scripts/setup.sh installs them).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
work=$(mktemp -d)
trap 'kill $mud 2>/dev/null; rm -rf "$work"' EXIT
# A copy beside its help file keeps its files in the temporary folder.
cp "$build/bin/kmc" "$build/bin/mudhelp.txt" "$work/"
"$build/bin/kmc-demo-mud" 0 >"$work/mud.out" &
mud=$!
for _ in $(seq 50); do grep -qs "listening on" "$work/mud.out" && break; sleep 0.1; done
port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' "$work/mud.out")
[ -n "$port" ] || { echo "the practice MUD did not start"; exit 1; }
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The checker listens before the client starts, so the client learns of the listener
# as it registers with the accessibility bus.
dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "/usr/bin/python3 \"$2\" \"$3\" & checker=\$!
    sleep 1; \"$1/kmc\" & client=\$!; wait \$checker; rc=\$?; kill \$client; wait \$client; exit \$rc"' \
  sh "$work" "$here/atspi_check.py" "$port"
