#!/usr/bin/env python3
"""Writes the program's toolbar and menu pictures into src/varnello/pictures/, with the resource
script that compiles them into Varnello.exe (pictures.rc, one BITMAP per image-list key), and
the main window's copy cursor (the arrow with a plus, as the library's cursors are drawn).

The pictures are 16 x 16 and drawn from a few shapes (boxes, lines, discs, a 3 x 5 pixel font)
so a change is a readable diff and the output is byte-for-byte the same on every run. They share
the library's file format and key colour: 24-bit, pure green RGB(0,255,0) where see-through.

Usage: make-program-pictures.py [--preview DIR]
  --preview DIR  also writes enlarged PNG copies there, and one sheet of all of them.
"""
import importlib.util
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("library_pictures",
                                               os.path.join(HERE, "make-library-pictures.py"))
lib = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(lib)

KEY = lib.KEY
OUT = os.path.join(HERE, "..", "src", "varnello", "pictures")
N = 16

# Colours, one flat set for every picture.
INK = (56, 56, 64)         # outlines
GREY = (128, 128, 136)
LIGHT = (214, 214, 220)
WHITE = (255, 255, 255)
PAPER = (244, 244, 246)
BLUE = (40, 100, 196)
SKY = (120, 172, 236)
PALE = (200, 222, 248)
ORANGE = (240, 150, 30)
YELLOW = (252, 210, 60)
GREEN = (40, 150, 60)
RED = (206, 50, 50)
BROWN = (150, 96, 44)
TAN = (196, 140, 80)
BLACK = (24, 24, 28)
PURPLE = (140, 80, 180)
TEAL = (30, 150, 150)

FONT = {  # 3 x 5
    "1": [".X.", "XX.", ".X.", ".X.", "XXX"],
    "2": ["XX.", "..X", ".X.", "X..", "XXX"],
    "3": ["XX.", "..X", ".X.", "..X", "XX."],
    "4": ["X.X", "X.X", "XXX", "..X", "..X"],
    "5": ["XXX", "X..", "XX.", "..X", "XX."],
    "A": [".X.", "X.X", "XXX", "X.X", "X.X"],
    "Z": ["XXX", "..X", ".X.", "X..", "XXX"],
}


class Canvas:
    def __init__(self):
        self.px = [[KEY] * N for _ in range(N)]

    def dot(self, x, y, c):
        if 0 <= x < N and 0 <= y < N:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def box(self, x0, y0, x1, y1, edge, inside=None):
        if inside:
            self.fill(x0, y0, x1, y1, inside)
        self.fill(x0, y0, x1, y0, edge)
        self.fill(x0, y1, x1, y1, edge)
        self.fill(x0, y0, x0, y1, edge)
        self.fill(x1, y0, x1, y1, edge)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)

    def disc(self, cx, cy, r, c, edge=None):
        for y in range(N):
            for x in range(N):
                d = math.hypot(x - cx, y - cy)
                if d <= r:
                    self.dot(x, y, edge if edge and d > r - 1 else c)

    def text(self, x, y, chars, c):
        for ch in chars:
            for dy, row in enumerate(FONT[ch]):
                for dx, bit in enumerate(row):
                    if bit == "X":
                        self.dot(x + dx, y + dy, c)
            x += 4

    def arrow(self, x, y, direction, c, length=6):
        """An arrow whose tip is at (x, y), pointing 'left', 'right', 'up' or 'down'."""
        dx, dy = {"left": (1, 0), "right": (-1, 0), "up": (0, 1), "down": (0, -1)}[direction]
        self.line(x, y, x + dx * (length - 1), y + dy * (length - 1), c)
        for i in range(1, 3):
            self.line(x + dx * i - dy * i, y + dy * i - dx * i, x + dx * i + dy * i,
                      y + dy * i + dx * i, c)

    def plus(self, cx, cy, c, edge=WHITE):
        self.fill(cx - 2, cy - 1, cx + 2, cy + 1, edge)
        self.fill(cx - 1, cy - 2, cx + 1, cy + 2, edge)
        self.fill(cx - 2, cy, cx + 2, cy, c)
        self.fill(cx, cy - 2, cx, cy + 2, c)


# ---------------------------------------------------------------------------------------------
# The pictures.

def window(c, x0=0, y0=1, x1=15, y1=14, title=BLUE, body=WHITE):
    c.box(x0, y0, x1, y1, INK, body)
    c.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 2, title)


def pane(number, highlight):
    """A window cut into five panes, the numbered one lit, its number below."""
    c = Canvas()
    window(c)
    for i in range(5):
        x = 1 + i * 3
        c.fill(x, 4, x + 1, 7, highlight if i == number else PALE)
    c.fill(5, 8, 10, 13, WHITE)
    c.text(6, 8, str(number + 1), highlight if highlight != YELLOW else INK)
    return c


def heading_move(direction):
    c = Canvas()
    c.box(5, 1, 10, 14, INK, WHITE)
    c.fill(6, 2, 9, 4, LIGHT)
    c.fill(5, 5, 10, 5, INK)
    for y in (7, 9, 11, 13):
        c.fill(7, y, 8, y, GREY)
    if direction == "left":
        c.fill(0, 7, 3, 8, KEY)
        c.arrow(0, 9, "left", GREEN, 5)
        c.arrow(0, 8, "left", GREEN, 5)
    else:
        c.arrow(15, 9, "right", GREEN, 5)
        c.arrow(15, 8, "right", GREEN, 5)
    return c


def sort(descending, add):
    c = Canvas()
    top, bottom = ("Z", "A") if descending else ("A", "Z")
    c.text(1, 1, top, BLUE)
    c.text(1, 9, bottom, BLUE)
    # Bars growing (or shrinking) beside the letters, with the direction arrow.
    c.arrow(7, 14, "down", INK, 13)
    c.arrow(8, 14, "down", INK, 13)
    if add:
        c.plus(12, 12, GREEN)
        c.plus(13, 12, GREEN)
        c.fill(10, 9, 15, 15, KEY)
        c.fill(12, 9, 13, 15, GREEN)
        c.fill(10, 11, 15, 12, GREEN)
        for i, w in enumerate((2, 4) if not descending else (4, 2)):
            c.fill(11, 2 + i * 3, 10 + w, 3 + i * 3, ORANGE)
    else:
        for i, w in enumerate((1, 2, 3, 4) if not descending else (4, 3, 2, 1)):
            c.fill(11, 2 + i * 3, 10 + w, 3 + i * 3, ORANGE)
    return c


def calculator():
    c = Canvas()
    c.box(2, 0, 13, 15, INK, LIGHT)
    c.box(4, 2, 11, 5, INK, (190, 220, 180))
    c.fill(8, 3, 10, 4, BLACK)
    for row in range(3):
        for col in range(3):
            x, y = 4 + col * 3, 7 + row * 3
            c.fill(x, y, x + 1, y + 1, ORANGE if (row, col) == (2, 2) else GREY)
    return c


def layout(stacked):
    c = Canvas()
    # White panes on a tinted body, so the panes still read when the button is greyed.
    window(c, body=PALE)
    if stacked:
        c.box(2, 4, 13, 8, BLUE, WHITE)
        c.box(2, 10, 13, 13, BLUE, WHITE)
    else:
        c.box(2, 4, 7, 13, BLUE, WHITE)
        c.box(9, 4, 13, 13, BLUE, WHITE)
    return c


def auto_expand():
    c = Canvas()
    c.box(5, 5, 10, 10, INK, PALE)
    c.fill(6, 6, 9, 6, BLUE)
    for (x, y, sx, sy) in ((0, 0, 1, 1), (15, 0, -1, 1), (0, 15, 1, -1), (15, 15, -1, -1)):
        c.line(x, y, x + 3 * sx, y + 3 * sy, GREEN)
        c.fill(min(x, x + 2 * sx), y, max(x, x + 2 * sx), y, GREEN)
        c.fill(x, min(y, y + 2 * sy), x, max(y, y + 2 * sy), GREEN)
    return c


def enhanced():
    """A page with coloured rows and a note, lit by a star."""
    c = Canvas()
    c.box(0, 2, 11, 15, INK, WHITE)
    for y, col in ((4, RED), (7, GREEN), (10, BLUE), (13, ORANGE)):
        c.fill(2, y, 3, y + 1, col)
        c.fill(5, y, 9, y, GREY)
    star = ["....X....", "....X....", "...XXX...", "XXXXXXXXX", ".XXXXXXX.",
            "..XXXXX..", "..XX.XX..", ".XX...XX.", ".X.....X."]
    for dy, row in enumerate(star):
        for dx, bit in enumerate(row):
            if bit == "X":
                c.dot(7 + dx, dy, YELLOW)
    # Outline the star so it stands off the page.
    for y in range(N):
        for x in range(N):
            if c.px[y][x] != YELLOW and any(0 <= x + dx < N and 0 <= y + dy < N
                                            and c.px[y + dy][x + dx] == YELLOW
                                            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                c.px[y][x] = ORANGE
    return c


def skin(title, body, swatches):
    c = Canvas()
    window(c, 0, 0, 13, 11, title, body)
    c.fill(2, 4, 11, 4, GREY)
    c.fill(2, 6, 8, 6, GREY)
    c.fill(2, 8, 10, 8, GREY)
    for i, col in enumerate(swatches):
        x = 5 + i * 4
        c.box(x, 11, x + 3, 15, INK, col)
    return c


def palette():
    c = Canvas()
    c.disc(7.5, 7.5, 7.6, TAN, BROWN)
    c.disc(10.5, 11, 1.6, KEY)
    for (x, y, col) in ((4, 4, RED), (8, 3, YELLOW), (11, 5, GREEN), (3, 8, BLUE),
                        (5, 11, PURPLE)):
        c.fill(x, y, x + 1, y + 1, col)
    return c


def console():
    c = Canvas()
    c.box(0, 1, 15, 14, INK, BLACK)
    c.fill(1, 2, 14, 3, GREY)
    c.line(2, 6, 4, 8, WHITE)
    c.line(2, 10, 4, 8, WHITE)
    c.fill(6, 10, 10, 11, (120, 230, 120))
    return c


def bin_body(c, lid=True):
    if lid:
        c.fill(2, 3, 13, 4, GREY)
        c.fill(6, 2, 9, 2, GREY)
    c.box(3, 5, 12, 15, INK, WHITE)
    for x in (5, 7, 8, 10):
        if x in (5, 10):
            c.fill(x, 7, x, 13, GREY)
    c.fill(7, 7, 8, 13, GREY)


def recycle_full():
    c = Canvas()
    bin_body(c, lid=False)
    c.fill(4, 2, 7, 5, WHITE)
    c.box(4, 1, 7, 5, GREY)
    c.fill(8, 0, 11, 4, PALE)
    c.box(8, 0, 11, 4, BLUE)
    c.fill(2, 5, 13, 5, INK)
    return c


def recycle_empty(with_mark):
    c = Canvas()
    bin_body(c)
    c.box(2, 3, 13, 4, INK)
    if with_mark:
        c.fill(7, 8, 8, 12, LIGHT)
        c.line(5, 9, 7, 11, GREEN)
        c.line(7, 11, 11, 7, GREEN)
        c.line(5, 10, 7, 12, GREEN)
        c.line(7, 12, 11, 8, GREEN)
    return c


def exit_door():
    c = Canvas()
    c.box(1, 0, 9, 15, INK, TAN)
    c.fill(2, 1, 8, 14, BROWN)
    c.box(3, 2, 7, 6, INK)
    c.box(3, 8, 7, 13, INK)
    c.dot(8, 8, YELLOW)
    c.fill(10, 7, 15, 8, WHITE)
    c.arrow(15, 7, "right", RED, 7)
    c.arrow(15, 8, "right", RED, 7)
    return c


def info(colour):
    c = Canvas()
    c.disc(7.5, 7.5, 7.6, colour, INK)
    c.fill(7, 3, 8, 4, WHITE)
    c.fill(7, 6, 8, 12, WHITE)
    c.fill(6, 6, 6, 6, WHITE)
    c.fill(6, 12, 9, 12, WHITE)
    return c


def logo():
    c = Canvas()
    c.box(0, 0, 15, 15, INK, BLUE)
    c.dot(0, 0, KEY), c.dot(15, 0, KEY), c.dot(0, 15, KEY), c.dot(15, 15, KEY)
    for y in range(3, 13):
        k = (y - 3) // 2
        c.fill(3 + k, y, 4 + k, y, WHITE)
        c.fill(11 - k, y, 12 - k, y, WHITE)
    return c


def two_pages(c):
    c.box(0, 0, 7, 10, INK, WHITE)
    c.box(4, 3, 11, 13, INK, PAPER)
    for y in (5, 7, 9):
        c.fill(6, y, 9, y, GREY)


def compare_date():
    c = Canvas()
    two_pages(c)
    c.disc(11, 11, 4.6, WHITE, INK)
    c.line(11, 8, 11, 11, BLACK)
    c.line(11, 11, 13, 11, RED)
    return c


def compare_size():
    c = Canvas()
    two_pages(c)
    c.box(3, 11, 15, 15, INK, YELLOW)
    for x in range(5, 15, 2):
        c.fill(x, 12, x, 13 if x % 4 == 1 else 12, INK)
    return c


def compare_both():
    c = Canvas()
    two_pages(c)
    c.fill(9, 9, 15, 15, KEY)
    c.box(9, 9, 15, 15, GREEN, WHITE)
    c.fill(10, 11, 14, 11, GREEN)
    c.fill(10, 13, 14, 13, GREEN)
    return c


def colour_code():
    c = Canvas()
    for i, col in enumerate((RED, GREEN, BLUE, ORANGE)):
        y = 1 + i * 4
        c.fill(0, y, 4, y + 2, col)
        c.dot(0, y, KEY), c.dot(0, y + 2, KEY)
        c.fill(6, y + 1, 15 - (i % 2) * 3, y + 1, GREY)
    return c


def gear(body):
    c = Canvas()
    for i in range(8):
        a = i * math.pi / 4
        cx, cy = 7.5 + 6 * math.cos(a), 7.5 + 6 * math.sin(a)
        c.disc(cx, cy, 1.6, body)
    c.disc(7.5, 7.5, 5.6, body)
    c.disc(7.5, 7.5, 2.2, KEY)
    # Dark rim inside the hub and round the wheel, so it reads on light and dark bars alike.
    for y in range(N):
        for x in range(N):
            if c.px[y][x] == body:
                near_key = any(not (0 <= x + dx < N and 0 <= y + dy < N)
                               or c.px[y + dy][x + dx] == KEY
                               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                if near_key:
                    c.px[y][x] = INK
    return c


PICTURES = [
    ("pane0x", lambda: pane(0, GREEN)), ("pane1x", lambda: pane(1, GREEN)),
    ("pane3x", lambda: pane(3, GREEN)), ("pane2x", lambda: pane(2, GREEN)),
    ("pane4x", lambda: pane(4, GREEN)),
    ("headright", lambda: heading_move("right")), ("headleft", lambda: heading_move("left")),
    ("headasc", lambda: sort(False, False)), ("headdes", lambda: sort(True, False)),
    ("headdesadd", lambda: sort(True, True)), ("headascadd", lambda: sort(False, True)),
    ("calculate", calculator),
    ("layouthorizontal", lambda: layout(True)), ("layoutvertical", lambda: layout(False)),
    ("layoutautoexpand", auto_expand),
    ("headleft2", lambda: heading_move("left")), ("headright2", lambda: heading_move("right")),
    ("headasc1", lambda: sort(False, False)), ("headdesadd1", lambda: sort(True, True)),
    ("headdes1", lambda: sort(True, False)), ("headascadd1", lambda: sort(False, True)),
    ("enhancedmode", enhanced),
    ("skindefault", lambda: skin(BLUE, WHITE, (SKY, LIGHT))),
    ("skinsecond", lambda: skin(GREEN, WHITE, (ORANGE, TAN))),
    ("choosecolors", palette),
    ("commandline", console),
    ("recyclebin", recycle_full), ("recycleempty", lambda: recycle_empty(False)),
    ("recycleempty2", lambda: recycle_empty(True)),
    ("exit", exit_door),
    ("about3", lambda: info(BLUE)), ("vr1", logo), ("about4", lambda: info(TEAL)),
    ("pane0", lambda: pane(0, ORANGE)), ("pane1", lambda: pane(1, ORANGE)),
    ("pane2", lambda: pane(2, ORANGE)), ("pane3", lambda: pane(3, ORANGE)),
    ("pane4", lambda: pane(4, ORANGE)),
    ("compare_date", compare_date), ("compare_size", compare_size), ("compare", compare_both),
    ("colorcode", colour_code),
    ("options1", lambda: gear(GREY)), ("options", lambda: gear((150, 170, 200))),
]


def main(argv):
    preview = None
    if len(argv) == 2 and argv[0] == "--preview":
        preview = argv[1]
        os.makedirs(preview, exist_ok=True)
    elif argv:
        raise SystemExit(__doc__)
    os.makedirs(OUT, exist_ok=True)
    rc = ["// The program's toolbar and menu pictures, by image-list key; made by",
          "// scripts/make-program-pictures.py. RGB(0,255,0) is transparent.", ""]
    sheet = []
    for key, draw in PICTURES:
        pixels = draw().px
        write_to = os.path.join(OUT, key + ".bmp")
        lib.write(write_to, lib.bmp_bytes(pixels))
        rc.append("%-18s BITMAP \"pictures/%s.bmp\"" % (key.upper(), key))
        if preview:
            lib.write(os.path.join(preview, key + ".png"), lib.png_bytes(pixels, 16))
        sheet.append(pixels)
    lib.write(os.path.join(OUT, "curcopy.cur"),
              lib.cur_bytes(lib.cursor_grid(lib.BADGE_PLUS), lib.HOTSPOT))
    rc += ["", "%-18s CURSOR \"pictures/curcopy.cur\"" % "CURCOPY"]
    lib.write(os.path.join(OUT, "..", "pictures.rc"), ("\n".join(rc) + "\n").encode())
    if preview:
        # All pictures in rows of 11 on a light grey bar, the way a toolbar shows them.
        bar = (236, 236, 236)
        rows = []
        for start in range(0, len(sheet), 11):
            band = [[bar] * (11 * 20) for _ in range(20)]
            for i, pixels in enumerate(sheet[start:start + 11]):
                for y in range(N):
                    for x in range(N):
                        if pixels[y][x] != KEY:
                            band[2 + y][i * 20 + 2 + x] = pixels[y][x]
            rows += band
        lib.write(os.path.join(preview, "sheet.png"), lib.png_bytes(rows, 4))


if __name__ == "__main__":
    main(sys.argv[1:])
