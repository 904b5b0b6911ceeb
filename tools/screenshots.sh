#!/usr/bin/env bash
# Builds Kelto, starts a virtual display (Xvfb) and saves a picture of every window and panel of
# both programs into a folder (default docs/screenshots/), against a throw-away database with
# sample examinees.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(mkdir -p "${1:-docs/screenshots}" && cd "${1:-docs/screenshots}" && pwd)"
scripts/setup-debian.sh
scripts/build.sh
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display build/tools/screenshots/kelto_screenshots "$out"
