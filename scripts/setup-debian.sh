#!/usr/bin/env bash
# Installs the Debian packages Kelto needs to build, test and run, when any is missing.
# Runs as root on a fresh Debian 12 machine; does nothing when all are present.
# (dpkg-dev and file: the Debian package's library dependencies; desktop-file-utils: the menu
# entry's check in the install test; lintian: tools/check-package.sh; cups and its filters: the
# print server the printing test starts for itself; postgresql-15 and libqt6sql6-psql: the database
# server the server tests start for themselves, and Qt's driver for it; libpq-dev: backups of a
# register on a server.)
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev
    qt6-svg-dev qt6-translations-l10n libsodium-dev fonts-farsiweb fonts-noto-core fontconfig
    xvfb xauth imagemagick poppler-utils curl python3 desktop-file-utils dpkg-dev file sqlite3 lintian
    libcups2-dev cups cups-filters postgresql-15 libqt6sql6-psql libpq-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${missing[@]}"
fi
