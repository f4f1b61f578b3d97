#!/usr/bin/env bash
# Checks that the Debian package is reproducible: `make package` of one commit, run in two clones
# that lie in folders of different names and depths, gives the same .deb byte for byte. ccache is
# kept out, or the second build would reuse what the first compiled. Where the packages differ,
# diffoscope (where installed) shows how. Takes two whole builds.
# Usage: scripts/check-reproducible.sh [COMMIT]    (default HEAD; uncommitted changes are not in it)
set -euo pipefail
cd "$(dirname "$0")/.."

commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

packages=()
for folder in "$work/one/verbaro" "$work/the/second/clone"; do
    git clone -q --no-checkout "$PWD" "$folder"
    git -C "$folder" checkout -q --detach "$commit"
    if ! CCACHE_DISABLE=1 make -C "$folder" package >"$folder.log" 2>&1; then
        cat "$folder.log"
        exit 1
    fi
    packages+=("$(compgen -G "$folder/build/verbaro_*.deb")")
done

sha256sum "${packages[@]}" | sed "s|$work/||"
if ! cmp -s "${packages[@]}"; then
    echo "The two packages of $commit differ."
    command -v diffoscope >/dev/null && diffoscope --text - "${packages[@]}"
    exit 1
fi
echo "The package of $commit is reproducible."
