#!/bin/sh
# Runs a test as on a desktop with a screen reader: a fresh X server (Xvfb), a D-Bus
# session and the accessibility bus, with Qt's bridge to it switched on.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
exec dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"' sh "$@"
