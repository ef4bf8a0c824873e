#!/usr/bin/env python3
"""Writes the control library's bitmaps and cursors into src/zenlo/library/pictures/.

Every picture is pixel art kept below as text, one character a pixel, so a change is a readable
diff and the output is byte-for-byte the same on every run.

Bitmaps are 24-bit and use pure green, RGB(0,255,0), as the transparent key colour: the listing
copies them with that key, so green may appear only where the picture is see-through.
Cursors are 32 x 32 monochrome: an AND mask and a black-and-white XOR image.

Usage: make-library-pictures.py [--preview DIR]
  --preview DIR  also writes enlarged PNG copies there, for looking at the pictures.
"""
import os
import struct
import sys
import zlib

KEY = (0, 255, 0)
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "zenlo", "library",
                   "pictures")

# ---------------------------------------------------------------------------------------------
# Bitmaps. "." is the key colour everywhere.

FILE_GENERIC = {
    "size": (16, 16),
    "colours": {"o": (112, 112, 112), "w": (255, 255, 255), "f": (214, 214, 214),
                "s": (236, 236, 236)},
    "rows": [
        "..oooooooooo....",
        "..owwwwwwwwofo..",
        "..owwwwwwwwofso.",
        "..owwwwwwwwofsso",
        "..owwwwwwwwoooo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..owwwwwwwwwwwo.",
        "..ooooooooooooo.",
    ],
}

FOLDER_CLOSED = {
    "size": (16, 16),
    "colours": {"o": (150, 100, 10), "t": (228, 168, 40), "h": (255, 236, 150),
                "y": (252, 204, 70), "d": (226, 170, 44)},
    "rows": [
        "................",
        "................",
        ".oooooo.........",
        "othhhhto........",
        "otttttttoooooooo",
        "ohhhhhhhhhhhhhho",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "oddddddddddddddo",
        "oooooooooooooooo",
        "................",
    ],
}

EXPANDER_COLOURS = {"o": (128, 128, 128), "w": (255, 255, 255), "k": (32, 32, 32)}

FOLDER_PLUS = {
    "size": (9, 9),
    "colours": EXPANDER_COLOURS,
    "rows": [
        "ooooooooo",
        "owwwwwwwo",
        "owwwkwwwo",
        "owwwkwwwo",
        "owkkkkkwo",
        "owwwkwwwo",
        "owwwkwwwo",
        "owwwwwwwo",
        "ooooooooo",
    ],
}

FOLDER_MINUS = {
    "size": (9, 9),
    "colours": EXPANDER_COLOURS,
    "rows": [
        "ooooooooo",
        "owwwwwwwo",
        "owwwwwwwo",
        "owwwwwwwo",
        "owkkkkkwo",
        "owwwwwwwo",
        "owwwwwwwo",
        "owwwwwwwo",
        "ooooooooo",
    ],
}

COMPUTER_COLOURS = {"o": (56, 56, 64), "g": (196, 196, 200), "l": (232, 232, 236),
                    "b": (20, 84, 180), "c": (96, 160, 230), "s": (140, 140, 148)}

NETWORK_COMPUTER = {
    "size": (16, 16),
    "colours": COMPUTER_COLOURS,
    "rows": [
        "................",
        ".oooooooooooooo.",
        ".ollllllllllllo.",
        ".olobbbbbbbbolo.",
        ".olobccbbbbbolo.",
        ".olobcbbbbbbolo.",
        ".olobbbbbbbbolo.",
        ".olobbbbbbbbolo.",
        ".olobbbbbbbbolo.",
        ".oloooooooooolo.",
        ".ogggggggggggso.",
        ".oooooooooooooo.",
        "......osso......",
        "....oooooooo....",
        "....ollllllo....",
        "....oooooooo....",
    ],
}

NETWORK_WORKGROUP = {
    "size": (16, 16),
    "colours": COMPUTER_COLOURS,
    "rows": [
        "ooooooo..ooooooo",
        "obbbbbo..obbbbbo",
        "obcbbbo..obcbbbo",
        "obbbbbo..obbbbbo",
        "ooooooo..ooooooo",
        "..ooo......ooo..",
        ".ooooo....ooooo.",
        "...s........s...",
        "...ssssssssss...",
        "....ooooooo.....",
        "....obbbbbo.....",
        "....obcbbbo.....",
        "....obbbbbo.....",
        "....ooooooo.....",
        "......ooo.......",
        ".....ooooo......",
    ],
}

NETWORK_WHOLE = {
    "size": (16, 16),
    "colours": {"o": (16, 54, 120), "b": (40, 110, 200), "c": (120, 180, 240),
                "l": (46, 140, 70), "d": (26, 100, 48)},
    "rows": [
        "................",
        ".....oooooo.....",
        "...oocbbbbbboo..",
        "..ocbllbbbbbbbo.",
        "..obllllbbllbbo.",
        ".obbllllllllldbo",
        ".obblllldllllbbo",
        ".obbbllldlllbbbo",
        ".obbbbllbbllbbbo",
        ".obbbbblllbbbbbo",
        ".obbbbbllllbbbbo",
        "..obbbbllldbbbo.",
        "..obbbbbldbbbbo.",
        "...oobbbbbbboo..",
        ".....oooooo.....",
        "................",
    ],
}

POINTER_SELECT = {
    "size": (8, 10),
    "colours": {"a": (0, 70, 160)},
    "rows": [
        "........",
        "aa......",
        "aaaa....",
        "aaaaaa..",
        "aaaaaaaa",
        "aaaaaaaa",
        "aaaaaa..",
        "aaaa....",
        "aa......",
        "........",
    ],
}

# ---------------------------------------------------------------------------------------------
# The listing's toolbar images, 16 x 16: the folder colours above plus ink, blues and greys.

TOOLBAR_COLOURS = {
    # the folder, as FOLDER_CLOSED
    "o": (150, 100, 10), "t": (228, 168, 40), "h": (255, 236, 150), "y": (252, 204, 70),
    "d": (226, 170, 44),
    # ink, blue, navy, light blue, white, face grey, shadow grey, text grey
    "k": (32, 32, 32), "b": (36, 104, 204), "n": (16, 54, 120), "c": (130, 184, 240),
    "w": (255, 255, 255), "g": (212, 208, 200), "s": (128, 128, 128), "l": (88, 88, 88),
    # the new-folder sparkle
    "v": (255, 250, 200), "r": (230, 120, 20),
}

# A folder with an arrow pointing up.
TB_UPFOLDER = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "................",
        "................",
        ".oooooo.........",
        "othhhhto........",
        "otttttttoooooooo",
        "ohhhhhhhkhhhhhho",
        "ohyyyyykkkyyyyyo",
        "ohyyyykkkkkyyyyo",
        "ohyyykkkkkkkyyyo",
        "ohyyyyykkkyyyyyo",
        "ohyyyyykkkyyyyyo",
        "ohyyyyykkkyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "oddddddddddddddo",
        "oooooooooooooooo",
        "................",
    ],
}

# A folder with a sparkle above its back edge.
TB_NEWFOLDER = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "............k...",
        "...........kvk..",
        "..........kkvkk.",
        ".........kvvrvvk",
        ".oooooo...kkvkk.",
        "othhhhto...kvk..",
        "otttttttooookooo",
        "ohhhhhhhhhhhhhho",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "ohyyyyyyyyyyyyyo",
        "oddddddddddddddo",
        "oooooooooooooooo",
    ],
}

# Two small folders, one below and right of the other.
TB_SHOWFOLDERS = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        ".ooooo..........",
        "othhhto.........",
        "ottttttoooo.....",
        "ohhhhhhhhho.....",
        "ohyyyyyyyyo.....",
        "ohyyyyyyyyo.....",
        "odddddddddo.....",
        "ooooooooooo.....",
        "......ooooo.....",
        ".....othhhto....",
        ".....ottttttoooo",
        ".....ohhhhhhhhho",
        ".....ohyyyyyyyyo",
        ".....ohyyyyyyyyo",
        ".....odddddddddo",
        ".....ooooooooooo",
    ],
}

# Two arrows chasing each other round a circle.
TB_REFRESH = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "................",
        "................",
        "......bbbb......",
        "....bbbbbbbb....",
        "...bbb....bbb...",
        "..bbb.....bbbbbb",
        "..bb.......bbbb.",
        "............bb..",
        "..bb............",
        ".bbbb.......bb..",
        "bbbbbb.....bbb..",
        "...bbb....bbb...",
        "....bbbbbbbb....",
        "......bbbb......",
        "................",
        "................",
    ],
}

# A table: a row of raised heading cells over lines of text.
TB_HEADINGS = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "kkkkkkkkkkkkkkkk",
        "kwwwwswwwwswwwwk",
        "kwgggswgggswgggk",
        "kwkkgswkkgswkkgk",
        "kwgggswgggswgggk",
        "kssssssssssssssk",
        "kwwwwwwwwwwwwwwk",
        "kwlllwwlllwwllwk",
        "kwwwwwwwwwwwwwwk",
        "kwllwwwllwwwllwk",
        "kwwwwwwwwwwwwwwk",
        "kwlllwwlllwwlwwk",
        "kwwwwwwwwwwwwwwk",
        "kwllwwwlllwwllwk",
        "kwwwwwwwwwwwwwwk",
        "kkkkkkkkkkkkkkkk",
    ],
}

# A folder with a sum sign.
TB_CALCULATE = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "................",
        "................",
        ".oooooo.........",
        "othhhhto........",
        "otttttttoooooooo",
        "ohhhhhhhhhhhhhho",
        "ohyyykkkkkkkyyyo",
        "ohyyykkyyyykyyyo",
        "ohyyyykkyyyyyyyo",
        "ohyyyyykkyyyyyyo",
        "ohyyyykkyyyyyyyo",
        "ohyyykkyyyykyyyo",
        "ohyyykkkkkkkyyyo",
        "oddddddddddddddo",
        "oooooooooooooooo",
        "................",
    ],
}

# A tree: a minus box by a folder, its branches to two smaller folders.
TB_COLLAPSE = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "sssssss..ooo....",
        "swwwwws.ohhhoooo",
        "swwwwws.ohyyyyyo",
        "swkkkws.ohyyyyyo",
        "swwwwws.oddddddo",
        "swwwwws.oooooooo",
        "sssssss.........",
        "...s....ooo.....",
        "...s...ohhhooo..",
        "...ssssohyyyyo..",
        "...s...ooooooo..",
        "...s............",
        "...s....ooo.....",
        "...s...ohhhooo..",
        "...ssssohyyyyo..",
        ".......ooooooo..",
    ],
}

# A window of two panes, the left one's folder shown again in the right one.
TB_MIMIC = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "kkkkkkkkkkkkkkkk",
        "kbbbbbbbbbbbbbbk",
        "kkkkkkkkkkkkkkkk",
        "kwoowwwkwwoowwwk",
        "kohhoookwohhoook",
        "kohyyyokwohyyyok",
        "kohyyyokwohyyyok",
        "kooooookwooooook",
        "kwwwwwwkbwwwwwwk",
        "kwwwwwwkbbwwwwwk",
        "kwbbbbbbbbbwwwwk",
        "kwbbbbbbbbbbwwwk",
        "kwbbbbbbbbbwwwwk",
        "kwwwwwwkbbwwwwwk",
        "kwwwwwwkbwwwwwwk",
        "kkkkkkkkkkkkkkkk",
    ],
}

# Rows of an icon, a name and two lighter columns.
TB_LIST_DETAILS = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "................",
        "ccn.............",
        "cbn.kkkkk.lll.ll",
        "nnn.............",
        "................",
        "ccn.............",
        "cbn.kkkk..ll..ll",
        "nnn.............",
        "................",
        "ccn.............",
        "cbn.kkkkk.lll.l.",
        "nnn.............",
        "................",
        "ccn.............",
        "cbn.kkk...lll.ll",
        "nnn.............",
    ],
}

# Icons with names in two columns.
TB_LIST_BRIEF = {
    "size": (16, 16),
    "colours": TOOLBAR_COLOURS,
    "rows": [
        "................",
        "ccn......ccn....",
        "cbn.kkkk.cbn.kkk",
        "nnn......nnn....",
        "................",
        "ccn......ccn....",
        "cbn.kkk..cbn.kk.",
        "nnn......nnn....",
        "................",
        "ccn......ccn....",
        "cbn.kkkk.cbn.kkk",
        "nnn......nnn....",
        "................",
        "ccn......ccn....",
        "cbn.kk...cbn.kk.",
        "nnn......nnn....",
    ],
}

BITMAPS = [
    ("filegeneric.bmp", FILE_GENERIC),
    ("folderclosed.bmp", FOLDER_CLOSED),
    ("folderplus.bmp", FOLDER_PLUS),
    ("folderminus.bmp", FOLDER_MINUS),
    ("networkcomputer.bmp", NETWORK_COMPUTER),
    ("networkwhole.bmp", NETWORK_WHOLE),
    ("networkworkgroup.bmp", NETWORK_WORKGROUP),
    ("pointerselect.bmp", POINTER_SELECT),
    ("tb_upfolder.bmp", TB_UPFOLDER),
    ("tb_newfolder.bmp", TB_NEWFOLDER),
    ("tb_showfolders.bmp", TB_SHOWFOLDERS),
    ("tb_refresh.bmp", TB_REFRESH),
    ("tb_headings.bmp", TB_HEADINGS),
    ("tb_calculate.bmp", TB_CALCULATE),
    ("tb_collapse.bmp", TB_COLLAPSE),
    ("tb_mimic.bmp", TB_MIMIC),
    ("tb_list_details.bmp", TB_LIST_DETAILS),
    ("tb_list_brief.bmp", TB_LIST_BRIEF),
]

# ---------------------------------------------------------------------------------------------
# Cursors. "X" black, "#" white, anything else transparent.

ARROW = [
    "X",
    "XX",
    "X#X",
    "X##X",
    "X###X",
    "X####X",
    "X#####X",
    "X######X",
    "X#######X",
    "X########X",
    "X#########X",
    "X######XXXXX",
    "X###X##X",
    "X##XX##X",
    "X#X  X##X",
    "XX   X##X",
    "X     X##X",
    "      X##X",
    "       XX",
]

# Badges: an 11 x 11 white box with a black rim and a black sign, set below right of the arrow.
BADGE_AT = (12, 15)


def badge(sign):
    rows = ["XXXXXXXXXXX"]
    for line in sign:
        rows.append("X" + line.replace(".", "#") + "X")
    rows.append("XXXXXXXXXXX")
    return rows


BADGE_TICK = badge([
    ".........",
    ".......X.",
    "......XX.",
    ".X...XX..",
    ".XX.XX...",
    "..XXX....",
    "...X.....",
    ".........",
    ".........",
])

BADGE_RANGE = badge([
    ".........",
    ".XX......",
    ".X..XXXX.",
    ".X.......",
    ".X..XXXX.",
    ".X.......",
    ".X..XXXX.",
    ".XX......",
    ".........",
])

BADGE_FIRST = badge([
    ".........",
    "....X....",
    "...XX....",
    "..X.X....",
    "....X....",
    "....X....",
    "....X....",
    "..XXXXX..",
    ".........",
])

BADGE_SECOND = badge([
    ".........",
    "...XXX...",
    "..X...X..",
    "......X..",
    ".....X...",
    "....X....",
    "...X.....",
    "..XXXXX..",
    ".........",
])

BADGE_PLUS = badge([
    ".........",
    ".........",
    "....X....",
    "....X....",
    "..XXXXX..",
    "....X....",
    "....X....",
    ".........",
    ".........",
])

CURSORS = [
    ("curdefault.cur", None),
    ("curselect.cur", BADGE_TICK),
    ("curselectshift.cur", BADGE_RANGE),
    ("curselectshiftfirst.cur", BADGE_FIRST),
    ("curselectshiftsecond.cur", BADGE_SECOND),
    ("curexpand.cur", BADGE_PLUS),
]
CURSOR_SIZE = 32
HOTSPOT = (0, 0)  # the arrow's tip


# ---------------------------------------------------------------------------------------------

def bitmap_pixels(picture):
    """Rows of RGB triples, top row first; checks the art against its declared size and colours."""
    width, height = picture["size"]
    rows = picture["rows"]
    if len(rows) != height or any(len(r) != width for r in rows):
        raise SystemExit("picture rows do not match its size %r" % (picture["size"],))
    colours = picture["colours"]
    for ch, rgb in colours.items():
        if ch == "." or rgb == KEY:
            raise SystemExit("colour %r would be transparent" % ch)
    try:
        return [[KEY if ch == "." else colours[ch] for ch in r] for r in rows]
    except KeyError as e:
        raise SystemExit("unknown colour %s" % e)


def bmp_bytes(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return header + info + bytes(body)


def cursor_grid(badge_rows):
    grid = [[" "] * CURSOR_SIZE for _ in range(CURSOR_SIZE)]
    for y, line in enumerate(ARROW):
        for x, ch in enumerate(line):
            if ch != " ":
                grid[y][x] = ch
    if badge_rows:
        bx, by = BADGE_AT
        for y, line in enumerate(badge_rows):
            for x, ch in enumerate(line):
                grid[by + y][bx + x] = ch
    return grid


def cur_bytes(grid, hotspot):
    size = CURSOR_SIZE
    stride = ((size + 31) // 32) * 4

    def plane(bit_of):
        out = bytearray()
        for row in reversed(grid):  # bottom-up
            line = bytearray(stride)
            for x, ch in enumerate(row):
                if bit_of(ch):
                    line[x // 8] |= 0x80 >> (x % 8)
            out += line
        return out

    xor = plane(lambda ch: ch == "#")                # white where drawn white
    mask = plane(lambda ch: ch not in ("X", "#"))    # 1 = see-through
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask),
                       0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(image),
                        len(directory) + 16)
    return directory + entry + image


def png_bytes(pixels, scale):
    """An enlarged RGB PNG, for previews only."""
    height, width = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        line = bytearray()
        for rgb in row:
            line += bytes(rgb) * scale
        for _ in range(scale):
            raw += b"\x00" + line

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", width * scale, height * scale, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    preview = None
    if len(argv) == 2 and argv[0] == "--preview":
        preview = argv[1]
        os.makedirs(preview, exist_ok=True)
    elif argv:
        raise SystemExit(__doc__)
    os.makedirs(OUT, exist_ok=True)
    for name, picture in BITMAPS:
        pixels = bitmap_pixels(picture)
        write(os.path.join(OUT, name), bmp_bytes(pixels))
        if preview:
            write(os.path.join(preview, name[:-4] + ".png"), png_bytes(pixels, 16))
    for name, badge_rows in CURSORS:
        grid = cursor_grid(badge_rows)
        write(os.path.join(OUT, name), cur_bytes(grid, HOTSPOT))
        if preview:
            # Transparent shown as a mid grey, the hotspot in red.
            shade = {"X": (0, 0, 0), "#": (255, 255, 255)}
            pixels = [[shade.get(ch, (150, 160, 170)) for ch in row] for row in grid]
            pixels[HOTSPOT[1]][HOTSPOT[0]] = (220, 0, 0)
            write(os.path.join(preview, name[:-4] + ".png"), png_bytes(pixels, 12))


if __name__ == "__main__":
    main(sys.argv[1:])
