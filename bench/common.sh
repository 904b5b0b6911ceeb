# Sourced by every bench/*/run.sh: works from the project's root, builds the given targets into
# build/ (configuring it first when needed), and names the machine a table was measured on.
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bench_build() {
    [ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build --target "$@" -j 2 >/dev/null
}

# The line under a table's heading; what follows the date, if anything, is given.
bench_machine() {
    echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6), $(date -u +%Y-%m-%d)${1:-}"
}
