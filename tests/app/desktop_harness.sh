# shellcheck shell=bash
# What every desktop test script shares, sourced at its start: a work folder that goes at the end
# together with every process kept in `pids`, failures counted, waits that poll with a deadline,
# and the run of one case. The script defines describe_windows, which tells what was on the
# screen when a wait ran out, and case_<name> for each of its cases.

work="$(mktemp -d)"
pids=()
cleanup() {
    local index
    for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
        kill "${pids[index]}" 2>/dev/null && wait "${pids[index]}" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# poll SECONDS WHAT COMMAND...: runs the command until it succeeds; false once the time is up,
# after telling which windows were up then.
poll() {
    local deadline=$((SECONDS + $1)) what="$2"
    shift 2
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            fail "timed out waiting for $what"
            describe_windows
            return 1
        fi
        sleep 0.05
    done
}

# run_case NAME LOG...: runs case_NAME; after a failure shows those logs of the work folder that
# are not empty, and ends the script with status 1.
run_case() {
    local name="$1" log
    shift
    "case_$name"
    if [ "$failures" -ne 0 ]; then
        for log in "$@"; do
            [ -s "$work/$log" ] && { echo "--- $log"; cat "$work/$log"; }
        done
        exit 1
    fi
    echo "desktop $name: passed"
}
