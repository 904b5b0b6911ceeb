#!/usr/bin/env bash
# Builds the release-signing tool on the fly (needs a C++ compiler and libsodium-dev) and runs it.
#   tools/release-signing/kelto-sign.sh keygen keys/release.key keys/release.pub
#   tools/release-signing/kelto-sign.sh sign keys/release.key setup-Kelto.exe   # -> setup-Kelto.exe.sig
#   tools/release-signing/kelto-sign.sh verify keys/release.pub setup-Kelto.exe
# Keep the secret key out of the repository (/keys/ and *.key are ignored).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tool="${TMPDIR:-/tmp}/kelto_sign.$(id -u)"
if [ ! -x "$tool" ] || [ "$here/kelto_sign.cpp" -nt "$tool" ]; then
    c++ -std=c++17 -O2 -o "$tool" "$here/kelto_sign.cpp" $(pkg-config --cflags --libs libsodium)
fi
exec "$tool" "$@"
