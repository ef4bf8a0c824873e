#!/usr/bin/env python3
"""Writes the tip of the day file: one tip a line, UTF-8, CR LF line ends."""
import sys

TIPS = [
    "Press F1 in the main window to open the help page; it reflows to any window size.",
    "Double-click a heading to sort by it. Hold Shift and double-click another heading to add it to the sort.",
    "Click in the gap between an item's icon and its name to select it; an arrow marks every selected item.",
    "Up to five panes can be open at once: switch them on and off from the toolbar or the Panes menu.",
    "Drag the bands between the lists to give a pane or a list more room.",
    "Esc stops a folder that is still being read, and a folder-size calculation too.",
    "F3 computes the size of the folder under the mouse pointer.",
    "Type a filter such as *.txt or report?? in a listing's filter box: * stands for any characters, ? for one and # for one digit.",
    "The command line runs a command in the current folder; hold Shift while pressing Enter to keep its window open.",
    "Right-click an item and choose \u201cduplicate\u201d to copy it under its name plus today's date and time.",
    "Colour-code files from the right-click menu so that they stand out in every listing.",
    "Unless the options say to minimise to the task bar, a minimised Varnello waits as an icon in the notification area: click the icon to bring it back.",
    "Press R while the start-up picture plays to be offered Varnello's default settings again.",
    "Switch on change notifications in the options to see when files appear in or vanish from the active folder.",
]


def main(out: str) -> None:
    data = "".join(tip + "\r\n" for tip in TIPS).encode("utf-8")
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "assets/TIPOFDAY.TXT")
