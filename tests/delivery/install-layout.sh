#!/usr/bin/env bash
# "cmake --install" into a temporary prefix lays out the program folder, the launcher, the menu
# entry and the icon; the launcher's first start gives the user a program folder of their own, in
# which Kelto makes its database, and leaves the installed folder untouched.
#   install-layout.sh <build folder>
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
kelto=""
cleanup() {
    [ -z "$kelto" ] || kill "$kelto" 2>/dev/null || true
    chmod -R u+w "$tmp"
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
installed="$prefix/lib/kelto"
for program in Kelto Keltoupdate; do
    [ -x "$installed/$program" ] || fail "$program is missing from the program folder"
done
[ "$(find "$installed" -maxdepth 1 -name '*.skn' | wc -l)" -eq 11 ] || fail "the program folder lacks skins"
[ -d "$installed/DBKelto" ] && [ -z "$(ls -A "$installed/DBKelto")" ] || fail "DBKelto/ is missing or not empty"
[ -d "$installed/Back" ] || fail "Back/ is missing"
[ -x "$prefix/bin/kelto" ] || fail "the launcher is missing"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/kelto.svg" || fail "the icon is missing"
entry="$prefix/share/applications/kelto.desktop"
grep -qx "Exec=$prefix/bin/kelto" "$entry" || fail "the menu entry does not start the installed launcher"
grep -qx "Icon=kelto" "$entry" || fail "the menu entry does not name the icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "the menu entry is not valid"
fi

# The installed folder may not be the user's to write: the launcher runs Kelto from the user's own
# program folder, which Kelto then works in.
chmod -R a-w "$installed"
home="$tmp/home"
mkdir -p "$home"
HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=offscreen "$prefix/bin/kelto" >"$tmp/kelto.log" 2>&1 &
kelto=$!
own="$home/.local/share/kelto"
for _ in $(seq 300); do
    [ -s "$own/DBKelto/DBKelto.mdb" ] && break
    kill -0 "$kelto" 2>/dev/null || fail "Kelto ended at its first start: $(cat "$tmp/kelto.log")"
    sleep 0.1
done
[ -s "$own/DBKelto/DBKelto.mdb" ] || fail "Kelto made no database in the user's program folder"
cmp -s "$installed/Keltoupdate" "$own/Keltoupdate" || fail "the updater was not copied beside Kelto"
[ -d "$own/Back" ] || fail "the user's program folder has no Back/"
[ -z "$(ls -A "$installed/DBKelto")" ] || fail "something was written into the installed folder"
kill "$kelto"
wait "$kelto" 2>/dev/null || true
kelto=""

# The self-extracting installer, started as the updater starts it inside the user's program folder:
# the programs are renewed, the database is kept, the installer removes itself.
cpack --config "$build/CPackConfig.cmake" -G STGZ -B "$tmp/packages" >/dev/null
setup="$(ls "$tmp"/packages/Kelto-*-Linux.sh)"
cp "$setup" "$own/setup-Kelto.exe"
echo "an older release" >"$own/Keltoupdate"
database="$(cksum <"$own/DBKelto/DBKelto.mdb")"
(cd "$own" && DISPLAY="" WAYLAND_DISPLAY="" ./setup-Kelto.exe </dev/null >/dev/null) || fail "the installer failed"
[ "$(head -c 4 "$own/Keltoupdate" | tail -c 3)" = "ELF" ] || fail "the installer did not renew the updater"
[ "$(cksum <"$own/DBKelto/DBKelto.mdb")" = "$database" ] || fail "the installer touched the database"
[ ! -e "$own/setup-Kelto.exe" ] || fail "the installer was left behind"
# Installed elsewhere, its menu entry starts the launcher where it now lies.
sh "$setup" --prefix="$tmp/elsewhere" >/dev/null
grep -qx "Exec=$tmp/elsewhere/bin/kelto" "$tmp/elsewhere/share/applications/kelto.desktop" ||
    fail "the installer's menu entry does not start its launcher"
[ -x "$tmp/elsewhere/lib/kelto/Kelto" ] || fail "the installer did not install Kelto"
echo "install layout, first start and installer: ok"
