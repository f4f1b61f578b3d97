#!/usr/bin/env bash
# Drives the installed program under Wayland as a learner on sway does: a headless sway of its own,
# keys typed with wtype, the windows read from sway's tree and the screen with grim. Every wait
# polls for the state it needs, with a deadline.
# Usage: desktop_wayland_test.sh CASE PREFIX    (CASE: drill, close_under_modal, popup_under_modal,
#                                                focus_while_modal_comes_up)
set -uo pipefail

case_name="$1"
installed="$(realpath "$2")"

# Sway refuses to run as root, so root runs it, and the program, as nobody. Both then reach
# only what lies in a folder of the test's own under /tmp that everyone may read: the program is
# copied there, and the folders they write to are theirs.
export TMPDIR=/tmp
# shellcheck source=tests/app/desktop_harness.sh
source "$(dirname "$0")/desktop_harness.sh"
chmod 755 "$work"
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)

users_folder() {
    mkdir -m "$2" "$1"
    [ ${#as_user[@]} -eq 0 ] || chown 65534:65534 "$1"
}
cp -R "$installed" "$work/prefix"
chmod -R a+rX "$work/prefix"
users_folder "$work/runtime" 700
users_folder "$work/home" 755
users_folder "$work/cwd" 755
mkdir "$work/dictionaries"
printf 'xwayland disable\noutput HEADLESS-1 resolution 1024x768\n' >"$work/sway.conf"

# in_session COMMAND...: runs the command as the session's user, with nothing of this
# environment but what a program in that session finds (once sway listens: its display and its
# socket).
session_env=(PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_SESSION_TYPE=wayland)
in_session() { "${as_user[@]}" env -i "${session_env[@]}" "$@"; }
# start_in_session LOG COMMAND...: the same in the background, the command's output in LOG; the
# cleanup ends it.
start_in_session() {
    local log="$1"
    shift
    "${as_user[@]}" env -i "${session_env[@]}" "$@" >"$log" 2>&1 &
    pids+=($!)
}

# --- sway and the program ---------------------------------------------------------------------

sway_listens() {
    local socket display
    socket=$(compgen -G "$work/runtime/sway-ipc.*.sock" | head -n 1)
    display=$(cd "$work/runtime" && compgen -G 'wayland-[0-9]' | head -n 1)
    [ -n "$socket" ] && [ -n "$display" ] &&
        "${as_user[@]}" env -i "${session_env[@]}" SWAYSOCK="$socket" swaymsg -t get_version >/dev/null 2>&1 &&
        session_env+=(WAYLAND_DISPLAY="$display" SWAYSOCK="$socket")
}

start_sway() {
    users_folder "$work/bus-home" 755
    start_session_bus "${as_user[@]}" env -i "${session_env[@]}"
    session_env+=(DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
    start_in_session "$work/sway.log" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$work/sway.conf"
    poll 10 "sway" sway_listens || { cat "$work/sway.log"; exit 1; }
    # A keyboard from the start: a program binds the keyboard when the seat announces one, and
    # the keys of a keyboard that comes and goes with each wtype would reach it only after that.
    start_in_session /dev/null wtype -s 600000
}

start_program() {
    (cd "$work/cwd" && exec "${as_user[@]}" env -i "${session_env[@]}" \
        "$work/prefix/bin/verbaro" >"$work/program.out" 2>"$work/program.err") &
    program_pid=$!
    pids+=("$program_pid")
    poll 15 "the main window to come up with the keyboard" main_is_focused || exit 1
}

program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }

keys() { in_session wtype "$@"; }

# --- windows ----------------------------------------------------------------------------------

tree() { in_session swaymsg -t get_tree; }
focused() { tree | jq -r '.. | objects | select(.focused? == true) | .id'; }
# Floating windows are stacked in the order sway lists them: the last one is on top.
top() { tree | jq -r '[.. | objects | select(.type? == "floating_con")] | last | .id'; }

# The program's window with this title, other than the main window.
window_titled() {
    tree | jq -r --arg title "$1" --argjson main "${main:-0}" \
        '[.. | objects | select(.app_id? == "verbaro" and .name == $title and .id != $main)] | first | .id // empty'
}

main_is_focused() {
    [ -n "${main:-}" ] || main=$(window_titled "Verbaro Tool")
    [ -n "$main" ] && [ "$(focused)" = "$main" ]
}
in_front() { window=$(window_titled "$1") && [ -n "$window" ] && [ "$(focused)" = "$window" ] && [ "$(top)" = "$window" ]; }
gone() { [ -z "$(window_titled "$1")" ]; }

describe_windows() {
    echo "windows, bottom to top, focused $(focused):"
    tree | jq -r '.. | objects | select(.type? == "floating_con") | "  \(.id) \"\(.name)\""'
}

# stays_in_front TITLE: the main window is given the focus, as sway's focus command or a click
# gives it, while the modal window of this title is up; that window comes back on top with the
# keyboard, and only then the key that closes it is pressed.
stays_in_front() {
    poll 10 "\"$1\" to come up with the keyboard" in_front "$1" || return 1
    in_session swaymsg "[con_id=$main] focus" >/dev/null
    poll 5 "\"$1\" to come back on top with the keyboard when the main window is focused" in_front "$1"
}

# --- the screen -----------------------------------------------------------------------------------

# grab X Y WIDTH HEIGHT [WINDOW]: a screen area as PNG, in the client coordinates of the window,
# the main window if none is named (sway places a window anew once it knows its size).
grab() {
    local x y
    read -r x y < <(tree | jq -r --argjson id "${5:-$main}" \
        '.. | objects | select(.id? == $id) | "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"')
    in_session grim -g "$((x + $1)),$((y + $2)) $3x$4" -
}
pixels() { grab "$@" | md5sum | cut -d' ' -f1; }
# colour X Y WIDTH HEIGHT: the mean colour of an area as "red,green,blue".
colour() { grab "$@" | convert png:- -format '%[fx:round(255*mean.r)],%[fx:round(255*mean.g)],%[fx:round(255*mean.b)]' info:; }
shows() { [ "$("${@:2}")" = "$1" ]; }
changed_from() { ! shows "$@"; }

# Opens a file with the keyboard: Alt+O, the Open dialog brought back after the main window was
# focused, the path typed, Enter.
open_file() {
    keys -M alt o -m alt
    stays_in_front "Open Dictionary..." || return 1
    keys "$1"
    keys -k Return
    poll 10 "the Open dialog to close" gone "Open Dictionary..."
}

# --- the cases ------------------------------------------------------------------------------------

# A dictionary of two entries, both answered right; the Open dialog, the message box at the end,
# About and the error dialog each come back when the main window is focused under them. Exit ends
# the program with status 0 and nothing on standard error.
case_drill() {
    printf '@title Dogs\nHund = dog\nchien = dog\n' >"$work/dictionaries/dogs.txt"
    printf '\xff\xfeh\0u\0n\0d\0=\0d\0o\0g\0' >"$work/dictionaries/utf16.txt"
    chmod -R a+rX "$work/dictionaries"
    start_sway
    start_program
    local no_question
    no_question=$(pixels 112 112 272 24)
    open_file "$work/dictionaries/dogs.txt" || exit 1
    poll 10 "the main window to take the keyboard back" main_is_focused || exit 1
    poll 5 "the first word" changed_from "$no_question" pixels 112 112 272 24 || exit 1
    keys dog
    keys -k Return
    # Left of the answer, the answer box shows the verdict's colour.
    poll 5 "the answer box to turn green" shows "0,255,0" colour 116 148 16 16

    keys dog
    keys -k Return
    stays_in_front "Verbaro Tool" && keys -k Return
    poll 5 "Enter to close the message box" gone "Verbaro Tool" && poll 5 "the main window to take the keyboard back" main_is_focused

    keys -M alt a -m alt
    stays_in_front "About" && keys -k Return
    poll 5 "Enter to close About" gone "About" && poll 5 "the main window to take the keyboard back" main_is_focused

    open_file "$work/dictionaries/utf16.txt" || exit 1
    stays_in_front "Error" && keys -k Return
    poll 5 "Enter to continue" gone "Error" && poll 5 "the main window to take the keyboard back" main_is_focused

    expect_clean_exit
}

# The compositor asks the main window to close (its close command, as a close button or a close
# key of the compositor asks) while the Open dialog, then a message box, keeps it from input: the
# request is refused and the modal window stays up until its own key closes it. The key is sent
# after the request, so once it has been handled so has the request.
case_close_under_modal() {
    : >"$work/dictionaries/empty.txt"
    chmod -R a+rX "$work/dictionaries"
    start_sway
    start_program
    keys -M alt o -m alt
    poll 10 "the Open dialog to come up with the keyboard" in_front "Open Dictionary..." || exit 1
    in_session swaymsg "[con_id=$main] kill" >/dev/null
    keys -k Escape
    poll 5 "Escape to close the Open dialog" gone "Open Dictionary..." || exit 1
    poll 5 "the main window to take the keyboard back" main_is_focused || exit 1

    keys -M alt o -m alt
    poll 10 "the Open dialog to come up with the keyboard" in_front "Open Dictionary..." || exit 1
    keys "$work/dictionaries/empty.txt"
    keys -k Return
    poll 10 "the message box to come up with the keyboard" in_front "Verbaro Tool" || exit 1
    in_session swaymsg "[con_id=$main] kill" >/dev/null
    keys -k Return
    poll 5 "Enter to close the message box" gone "Verbaro Tool" || exit 1
    poll 5 "the main window to take the keyboard back" main_is_focused || exit 1
    expect_clean_exit
}

# A popup of the Open dialog is open (the file name's completions) when the main window is
# focused: the dialog itself comes back on top with the keyboard, and the rest of the path typed
# then opens the file.
case_popup_under_modal() {
    printf 'Hund = dog\n' >"$work/dictionaries/dogs.txt"
    chmod -R a+rX "$work/dictionaries"
    start_sway
    start_program
    local no_question
    no_question=$(pixels 112 112 272 24)
    keys -M alt o -m alt
    poll 10 "the Open dialog to come up with the keyboard" in_front "Open Dictionary..." || exit 1
    # The completions cover the file types' box, at the dialog's bottom left.
    local dialog height file_types
    dialog=$(window_titled "Open Dictionary...")
    height=$(tree | jq -r --argjson id "$dialog" '.. | objects | select(.id? == $id) | .window_rect.height')
    file_types=$(pixels 90 $((height - 45)) 300 20 "$dialog")
    keys "$work/dictionaries/do"
    poll 5 "the completions of the file name" changed_from "$file_types" pixels 90 $((height - 45)) 300 20 "$dialog" ||
        exit 1
    stays_in_front "Open Dictionary..." || exit 1
    keys "gs.txt"
    keys -k Return
    poll 10 "the Open dialog to close" gone "Open Dictionary..." || exit 1
    poll 5 "the word of the dictionary" changed_from "$no_question" pixels 112 112 272 24 || exit 1
    expect_clean_exit
}

# The main window is focused again and again while the Open dialog comes up, so that the
# keyboard may go to the dialog and straight back before the program has heard of the first: the
# dialog still comes back on top with the keyboard.
focus_main_until_up() {
    in_session swaymsg "[con_id=$main] focus" >/dev/null
    [ -n "$(window_titled "$1")" ]
}
case_focus_while_modal_comes_up() {
    start_sway
    start_program
    keys -M alt o -m alt
    poll 10 "the Open dialog to come up" focus_main_until_up "Open Dictionary..." || exit 1
    in_session swaymsg "[con_id=$main] focus" >/dev/null
    poll 5 "the Open dialog to come back on top with the keyboard" in_front "Open Dictionary..." || exit 1
    keys -k Escape
    poll 5 "Escape to close the Open dialog" gone "Open Dictionary..." || exit 1
    poll 5 "the main window to take the keyboard back" main_is_focused || exit 1
    expect_clean_exit
}

# Exit ends the program with status 0 and nothing on standard error.
expect_clean_exit() {
    keys -M alt x -m alt
    poll 10 "the program to end" program_ended || exit 1
    local status=0
    wait "$program_pid" || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status, expected 0"
    [ -s "$work/program.err" ] && fail "output on standard error"
}

run_case "$case_name" program.out program.err sway.log
