#!/usr/bin/env bash
# Writes the update server's folder for one release; any static HTTP server can serve it as is:
#   <out>/Soft/Kelto/LastVersion.txt      the release's version, as the update check reads it
#   <out>/Soft/Kelto/setup-Kelto.exe      the installer, at the path the updater downloads
#   <out>/Soft/Kelto/setup-Kelto.exe.sig  its signature, made with the release's secret key
#
#   tools/release/make-release.sh --key SECRET-KEY [--public-key PUBLIC-KEY] [--installer FILE]
#                                 [--version X.Y] [--out DIR]
#
# Defaults: the version in CMakeLists.txt, the installer that scripts/package.sh makes
# (build/packages/Kelto-<version>-Linux.sh), the folder build/release. With --public-key the
# signature is checked against that key before anything is published. The secret key stays
# outside the repository (tools/release-signing/kelto-sign.sh keygen makes a pair).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
sign="$root/tools/release-signing/kelto-sign.sh"

fail() {
    echo "make-release: $*" >&2
    exit 1
}

key="" public_key="" installer="" version="" out="$root/build/release"
while [ $# -gt 0 ]; do
    case "$1" in
    --key | --public-key | --installer | --version | --out)
        [ $# -ge 2 ] || fail "$1 needs a value"
        case "$1" in
        --key) key="$2" ;;
        --public-key) public_key="$2" ;;
        --installer) installer="$2" ;;
        --version) version="$2" ;;
        --out) out="$2" ;;
        esac
        shift 2
        ;;
    *) fail "unknown argument $1 (see the head of this script)" ;;
    esac
done
[ -n "$key" ] || fail "--key names the release's secret key"
[ -f "$key" ] || fail "no secret key at $key"
[ -n "$version" ] || version="$(sed -n 's/^project(Kelto VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ -n "$installer" ] || installer="$root/build/packages/Kelto-$version-Linux.sh"
[ -f "$installer" ] || fail "no installer at $installer (scripts/package.sh makes it)"
# The update check reads the text as a decimal number: "2.10" would read as 2.1.
[[ "$version" =~ ^[0-9]+\.[0-9]+$ ]] || fail "the version must be major.minor in digits, not \"$version\""

folder="$out/Soft/Kelto"
mkdir -p "$folder"
# Users compare their version with this text as decimal numbers: a release that reads below the
# one already published would never be offered to anyone who has that one.
if [ -f "$folder/LastVersion.txt" ]; then
    published="$(head -n 1 "$folder/LastVersion.txt" | tr -d ' \t\r')"
    if awk -v new="$version" -v old="$published" 'BEGIN { exit !(new + 0 < old + 0) }'; then
        fail "$version reads as less than the published $published: clients of $published would not be offered it"
    fi
fi

# Everything is made under a temporary name and renamed into place, the version last: a client
# never sees a version whose installer and signature are not there yet.
staged="$folder/.setup-Kelto.exe.$$"
trap 'rm -f "$staged" "$staged.sig" "$folder/.LastVersion.txt.$$"' EXIT
cp "$installer" "$staged"
chmod 0644 "$staged"
"$sign" sign "$key" "$staged" >/dev/null
if [ -n "$public_key" ]; then
    "$sign" verify "$public_key" "$staged" >/dev/null || fail "the signature does not hold under $public_key"
fi
mv -f "$staged.sig" "$folder/setup-Kelto.exe.sig"
mv -f "$staged" "$folder/setup-Kelto.exe"
printf '%s\r\n' "$version" >"$folder/.LastVersion.txt.$$"
mv -f "$folder/.LastVersion.txt.$$" "$folder/LastVersion.txt"
echo "Release $version is ready to serve from $out"
