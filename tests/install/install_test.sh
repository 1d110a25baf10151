#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed client once,
# offscreen: everything must be in place, and the player's files must go to the
# per-user folder, never beside the installed program.
set -eu
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
for f in bin/kmc bin/kmc-demo-mud share/kmc/mudhelp.txt share/applications/kmc.desktop \
         share/icons/hicolor/scalable/apps/kmc.svg; do
  [ -f "$tmp/prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/.local/share" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
set +e
timeout 8 "$tmp/prefix/bin/kmc"
rc=$?
set -e
[ $rc -eq 124 ] || { echo "the installed client ended by itself with $rc"; exit 1; }
conf=$(find "$XDG_DATA_HOME" -type d -name conf | head -n 1)
[ -n "$conf" ] && [ -d "$(dirname "$conf")/log" ] || { echo "no per-user conf/ and log/"; exit 1; }
[ ! -e "$tmp/prefix/bin/conf" ] || { echo "wrote beside the installed program"; exit 1; }
echo "installed layout ok: player files in ${conf%/conf}"
