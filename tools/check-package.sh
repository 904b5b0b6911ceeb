#!/usr/bin/env bash
# Builds Kelto's Debian package (scripts/package.sh) and checks it with lintian. The goal: no
# errors and no warnings but no-manual-page (Kelto is a desktop program started from the menu; it
# has no manual page). Prints lintian's report; fails when it holds any other error or warning.
# Run from anywhere: tools/check-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package.sh
deb=$(ls build/packages/kelto_*_amd64.deb)
report=$(lintian --info --display-info "$deb" 2>&1 || true)
echo "$report"
failures=$(echo "$report" | grep -E '^[EW]: ' | grep -v -E '^W: kelto: no-manual-page ' || true)
if [ -n "$failures" ]; then
    echo "check-package: lintian reports errors or warnings:" >&2
    echo "$failures" >&2
    exit 1
fi
echo "check-package: $deb has no errors and no warnings but no-manual-page"
