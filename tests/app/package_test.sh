#!/usr/bin/env bash
# Builds the Debian package from the build and checks it against what `cmake --install` puts under
# /usr: the same files and links, valid desktop metadata, dependencies that cover what the program
# loads without linking to it (Qt's Wayland plugin only recommended), a changelog that ends with this
# version, and, where lintian and hardening-check are installed, Debian's own checks.
# Usage: package_test.sh BUILD_DIR WORK_DIR VERSION
set -euo pipefail

build="$1"
work="$2"
version="$3"
rm -rf "$work"
mkdir -p "$work"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
package="$work/package/verbaro_${version}_$(dpkg --print-architecture).deb"
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

failures=0
fail() {
    echo "$1"
    failures=$((failures + 1))
}

# Everything but folders; dpkg-deb names each "./usr/..." and adds " -> TARGET" to a link.
dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/package.files"
(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) >"$work/installed.files"
grep -qx usr/lib/verbaro/verbaro "$work/installed.files" || fail "the install tree lacks the program"
diff -u --label installed "$work/installed.files" --label package "$work/package.files" ||
    fail "the package holds other files than the install tree"

field() { dpkg-deb -f "$package" "$1"; }
[ "$(field Package)" = verbaro ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
depends="$(field Depends)"
for needed in libqt6widgets6 qt6-qpa-plugins fonts-liberation2 fonts-wine fontconfig; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
[ "$(field Recommends)" = "qt6-wayland, fonts-noto-core, fonts-noto-cjk" ] || fail "Recommends: $(field Recommends)"
[ "$(field Suggests)" = fonts-noto-color-emoji ] || fail "Suggests: $(field Suggests)"

# Desktop entry and AppStream data as installed. validate-tree validates each metainfo file as
# `appstreamcli validate` does and also looks for the desktop entry that it names.
desktop_report="$(desktop-file-validate "$root/usr/share/applications/verbaro.desktop" 2>&1)" || true
[ -z "$desktop_report" ] || fail "desktop-file-validate: $desktop_report"
appstreamcli validate-tree --no-net "$root" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$work/appstream.log")"

changelog_version="$(zcat "$root/usr/share/doc/verbaro/changelog.gz" | dpkg-parsechangelog -l - -S Version)"
[ "$changelog_version" = "$version" ] || fail "the changelog's latest entry is $changelog_version, not $version"

# Debian's checks down to the informational tags, but for two that the package has by design: the
# readme and the example dictionaries lie beside the program, where its first Open dialog starts,
# and the program's own error texts keep the spelling they were given.
if command -v lintian >/dev/null; then
    if lintian --display-info --fail-on error,warning "$package" >"$work/lintian.log" 2>"$work/lintian.err"; then
        unexpected="$(grep -v -e '^I: verbaro: package-contains-documentation-outside-usr-share-doc \[usr/lib/verbaro/' \
            -e '^I: verbaro: spelling-error-in-binary occured occurred \[usr/lib/verbaro/verbaro\]$' "$work/lintian.log")" || true
        [ -z "$unexpected" ] || fail "lintian: $unexpected"
    else
        fail "lintian: $(cat "$work/lintian.log" "$work/lintian.err")"
    fi
fi

# The programs as packaged, hardened as Debian hardens its own. Control-flow protection is left out:
# the linker marks a program only when every object in it is marked, and the C library's start
# files on Debian 12 are not.
if command -v hardening-check >/dev/null; then
    dpkg-deb -x "$package" "$work/unpacked"
    hardening-check --quiet --nocfprotection "$work/unpacked/usr/lib/verbaro/"{verbaro,verbaro-check,verbaro-convert} ||
        fail "hardening-check failed on the programs"
fi

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$package"): $(wc -l <"$work/package.files") files as installed; Depends: $depends"
