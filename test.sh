#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-debian.sh
# Every include points down the floors of the house.
tools/check-include-floors.py
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
