#!/usr/bin/python3
"""What a screen reader and a reader's eyes get from the program, for desktop_access_test.sh.

tree WINDOW        the window of the program "verbaro" with this caption, as AT-SPI tells it:
                   one line per object, indented by depth: role "name", then [description],
                   = "text" for text boxes (line breaks as \\n), the states modal and checked, and the relations
                   labelled-by and label-for with the other's name.
watch SECONDS      prints "ready", then each description change of the program's objects:
                   role "name": "description"; ends after SECONDS.
contrast W H       reads W x H raw RGB pixels from standard input and prints the contrast ratio
                   between the most common colour (the background) and the colour that stands
                   out from it most (the text), as 1.23.
"""

import sys
from collections import Counter

PROGRAM = "verbaro"


def describe(accessible, depth, lines):
    import pyatspi

    line = f'{"  " * depth}{accessible.getRoleName()} "{accessible.name}"'
    if accessible.description:
        line += f" [{accessible.description}]"
    if accessible.getRoleName() == "text":
        text = accessible.queryText()
        shown = text.getText(0, text.characterCount).replace("\n", "\\n")
        line += f' = "{shown}"'
    states = accessible.getState()
    for state, word in ((pyatspi.STATE_MODAL, "modal"), (pyatspi.STATE_CHECKED, "checked")):
        if states.contains(state):
            line += f" {word}"
    for relation in accessible.getRelationSet():
        kind = {pyatspi.RELATION_LABELLED_BY: "labelled-by", pyatspi.RELATION_LABEL_FOR: "label-for"}
        if relation.getRelationType() in kind:
            for index in range(relation.getNTargets()):
                line += f' {kind[relation.getRelationType()]} "{relation.getTarget(index).name}"'
    lines.append(line)
    for child in accessible:
        if child is not None:
            describe(child, depth + 1, lines)


def tree(caption):
    import pyatspi

    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != PROGRAM:
            continue
        for window in application:
            if window is not None and window.name == caption:
                lines = []
                describe(window, 0, lines)
                print("\n".join(lines))
                return 0
    return 1


def watch(seconds):
    import pyatspi
    from gi.repository import GLib

    def changed(event):
        source = event.source
        if source.getApplication().name == PROGRAM:
            print(f'{source.getRoleName()} "{source.name}": "{source.description}"', flush=True)

    pyatspi.Registry.registerEventListener(changed, "object:property-change:accessible-description")
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    print("ready", flush=True)
    pyatspi.Registry.start()
    return 0


def luminance(colour):
    def linear(channel):
        channel /= 255
        return channel / 12.92 if channel <= 0.03928 else ((channel + 0.055) / 1.055) ** 2.4

    red, green, blue = (linear(channel) for channel in colour)
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue


def contrast(width, height):
    data = sys.stdin.buffer.read()
    pixels = [tuple(data[index : index + 3]) for index in range(0, width * height * 3, 3)]
    background = luminance(Counter(pixels).most_common(1)[0][0])
    text = max((luminance(pixel) for pixel in pixels), key=lambda value: abs(value - background))
    print(f"{(max(background, text) + 0.05) / (min(background, text) + 0.05):.2f}")
    return 0


if __name__ == "__main__":
    command, *arguments = sys.argv[1:]
    if command == "tree":
        sys.exit(tree(arguments[0]))
    if command == "watch":
        sys.exit(watch(float(arguments[0])))
    if command == "contrast":
        sys.exit(contrast(int(arguments[0]), int(arguments[1])))
    sys.exit(f"unknown command {command}")
