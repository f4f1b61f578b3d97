#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks that everything landed where the desktop and the
# program itself look for it, and starts the installed program headless through its command.
# Usage: install_test.sh BUILD_DIR PREFIX
set -euo pipefail

build="$1"
prefix="$2"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
expect_file() {
    if [ ! -f "$prefix/$1" ]; then
        echo "missing: $1"
        failures=$((failures + 1))
    fi
}

expect_file lib/verbaro/verbaro
expect_file lib/verbaro/readme.txt
expect_file lib/verbaro/examples/swedish-english.txt
expect_file lib/verbaro/examples/swedish-english-animals.txt
expect_file lib/verbaro/examples/german-english.txt
expect_file lib/verbaro/verbaro-convert
expect_file share/applications/verbaro.desktop
expect_file share/icons/hicolor/scalable/apps/verbaro.svg
expect_file share/metainfo/org.example.verbaro.metainfo.xml
expect_file share/man/man1/verbaro.1.gz
expect_file share/man/man1/verbaro-check.1.gz
expect_file share/man/man1/verbaro-convert.1.gz
expect_file share/doc/verbaro/changelog.gz
expect_file share/doc/verbaro/copyright
for size in 16 24 32 48 64 96 128 256; do
    expect_file "share/icons/hicolor/${size}x${size}/apps/verbaro.png"
    if [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/verbaro.png" ] &&
        ! file "$prefix/share/icons/hicolor/${size}x${size}/apps/verbaro.png" | grep -q "$size x $size"; then
        echo "wrong size: ${size}x${size}/apps/verbaro.png"
        failures=$((failures + 1))
    fi
done
[ -x "$prefix/bin/verbaro" ] || { echo "not a command: bin/verbaro"; failures=$((failures + 1)); }
[ -x "$prefix/lib/verbaro/verbaro" ] || { echo "not executable: lib/verbaro/verbaro"; failures=$((failures + 1)); }
for tool in verbaro-check verbaro-convert; do
    [ -x "$prefix/bin/$tool" ] || { echo "not a command: bin/$tool"; failures=$((failures + 1)); }
done
grep -qx 'Exec=verbaro' "$prefix/share/applications/verbaro.desktop" || { echo "desktop entry: Exec"; failures=$((failures + 1)); }
grep -qx 'Icon=verbaro' "$prefix/share/applications/verbaro.desktop" || { echo "desktop entry: Icon"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] || exit 1

# The program runs until the learner ends it; here it is started from another folder, given a
# moment to show its window, and must still be running then. Nothing in the program ends it by
# itself, so the test ends it with SIGTERM, the ordinary request to stop.
workdir="$(mktemp -d)"
trap 'rm -rf "$workdir"' EXIT
cd "$workdir"
# Qt wants a private runtime folder and says so on standard error when it has none.
export XDG_RUNTIME_DIR="$workdir/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$prefix/bin/verbaro" >program.out 2>program.err &
program=$!
sleep 2
if ! kill -0 "$program" 2>/dev/null; then
    status=0
    wait "$program" || status=$?
    echo "the installed program ended by itself (status $status) instead of showing its window"
    cat program.out program.err
    exit 1
fi
kill -TERM "$program"
status=0
wait "$program" || status=$?
if [ "$status" -ne 143 ]; then
    echo "the installed program ended with status $status on SIGTERM"
    cat program.out program.err
    exit 1
fi
if [ -s program.err ] || [ -s program.out ]; then
    echo "the installed program wrote output:"
    cat program.out program.err
    exit 1
fi
echo "installed into $prefix; the installed program started and kept running"
