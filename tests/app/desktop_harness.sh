# shellcheck shell=bash
# What every desktop test script shares, sourced at its start: a work folder that goes at the end
# together with every process kept in `pids`, failures counted, waits that poll with a deadline,
# the desktop's session bus, and the run of one case. The script defines describe_windows, which
# tells what was on the screen when a wait ran out, and case_<name> for each of its cases.

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

# start_session_bus [COMMAND...]: the session bus that a desktop starts at login and its programs
# find in DBUS_SESSION_BUS_ADDRESS, which is exported with its address. Without one libdbus would
# start a bus for the program by itself, record it in the program's home and leave it running.
# The bus runs through COMMAND (as another user, in another environment), which must exec it and
# not be a shell function, so that the process the cleanup ends is the bus itself. The services
# that the bus starts get a home of their own: what they write is not taken for the program's.
start_session_bus() {
    mkdir -p "$work/bus-home"
    "$@" env HOME="$work/bus-home" dbus-daemon --session --nofork --print-address=3 \
        3>"$work/bus-address" >"$work/bus.log" 2>&1 &
    pids+=($!)
    poll 10 "the session bus" test -s "$work/bus-address" || { cat "$work/bus.log"; exit 1; }
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus-address")
    export DBUS_SESSION_BUS_ADDRESS
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
