#!/usr/bin/env bash
# Drives the installed program as a learner does: on an X server of its own (Xvfb) under a real
# window manager (openbox), with keys and clicks sent by xdotool and the screen read back with
# ImageMagick. Every wait polls for the state it needs, with a deadline.
# Usage: desktop_test.sh CASE PREFIX    (CASE: drill, windows, error_dialog, close_under_modal, high_dpi,
#        no_display, scripts)
set -uo pipefail

case_name="$1"
prefix="$(realpath "$2")"
program="$prefix/bin/verbaro"

# shellcheck source=tests/app/desktop_harness.sh
source "$(dirname "$0")/desktop_harness.sh"

# The program is started as a user starts it: no platform chosen for Qt, a home of its own,
# empty, with every XDG folder inside it, and a working folder of its own.
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
home="$work/home"
cwd="$work/cwd"
mkdir "$home" "$cwd" "$work/dictionaries"
mkdir -m 700 "$work/runtime"
program_env=(HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
    XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$work/runtime")

# How much Qt scales the program's windows.
scale=1

# --- the X server, the window manager and the program ---------------------------------------

wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
server_settled() { xprop -root >/dev/null 2>&1 || ! kill -0 "$xvfb_pid" 2>/dev/null; }

# The server picks a free display itself and tells it once it listens. A server that loses the
# display it picked to another one starting at the same moment ends at once; then another is
# started. Without -noreset the server resets whenever its last client leaves, and a client
# connecting during the reset (the window manager, right after the first probe) is refused.
start_x_server() {
    local attempt
    for attempt in 1 2 3; do
        rm -f "$work/display"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        pids+=("$xvfb_pid")
        poll 10 "Xvfb" test -s "$work/display" || break
        DISPLAY=":$(head -n 1 "$work/display")"
        export DISPLAY
        poll 10 "Xvfb to answer" server_settled || break
        kill -0 "$xvfb_pid" 2>/dev/null && return 0
        echo "Xvfb ended on $DISPLAY at attempt $attempt:"
        cat "$work/xvfb.log"
    done
    cat "$work/xvfb.log"
    exit 1
}

start_desktop() {
    start_x_server
    start_session_bus env XDG_RUNTIME_DIR="$work/runtime"
    mkdir "$work/wm-home"
    HOME="$work/wm-home" openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    poll 10 "openbox" wm_ready || { echo "display $DISPLAY"; cat "$work/openbox.log" "$work/xvfb.log"; exit 1; }
}

start_program() {
    (cd "$cwd" && exec env "${program_env[@]}" "$program" >"$work/program.out" 2>"$work/program.err") &
    program_pid=$!
    pids+=("$program_pid")
    main=$(timeout 15 xdotool search --sync --onlyvisible --name '^Verbaro Tool$' | head -n 1)
    [ -n "$main" ] || { fail "the main window did not appear"; exit 1; }
    poll 10 "the main window to take the keyboard" is_active "$main" || exit 1
    read -r main_x main_y < <(client_origin "$main")
    poll 10 "the main window to be drawn" changed_from "" ink 8 14 $((80 * scale)) $((24 * scale)) || exit 1
}

program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }

# Waits for the program to end and checks how.
expect_exit() {
    local expected="$1" status=0
    poll 10 "the program to end" program_ended || return
    wait "$program_pid" || status=$?
    [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected"
}

# The program writes no files: its home and its working folder are as empty as they were.
expect_nothing_written() {
    local written
    written=$(find "$home" "$cwd" -mindepth 1)
    [ -z "$written" ] || fail "the program wrote files: $written"
}

# --- windows ----------------------------------------------------------------------------------

active_window() { xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }'; }
top_window() { xprop -root _NET_CLIENT_LIST_STACKING | awk '{ print $NF }'; }
same_window() { [ -n "$1" ] && [ -n "$2" ] && [ $(($1)) -eq $(($2)) ]; }
is_active() { same_window "$(active_window)" "$1" && same_window "$(xdotool getwindowfocus)" "$1"; }
# Active, holding the keyboard and above every other window.
is_in_front() { is_active "$1" && same_window "$(top_window)" "$1"; }
is_visible() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
is_gone() { ! is_visible "$1"; }

# A visible window with this exact caption, other than the main window.
find_window() {
    local window
    for window in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        same_window "$window" "$main" || { echo "$window"; return 0; }
    done
    return 1
}
found_active() { window=$(find_window "$1") && is_active "$window"; }
# wait_window CAPTION: waits until such a window is up and active; sets $window.
wait_window() {
    poll 10 "the window \"$1\" to come up with the keyboard" found_active "$1"
}

# What is on the screen, for the log of a failed wait.
describe_windows() {
    [ -n "${main:-}" ] || return 0
    local listed
    echo "windows, bottom to top, active $(active_window), keyboard $(xdotool getwindowfocus):"
    for listed in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g'); do
        echo "  $listed \"$(xdotool getwindowname "$listed")\""
    done
}

client_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }'
}

# The outer bounds of a window as the window manager framed it: x y width height.
frame_of() {
    local x y width height left right top bottom
    read -r x y width height < <(xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')
    IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
    echo $((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))
}

# The sizes of the images in a window's icon, one "WIDTHxHEIGHT" a line.
icon_sizes() {
    xprop -len 100000000 -notype 32c -id "$1" _NET_WM_ICON | sed 's/^[^=]*= //' | tr -d ' \n' | tr ',' '\n' |
        awk 'skip > 0 { skip--; next } width == "" { width = $1; next } { print width "x" $1; skip = width * $1; width = "" }'
}

allowed_actions() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS; }

# The functions a window asks the window manager for (Motif hints), as bits: 2 resize, 4 move,
# 8 minimize, 16 maximize, 32 close. A window that names none asks for all.
asked_functions() {
    local flags functions
    IFS=', ' read -r flags functions _ < <(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/.*= //p')
    if ((${flags:-0} & 1)) && ! ((functions & 1)); then
        echo $((functions))
    else
        echo 62
    fi
}

desktops_are() { xprop -root _NET_NUMBER_OF_DESKTOPS | grep -q "= $1\$"; }

# Everything the window manager was asked before this call has been handled once it returns:
# the number of desktops is switched and read back.
wm_barrier() {
    local desktops
    desktops=$(xprop -root _NET_NUMBER_OF_DESKTOPS | awk '{ print $NF }')
    desktops=$((desktops == 2 ? 3 : 2))
    xdotool set_num_desktops "$desktops"
    poll 5 "the window manager" desktops_are "$desktops"
}

# A click in the main window's client area at (x, y); the main window's handling of it is over
# when this returns.
click_main() {
    xdotool mousemove --sync $((main_x + $1)) $((main_y + $2)) click 1
    wm_barrier
}

# --- the screen ----------------------------------------------------------------------------------

# pixels X Y WIDTH HEIGHT: a checksum of a screen area, in the main window's client coordinates.
pixels() {
    import -window root -crop "$3x$4+$((main_x + $1))+$((main_y + $2))" +repage rgb:- | md5sum | cut -d' ' -f1
}

# ink X Y WIDTH HEIGHT [DARKNESS]: the dark pixels of an area of the main window, those with a
# grey below DARKNESS (128 unless given, of 255), one line of "#" and "." per row, cut to the
# smallest box that holds them all.
ink() {
    import -window root -crop "$3x$4+$((main_x + $1))+$((main_y + $2))" +repage -colorspace gray -depth 8 txt:- |
        awk -F'[,:( ]+' -v darkness="${5:-128}" '
            NR == 1 { next }
            $3 < darkness {
                dark[$1, $2] = 1
                if (n++ == 0 || $1 < left) left = $1
                if ($1 > right) right = $1
                if (n == 1 || $2 < top) top = $2
                if ($2 > bottom) bottom = $2
            }
            END {
                for (y = top; n && y <= bottom; y++) {
                    row = ""
                    for (x = left; x <= right; x++) row = row (((x, y) in dark) ? "#" : ".")
                    print row
                }
            }'
}

# The group's caption, where the dictionary's title has room, and the counters Answered and
# Remaining, from just right of their names to the group's right edge.
caption_ink() { ink 100 0 110 24; }
answered_ink() { ink 325 39 70 16; }
remaining_ink() { ink 325 63 70 16; }

# shows EXPECTED COMMAND...: the command prints what is expected; changed_from: it no longer does.
shows() { [ "$("${@:2}")" = "$1" ]; }
changed_from() { ! shows "$@"; }

# The insides of the drill's boxes, within their frames, with the grey lines of a glyph that stands
# for a missing character; and the colour of the verdict behind the expected answer.
question_ink() { ink 115 115 266 18 170; }
answer_ink() { ink 115 147 266 18 170; }
verdict_color() { import -window root -crop "1x1+$((main_x + 116))+$((main_y + 148))" +repage -depth 8 -format '%[hex:p{0,0}]' info:; }

# has_glyph GLYPH INK: whether the ink holds the glyph's ink anywhere, dark and light pixels alike.
has_glyph() {
    awk -v glyph="$1" '
        BEGIN { height = split(glyph, rows, "\n"); width = length(rows[1]) }
        { line[NR] = $0 }
        END {
            for (top = 1; top + height - 1 <= NR; top++) {
                for (left = 1; left + width - 1 <= length(line[top]); left++) {
                    for (row = 1; row <= height && substr(line[top + row - 1], left, width) == rows[row]; row++) {}
                    if (row > height) exit 0
                }
            }
            exit 1
        }' <<<"$2"
}

# How many different texts the arguments are.
count_different() { printf '%s\0' "$@" | sort -zu | tr -cd '\0' | wc -c; }

# Opens a dictionary as a learner does without a mouse: Alt+O, the path typed, Enter.
open_with_keyboard() {
    xdotool key alt+o
    wait_window "Open Dictionary..." || return 1
    local dialog="$window"
    xdotool type --delay 2 "$1"
    xdotool key Return
    poll 10 "the Open dialog to close" is_gone "$dialog"
}

main_is_back() { poll 10 "the main window to take the keyboard back" is_active "$main"; }

# --- the cases -------------------------------------------------------------------------------------

# From Open to the accuracy box with the keyboard alone. Every entry has the answer "dog"; the first
# is answered wrong, which shows the answer, Enter goes on, and the other two are answered right.
# At the end Answered reads what Remaining read at the start, 3, and Remaining what it read
# before the Open, 0.
case_drill() {
    printf '@title Dogs\nHund = dog\nchien = dog\nperro = dog\n' >"$work/dictionaries/dogs.txt"
    start_desktop
    start_program
    local zero three
    zero=$(remaining_ink)
    open_with_keyboard "$work/dictionaries/dogs.txt" && main_is_back || exit 1
    poll 10 "Remaining to count the entries" changed_from "$zero" remaining_ink || exit 1
    three=$(remaining_ink)
    xdotool type --delay 2 "cat"
    xdotool key Return Return
    xdotool type --delay 2 "dog"
    xdotool key Return
    xdotool type --delay 2 "dog"
    xdotool key Return
    wait_window "Verbaro Tool" || exit 1
    local box="$window"
    xdotool key Return
    poll 10 "the accuracy box to close on Enter" is_gone "$box" || exit 1
    main_is_back || exit 1
    poll 5 "Answered to read 3" shows "$three" answered_ink
    poll 5 "Remaining to read 0" shows "$zero" remaining_ink
    xdotool key alt+x
    expect_exit 0
    expect_nothing_written
}

# The look of a focused button. A click puts the focus into "Your answer:", where the typed text
# shows that the click has been handled; Tab, Tab then bring it round to Open past the check box,
# and Tab once more takes it on to About.
check_focus_look() {
    local answer_before open_unfocused
    answer_before=$(pixels 112 200 272 24)
    xdotool mousemove --sync $((main_x + 200)) $((main_y + 212)) click 1
    xdotool type "x"
    poll 5 "the click and the typing in \"Your answer:\"" changed_from "$answer_before" pixels 112 200 272 24 || return
    open_unfocused=$(pixels 8 14 80 24)
    xdotool key Tab Tab
    poll 5 "the focused Open button to look different from the unfocused one" \
        changed_from "$open_unfocused" pixels 8 14 80 24 || return
    xdotool key Tab
    poll 5 "the Open button to look unfocused again" shows "$open_unfocused" pixels 8 14 80 24
}

# Minimize and close, no maximize, and no resizing, also when asked for a new size.
check_main_decorations() {
    local actions
    actions=$(allowed_actions "$main")
    for action in MINIMIZE CLOSE; do
        grep -q "_NET_WM_ACTION_$action\b" <<<"$actions" || fail "main window: no $action in $actions"
    done
    for action in MAXIMIZE_HORZ MAXIMIZE_VERT RESIZE; do
        grep -q "_NET_WM_ACTION_$action\b" <<<"$actions" && fail "main window: $action in $actions"
    done
    local size_before
    size_before=$(xdotool getwindowgeometry "$main" | grep Geometry)
    xdotool windowsize "$main" 600 500
    wm_barrier
    [ "$(xdotool getwindowgeometry "$main" | grep Geometry)" = "$size_before" ] || fail "the main window was resized"
}

# A dictionary of 12,345 entries titled "12345": Remaining shows the same number, digit for digit,
# as the caption.
check_counters() {
    awk 'BEGIN { print "@title 12345"; for (i = 1; i <= 12345; i++) print "word" i " = translation" i }' \
        >"$work/dictionaries/big.txt"
    open_with_keyboard "$work/dictionaries/big.txt" && main_is_back || return
    poll 10 "the dictionary's title in the group caption" changed_from "" caption_ink || return
    if ! poll 5 "Remaining to read 12345" shows "$(caption_ink)" remaining_ink; then
        echo "caption:"
        caption_ink
        echo "Remaining:"
        remaining_ink
    fi
}

# About comes up centred on the main window, frame on frame. It stays in front of the main window
# and keeps the keyboard when the main window is clicked; Enter closes it. It offers only to be
# closed. Openbox lets every window but menus and tool bars be minimized, whatever the window asks;
# so for minimizing, what About asks is checked.
check_about() {
    xdotool key alt+a
    wait_window "About" || return
    local about="$window" actions functions
    local owner_x owner_y owner_width owner_height x y width height
    read -r owner_x owner_y owner_width owner_height < <(frame_of "$main")
    read -r x y width height < <(frame_of "$about")
    ((x == owner_x + (owner_width - width) / 2 && y == owner_y + (owner_height - height) / 2)) ||
        fail "About's frame $width x $height at $x,$y is not centred on the main window's $owner_width x $owner_height at $owner_x,$owner_y"
    actions=$(allowed_actions "$about")
    grep -q "_NET_WM_ACTION_CLOSE\b" <<<"$actions" || fail "About: no CLOSE in $actions"
    for action in MAXIMIZE_HORZ MAXIMIZE_VERT RESIZE; do
        grep -q "_NET_WM_ACTION_$action\b" <<<"$actions" && fail "About: $action in $actions"
    done
    functions=$(asked_functions "$about")
    ((functions & 32)) || fail "About does not ask to be closable (functions $functions)"
    ((functions & (8 | 16))) && fail "About asks to be minimized or maximized (functions $functions)"
    click_main 20 200
    poll 5 "About to stay in front with the keyboard after a click on the main window" is_in_front "$about"
    xdotool key Return
    poll 5 "Enter to close About" is_gone "$about" || return
    main_is_back
}

case_windows() {
    start_desktop
    start_program
    check_focus_look
    check_main_decorations
    check_counters
    check_about
    xdotool key alt+x
    expect_exit 0
    expect_nothing_written
}

# A dictionary saved in UTF-16 raises an error that only the error dialog reports. The dialog
# keeps the keyboard when the main window is clicked; Enter continues, Alt+Q quits with status 1
# and the error on standard output.
case_error_dialog() {
    printf '\xff\xfeh\0u\0n\0d\0=\0d\0o\0g\0' >"$work/dictionaries/utf16.txt"
    start_desktop
    start_program
    open_with_keyboard "$work/dictionaries/utf16.txt" || exit 1
    wait_window "Error" || exit 1
    local dialog="$window"
    click_main 20 200
    poll 5 "the error dialog to stay in front with the keyboard after a click on the main window" \
        is_in_front "$dialog"
    xdotool key Return
    poll 5 "Enter to continue" is_gone "$dialog" || exit 1
    main_is_back || exit 1
    kill -0 "$program_pid" 2>/dev/null || { fail "the program ended on Continue"; exit 1; }

    open_with_keyboard "$work/dictionaries/utf16.txt" || exit 1
    wait_window "Error" || exit 1
    xdotool key alt+q
    expect_exit 1
    printf 'Error: Unsupported character encoding in read file.\nExpected UTF8 or ANSI file.\n' |
        cmp -s - "$work/program.out" || fail "standard output is not the error's line"
    expect_nothing_written
}

# The window manager is asked to close the main window (as its close button or a close key
# asks) while the Open dialog keeps it from input: the request is refused, the dialog stays up
# until Escape closes it. The window manager has passed the request on before it answers the
# barrier that follows.
case_close_under_modal() {
    start_desktop
    start_program
    xdotool key alt+o
    wait_window "Open Dictionary..." || exit 1
    local dialog="$window"
    wmctrl -i -c "$main"
    wm_barrier
    is_visible "$main" || fail "the main window closed under the Open dialog"
    xdotool key Escape
    poll 5 "Escape to close the Open dialog" is_gone "$dialog" || exit 1
    main_is_back || exit 1
    xdotool key alt+x
    expect_exit 0
}

# At twice the scale the main window is exactly twice its size, and the window icon and About's
# picture come from the images drawn for that size: the window manager is offered a 64-pixel
# icon, and About shows the 64-pixel image pixel for pixel, not the 32-pixel one stretched.
case_high_dpi() {
    scale=2
    program_env+=("QT_SCALE_FACTOR=$scale")
    start_desktop
    start_program
    local size
    size=$(xwininfo -id "$main" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h }')
    [ "$size" = "822x630" ] || fail "the main window is $size, not 822x630"
    icon_sizes "$main" | grep -qx 64x64 || fail "no 64-pixel image in the window icon: $(icon_sizes "$main" | xargs)"
    xdotool key alt+a
    wait_window "About" || exit 1
    # The picture stands at 24,16 in About's client area, 32 pixels square before scaling.
    local x y face differences
    read -r x y < <(client_origin "$window")
    face=$(import -window root -crop "1x1+$((x + 4))+$((y + 4))" +repage -format '%[pixel:p{0,0}]' info:)
    convert -size 64x64 "xc:$face" "$prefix/share/icons/hicolor/64x64/apps/verbaro.png" -composite "$work/expected.png"
    import -window root -crop "64x64+$((x + 48))+$((y + 32))" +repage "$work/shown.png"
    differences=$(compare -metric AE -fuzz 2% "$work/shown.png" "$work/expected.png" null: 2>&1)
    [ "$differences" = 0 ] || fail "About's picture differs from the 64-pixel image in $differences pixels"
    xdotool key Return
    poll 5 "Enter to close About" is_gone "$window"
    xdotool key alt+x
    expect_exit 0
}

# Without an X server to reach the program says so in one line that names the display, and ends
# with status 1 without a core dump.
case_no_display() {
    local number=200
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
    local status=0
    (cd "$cwd" && exec env "${program_env[@]}" DISPLAY=":$number" timeout 20 "$program" \
        >"$work/program.out" 2>"$work/program.err") || status=$?
    [ "$status" -eq 1 ] || fail "exit status $status, expected 1"
    [ "$(wc -l <"$work/program.err")" -eq 1 ] || fail "not one line on standard error"
    grep -q ":$number\b" "$work/program.err" || fail "standard error does not name the display :$number"
    [ -s "$work/program.out" ] && fail "output on standard output"
    expect_nothing_written
}

# Gives "ó" a key of its own (one that the map leaves unbound). Without it xdotool binds the
# character to a spare key only for the moment of its press, and the program, which reads the
# changed map a moment later, often finds it given back and misses the character.
add_key_for_o_acute() {
    xkbcomp -xkb "$DISPLAY" "$work/keymap.xkb" 2>/dev/null &&
        awk '/^xkb_symbols/ { inside = 1 } inside && /^};/ { print "    key <I248> { [ oacute ] };"; inside = 0 } 1' \
            "$work/keymap.xkb" >"$work/keymap-o-acute.xkb" &&
        xkbcomp -w 0 "$work/keymap-o-acute.xkb" "$DISPLAY" 2>/dev/null
}

# A word of each script that learners study most, in one dictionary, every one drawn in the question
# box and in the answer box, with none of its characters drawn as the box that stands for a
# character no installed font has. That box is first drawn on purpose: a dictionary asks a
# private-use character, which no font draws. Every word is answered with the Vietnamese "chó",
# which the file holds decomposed (o and a combining acute) and the keyboard types composed.
case_scripts() {
    local words=(犬 いぬ 狗 개 कुत्ता สุนัข 🐶 собака σκύλος כלב كلب "con chó")
    local word
    for word in "${words[@]}"; do
        printf '%s = cho\xcc\x81\n' "$word"
    done >"$work/dictionaries/dogs.txt"
    printf '\xf4\x8f\xbf\xbd = x\n' >"$work/dictionaries/missing.txt"
    start_desktop
    add_key_for_o_acute || { fail "no key could be given to \"ó\""; exit 1; }
    start_program
    open_with_keyboard "$work/dictionaries/missing.txt" && main_is_back || exit 1
    poll 5 "the missing character" changed_from "" question_ink || exit 1
    local missing one
    missing=$(question_ink)
    one=$(remaining_ink)
    open_with_keyboard "$work/dictionaries/dogs.txt" && main_is_back || exit 1
    # The first word is drawn together with the count of the entries.
    poll 5 "Remaining to count the words" changed_from "$one" remaining_ink || exit 1

    # Normal: each word asked, "chó" typed.
    local question seen=() count
    for ((count = 1; count <= ${#words[@]}; count++)); do
        question=$(question_ink)
        has_glyph "$missing" "$question" && fail "question $count has a character that no font draws:"$'\n'"$question"
        seen+=("$question")
        xdotool type --delay 2 "chó"
        xdotool key Return
        # After the last one the accuracy box covers the answer box until it is closed.
        ((count < ${#words[@]})) || break
        poll 5 "the next word after right guess $count" changed_from "$question" question_ink || exit 1
        poll 5 "the green of right guess $count" shows 00FF00 verdict_color || exit 1
    done
    wait_window "Verbaro Tool" || exit 1
    xdotool key Return
    main_is_back || exit 1
    poll 5 "the green of the last right guess" shows 00FF00 verdict_color || exit 1
    [ "$(count_different "${seen[@]}")" -eq ${#words[@]} ] ||
        fail "the questions were not ${#words[@]} different words"

    # Reverse: "chó" asked, each word revealed as the answer.
    click_main 30 144
    xdotool key alt+r
    local answer
    seen=()
    for ((count = 1; count <= ${#words[@]}; count++)); do
        poll 5 "reverse question $count" changed_from "" question_ink || exit 1
        has_glyph "$missing" "$(question_ink)" && fail "the decomposed \"chó\" has a character that no font draws"
        xdotool key alt+v
        poll 5 "answer $count" changed_from "" answer_ink || exit 1
        answer=$(answer_ink)
        has_glyph "$missing" "$answer" && fail "answer $count has a character that no font draws:"$'\n'"$answer"
        seen+=("$answer")
        xdotool key Return
        if ((count < ${#words[@]})); then
            poll 5 "the answer box to be emptied by Next" shows "" answer_ink || exit 1
        fi
    done
    wait_window "Verbaro Tool" || exit 1
    xdotool key Return
    main_is_back || exit 1
    [ "$(count_different "${seen[@]}")" -eq ${#words[@]} ] ||
        fail "the answers were not ${#words[@]} different words"
    xdotool key alt+x
    expect_exit 0
    expect_nothing_written
}

run_case "$case_name" program.out program.err
