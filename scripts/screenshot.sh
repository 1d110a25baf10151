#!/usr/bin/env bash
# Retakes docs/screenshot.png: the client from build/ in a fresh folder under Xvfb,
# playing the practice MUD. Each command is typed, sent with its own Enter and answered
# before the next one is typed. Needs xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

# A fresh program folder, so no earlier settings show.
mkdir "$tmp/kmc"
cp build/bin/kmc build/bin/mudhelp.txt "$tmp/kmc/"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

build/bin/kmc-demo-mud --record "$tmp/received" 0 >"$tmp/mud" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do grep -q listening "$tmp/mud" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^listening on 127.0.0.1://p' "$tmp/mud")

HOME=$tmp/home "$tmp/kmc/kmc" &
pids+=($!)
win=$(xdotool search --sync --name "Kelmoth's Mud-Client")
sleep 2
# The lists panel with the compass beside a console that shows whole lines.
xdotool mousemove --window "$win" 172 34 click 1 mousemove 0 0
xdotool windowsize "$win" 716 486
sleep 1

# Types one line, presses Enter and waits until the server has it (client commands
# never reach it) and the client has shown the answer.
send() { # text [client]
  local before
  before=$(wc -l <"$tmp/received" 2>/dev/null || echo 0)
  xdotool type --delay 40 -- "$1"
  xdotool key Return
  if [ "${2:-}" != client ]; then
    for _ in $(seq 50); do
      [ "$(wc -l <"$tmp/received")" -gt "$before" ] && break
      sleep 0.1
    done
  fi
  sleep 1
}

send "#alias gruss sage Hallo %1!" client
send "#open 127.0.0.1 $port" client
send "Alrik"
send "geheim"
send "n"
send "s"
send "rein"
send "gruss Wirt"
import -window "$win" -strip "$out"
echo "wrote $out"
