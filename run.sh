#!/usr/bin/env bash
# Sets up, builds and starts Kelto from its program folder build/Kelto/.
# Without a display, starts it under Xvfb, saves a screenshot of the main window and ends it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-debian.sh
scripts/build.sh
cd build/Kelto
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./Kelto
fi
shot="$(cd .. && pwd)/kelto-main-window.png"
echo "No display is available: starting Kelto under Xvfb for a screenshot."
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display ./Kelto &
kelto=$!
sleep 4
DISPLAY=$display import -window root "$shot"
kill "$kelto" 2>/dev/null || true
wait "$kelto" 2>/dev/null || true
echo "Screenshot of the main window: $shot"
