#!/usr/bin/env bash
# Checks the tree against its style and its static checks, and fails on any finding:
# clang-format, that every tracked C++ source is formatted as .clang-format says; clang-tidy, the
# checks of .clang-tidy over every tracked .cpp with the compile commands of a build folder
# configured for it (generated sources are untracked, so never checked), skipping what is exactly
# as it was when last found clean; and ShellCheck over every tracked shell script. Last, the
# toolkit's wall: its public headers, its testing library's among them, name no Qt type; its private
# headers (src/toolkit/private) are reached only through the target verbaro_toolkit_private, which
# only what lies under tests/ links; and the program's code does not include the testing library.
# Usage: scripts/lint.sh [build folder for the compile commands, default build-lint]
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

cmake -G Ninja -Wno-dev -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# clang-tidy reads each source as the build compiles it: alone, or in the unit that the build
# compiles it in (the toolkit and each test program are one unit: they include the same headers,
# which are then read and checked once), and a source that no target here compiles (the fuzzer's)
# alone with flags guessed from its neighbours.
declare -A uncompiled=()
for source in "${tidySources[@]}"; do
    uncompiled[$PWD/$source]=1
done
tidyUnits=()
mapfile -t compiledFiles < <(jq -r '.[].file' "$build/compile_commands.json")
for file in "${compiledFiles[@]}"; do
    if [ -n "${uncompiled[$file]:-}" ]; then
        tidyUnits+=("$file")
        unset "uncompiled[$file]"
    elif [[ $file == */Unity/unity_*.cxx ]]; then
        tidyUnits+=("$file")
        while read -r source; do
            unset "uncompiled[$source]"
        done < <(sed -n 's/^#include "\(.*\)"$/\1/p' "$file")
    fi
done
tidyUnits+=("${!uncompiled[@]}")
echo "clang-tidy: ${#tidySources[@]} files in ${#tidyUnits[@]} units, $jobs at a time"

# What clang-tidy finds in a unit depends on nothing but the unit with all it includes, its compile
# command, the checks and clang-tidy itself. A unit found clean is remembered under a hash of these,
# its preprocessed text standing for the first, and is not checked again until one of them changes.
# The remembered units are those of the last run, so that old ones do not pile up.
tidyClean="$build/tidy-clean"
tidyCleanNow="$build/tidy-clean.new"
rm -rf "$tidyCleanNow"
mkdir -p "$tidyClean" "$tidyCleanNow"
tidyTools=$( (clang-tidy --version && git ls-files -z '*.clang-tidy' | xargs -0 cat) | sha256sum)
export build tidyClean tidyCleanNow tidyTools
# A unit's findings are printed in one piece, so that parallel runs do not interleave them;
# clang's "N warnings generated" counts the suppressed ones and only gets in the way. A unity unit
# is all includes of sources, which is what bugprone-suspicious-include warns of, and the unity
# build's GCC flags are unknown to clang.
tidyUnit() {
    set -o pipefail
    local entry command arguments preprocess index key='' findings
    local options=(--quiet --extra-arg=-Wno-unknown-warning-option)
    [[ $1 != */Unity/unity_*.cxx ]] || options+=(--checks=-bugprone-suspicious-include)
    entry=$(jq -c --arg file "$1" 'first(.[] | select(.file == $file))' "$build/compile_commands.json")
    # A source that no target compiles has no command to preprocess with; it is always checked, with
    # the folder from which the tools' headers that it reaches include their shared library.
    [ -n "$entry" ] || options+=("--extra-arg=-I$PWD/tools")
    if [ -n "$entry" ]; then
        # The compile command, preprocessing to standard output with clang, as clang-tidy reads.
        command=$(jq -r .command <<<"$entry")
        eval "arguments=($command)"
        preprocess=(clang++)
        for ((index = 1; index < ${#arguments[@]}; index++)); do
            if [ "${arguments[index]}" = -o ]; then
                index=$((index + 1))
            else
                preprocess+=("${arguments[index]}")
            fi
        done
        key=$( (echo "$tidyTools" && echo "${options[*]}" && echo "$command" &&
            cd "$(jq -r .directory <<<"$entry")" && "${preprocess[@]}" -E 2>/dev/null) | sha256sum) || key=''
        key=${key%% *}
    fi
    if [ -n "$key" ] && [ -e "$tidyClean/$key" ]; then
        touch "$tidyCleanNow/$key"
        return 0
    fi
    if ! findings=$(clang-tidy -p "$build" "${options[@]}" "$1" 2>&1); then
        grep -Ev "^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$" <<<"$findings"
        return 1
    fi
    [ -z "$key" ] || touch "$tidyCleanNow/$key"
}
export -f tidyUnit
# shellcheck disable=SC2016 # the inner shell expands $1
printf '%s\0' "${tidyUnits[@]}" | xargs -0 -P "$jobs" -n 1 bash -c 'tidyUnit "$1"' clang-tidy || failed+=(clang-tidy)
rm -rf "$tidyClean"
mv "$tidyCleanNow" "$tidyClean"

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
# verbaro_toolkit_private only, and are included by their names (control_p.h): never by a path from
# src/, which every library has on its include path, nor by a public header.
if git grep -nE '#include "toolkit/private/' -- '*.cpp' '*.h' \
    || grep -nE '#include "[A-Za-z_]+_p\.h"' "${publicHeaders[@]}"; then
    echo "a private toolkit header is included past verbaro_toolkit_private" >&2
    failed+=(toolkit-wall)
fi
# The tests and the screenshot programs, all under tests/, are what links the toolkit's insides.
if git grep -n 'verbaro_toolkit_private' -- '*CMakeLists.txt' '*.cmake' ':!src/toolkit/' ':!tests/'; then
    echo "verbaro_toolkit_private is linked outside tests/" >&2
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
