#!/usr/bin/env bash
# Configures (once) and builds everything into build/; the program folder is build/Kelto/.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
if ! cmake --build build; then
    # Qt's code generation does not notice source files added since its last run in an existing
    # build folder; make it scan again and build once more.
    echo "building again with fresh Qt code generation"
    find build -path '*_autogen/timestamp' -delete
    cmake --build build
fi
