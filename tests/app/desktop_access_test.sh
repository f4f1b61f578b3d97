#!/usr/bin/env bash
# The installed program as a screen reader and a dark desktop meet it, on an X server of its own
# under openbox. The cases run in desktop_test.sh's harness (its server, window manager, session bus,
# keys, polls and report): it is sourced with the case's name once the cases are defined. On the
# session bus the program and the reader find the accessibility bus.
# Usage: desktop_access_test.sh CASE PREFIX    (CASE: screen_reader, dark_palette)

here="$(dirname "$(realpath "$0")")"
helper=(/usr/bin/python3 "$here/desktop_access.py")

# tree_shows WINDOW LINES: the window's accessible tree holds every one of the lines.
tree_shows() {
    local tree line
    tree=$("${helper[@]}" tree "$1" 2>/dev/null) || return 1
    while IFS= read -r line; do
        grep -qxF -- "$line" <<<"$tree" || return 1
    done <<<"$2"
}

# expect_tree WINDOW WHEN LINES: waits until the tree shows the lines; tells what it showed if not.
expect_tree() {
    poll 10 "the accessible tree of \"$1\" $2" tree_shows "$1" "$3" && return 0
    "${helper[@]}" tree "$1"
    return 1
}

# heard COUNT LINE: the reader has been told COUNT times of the change that the line describes.
heard() { [ "$(grep -cxF -- "$2" "$work/events")" -ge "$1" ]; }
watcher_ready() { heard 1 ready; }

# Every new word is told in the description of "Your answer:", where the focus stays, the same
# word again as well.
expect_word_heard() {
    poll 10 "the word to be heard $2 time(s) $1" heard "$2" 'text "Your answer:": "Word to translate: Hund"'
}

main_at_start='frame "Verbaro Tool"
  push button "Open..."
  push button "Restart"
  label "Answer mode:"
  radio button "Normal" checked
  radio button "Reverse"
  push button "About..."
  push button "Exit"
  panel ""
    label "Correct:" label-for "Correct: 0"
    label "Correct: 0" labelled-by "Correct:"
    label "Incorrect:" label-for "Incorrect: 0"
    label "Incorrect: 0" labelled-by "Incorrect:"
    label "Answered:" label-for "Answered: 0"
    label "Answered: 0" labelled-by "Answered:"
    label "Remaining:" label-for "Remaining: 0"
    label "Remaining: 0" labelled-by "Remaining:"
    label "Word to translate:" label-for "Word to translate:"
    text "Word to translate:" = ""
    text "Expected answer:" = ""
    label "Your answer:" label-for "Your answer:"
    text "Your answer:" = ""
    push button "Reveal"
    push button "Guess"
    check box "Wrong guess reveals answer" checked'

about='dialog "About" modal
  panel ""
    label "This program is distributed as freeware."
    label "Verbaro Project, 2026"
    label "www.verbaro.example.org"
    label "Programmed by the Verbaro team"
    label "E-mail: team@verbaro.example.org"
    image ""
    label "Verbaro Tool 1.0"
    label "For instructions on how to create verbaro files, please see the file readme.txt which comes bundled with the application."
  push button "OK"'

error_dialog='dialog "Error" modal
  label "An application exception has occured. Click Continue to allow the application to ignore this error and attempt to continue."
  text "" = "Unsupported character encoding in read file.\nExpected UTF8 or ANSI file."
  push button "Continue"
  push button "Quit"'

# Through a drill of the same word three times: the window as read at the start, every new word
# heard while the focus stays in "Your answer:", the verdict in words on "Expected answer:" after a
# wrong guess, a right one and a Reveal, About, and the error dialog.
case_screen_reader() {
    printf '@title Animals\nHund = dog\nHund = dog\nHund = dog\n' >"$work/dictionaries/animals.txt"
    printf '\xff\xfeh\0u\0n\0d\0=\0d\0o\0g\0' >"$work/dictionaries/utf16.txt"
    program_env+=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
    start_desktop
    start_program
    expect_tree "Verbaro Tool" "at the start" "$main_at_start"

    : >"$work/events"
    "${helper[@]}" watch 100 >>"$work/events" 2>"$work/watch.err" &
    pids+=($!)
    poll 10 "the reader to listen" watcher_ready || exit 1
    open_with_keyboard "$work/dictionaries/animals.txt" && main_is_back || exit 1
    expect_tree "Verbaro Tool" "with a dictionary" '  panel "Animals"
    label "Remaining: 3" labelled-by "Remaining:"
    text "Word to translate:" = "Hund"' || exit 1
    expect_word_heard "after the Open" 1 || exit 1

    xdotool type --delay 2 "wrong"
    xdotool key Return
    expect_tree "Verbaro Tool" "after a wrong guess" '    label "Incorrect: 1" labelled-by "Incorrect:"
    text "Expected answer:" [Wrong] = "dog"' || exit 1
    xdotool key Return
    expect_word_heard "after Next" 2 || exit 1
    expect_tree "Verbaro Tool" "after Next" '    text "Expected answer:" = ""' || exit 1

    xdotool type --delay 2 "dog"
    xdotool key Return
    expect_tree "Verbaro Tool" "after a right guess" '    label "Correct: 1" labelled-by "Correct:"
    text "Expected answer:" [Right] = ""' || exit 1
    expect_word_heard "after a right guess" 3 || exit 1

    xdotool key alt+v
    expect_tree "Verbaro Tool" "after Reveal" '    text "Expected answer:" [Revealed] = "dog"' || exit 1

    xdotool key alt+a
    wait_window "About" || exit 1
    expect_tree "About" "" "$about"
    xdotool key Return
    main_is_back || exit 1

    open_with_keyboard "$work/dictionaries/utf16.txt" || exit 1
    wait_window "Error" || exit 1
    expect_tree "Error" "" "$error_dialog"
    xdotool key Return
    main_is_back || exit 1
    xdotool key alt+x
    expect_exit 0
    expect_nothing_written
}

# Qt's KDE theme reads the colours of a dark scheme. The answer box's text is measured against its
# background when it shows the answer on the wrong colour and on the revealed one (a right guess
# shows no text: the next word comes at once).
case_dark_palette() {
    mkdir "$work/config"
    # A dark scheme: light text on dark backgrounds.
    local group
    for group in Button:49,54,59 Selection:61,174,233 Tooltip:49,54,59 View:27,30,32 Window:49,54,59; do
        printf '[Colors:%s]\nBackgroundNormal=%s\nForegroundNormal=239,240,241\n\n' "${group%%:*}" "${group#*:}"
    done >"$work/config/kdeglobals"
    printf 'Hund = dog\nKatze = cat\n' >"$work/dictionaries/animals.txt"
    program_env+=(XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORMTHEME=kde XDG_CURRENT_DESKTOP=KDE
        KDE_FULL_SESSION=true KDE_SESSION_VERSION=5)
    start_desktop
    start_program
    local background
    background=$(import -window root -crop "1x1+$((main_x + 2))+$((main_y + 2))" +repage -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p')
    [ "$background" = 31363B ] || fail "the window does not follow the dark scheme (background #$background)"

    open_with_keyboard "$work/dictionaries/animals.txt" && main_is_back || exit 1
    local empty wrong
    empty=$(answer_pixels)
    xdotool type --delay 2 "wrong"
    xdotool key Return
    poll 10 "the answer on the wrong colour" answer_changed_from "$empty" "$empty" || exit 1
    expect_contrast "wrong"
    wrong=$(answer_pixels)
    xdotool key Return alt+v
    poll 10 "the answer on the revealed colour" answer_changed_from "$empty" "$wrong" || exit 1
    expect_contrast "revealed"
    xdotool key alt+x
    expect_exit 0
    expect_nothing_written
}

# The inside of the answer box, within its border, in raw RGB, and a checksum of it.
answer_rgb() { import -window root -crop "266x18+$((main_x + 115))+$((main_y + 147))" +repage -depth 8 rgb:-; }
answer_pixels() { answer_rgb | md5sum; }
# Neither of the two looks given.
answer_changed_from() { local now; now=$(answer_pixels) && [ "$now" != "$1" ] && [ "$now" != "$2" ]; }

# The text reads at 4.5:1 or better; the ratio goes into the log.
expect_contrast() {
    local ratio
    ratio=$(answer_rgb | "${helper[@]}" contrast 266 18)
    echo "contrast of the answer on the $1 colour: $ratio:1"
    awk -v ratio="$ratio" 'BEGIN { exit !(ratio >= 4.5) }' || fail "the answer on the $1 colour reads at $ratio:1"
}

# shellcheck source=tests/app/desktop_test.sh
source "$here/desktop_test.sh" "$@"
