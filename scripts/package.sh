#!/usr/bin/env bash
# Builds Kelto and makes its packages in build/packages/: the Debian package
# (kelto_<version>_amd64.deb) and the self-extracting installer (Kelto-<version>-Linux.sh), which
# tools/release/make-release.sh publishes as setup-Kelto.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
cd build
cpack -G "DEB;STGZ" -B "$PWD/packages"
rm -rf packages/_CPack_Packages
# CPack leaves the self-extracting installer writable by everyone.
chmod 0755 packages/*.sh
ls -l packages
