#!/usr/bin/env bash
# Checks the tree against its style and its static checks, and fails on any finding:
# clang-format, that every tracked C++ source is formatted as .clang-format says; clang-tidy, the
# checks of .clang-tidy over every tracked .cpp with the compile commands of a build folder
# configured for it (generated sources are untracked, so never checked); and ShellCheck over every
# tracked shell script. Last, the toolkit's wall: its public headers, its testing library's among
# them, name no Qt type; its private headers (src/toolkit/private) are reached only through the
# target verbaro_toolkit_private; and the program's code does not include the testing library.
# Usage: tools/lint.sh [build folder for the compile commands, default build-lint]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-lint}
jobs=$(nproc)
failed=()

mapfile -t cppSources < <(git ls-files '*.cpp' '*.h')
mapfile -t tidySources < <(git ls-files '*.cpp')
mapfile -t shellScripts < <(git ls-files '*.sh' .ci/run)

echo "clang-format: ${#cppSources[@]} files"
clang-format --dry-run --Werror "${cppSources[@]}" || failed+=(clang-format)

echo "clang-tidy: ${#tidySources[@]} files, $jobs at a time"
cmake -G Ninja -Wno-dev -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# Each file's findings are printed in one piece, so that parallel runs do not interleave them;
# clang's "N warnings generated" counts the suppressed ones and only gets in the way.
export build
# shellcheck disable=SC2016 # the inner shell expands $1 and $build
printf '%s\0' "${tidySources[@]}" | xargs -0 -P "$jobs" -n 1 bash -c '
    if ! findings=$(clang-tidy -p "$build" --quiet "$1" 2>&1); then
        grep -Ev "^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$" <<<"$findings"
        exit 1
    fi' clang-tidy || failed+=(clang-tidy)

echo "shellcheck: ${#shellScripts[@]} files"
shellcheck "${shellScripts[@]}" || failed+=(shellcheck)

echo "toolkit wall"
mapfile -t publicHeaders < <(git ls-files 'src/toolkit/*.h' ':!src/toolkit/private/')
# Code lines only: a comment may speak of Qt.
if grep -nE '#include <Q|\<Q[A-Z][A-Za-z]*\>|\<Qt::' "${publicHeaders[@]}" | grep -Ev '^[^:]+:[0-9]+:\s*//'; then
    echo "a public toolkit header names Qt" >&2
    failed+=(toolkit-wall)
fi
# The private headers are on the include path of the toolkit and of what links
# verbaro_toolkit_private only, and are included by their names (widget_p.h): never by a path from
# src/, which every library has on its include path, nor by a public header.
if git grep -nE '#include "toolkit/private/' -- '*.cpp' '*.h' \
    || grep -nE '#include "[A-Za-z_]+_p\.h"' "${publicHeaders[@]}"; then
    echo "a private toolkit header is included past verbaro_toolkit_private" >&2
    failed+=(toolkit-wall)
fi
if git grep -nE '#include "toolkit/testing/' -- src ':!src/toolkit/testing/'; then
    echo "the program's code includes the toolkit's testing library" >&2
    failed+=(toolkit-wall)
fi

if [ ${#failed[@]} -ne 0 ]; then
    echo "lint: findings from ${failed[*]}" >&2
    exit 1
fi
echo "lint: clean"
