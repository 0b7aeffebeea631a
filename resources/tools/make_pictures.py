#!/usr/bin/env python3
"""Writes the program's pictures as text XPM files.

The XPM files are the reviewed source of truth and are committed; this script only saves drawing
them by hand. Run it from anywhere after changing a drawing here:

    python3 resources/tools/make_pictures.py [--preview out.png]

It also renders the 48 x 48 icon from icons/kalvo.svg with rsvg-convert (Debian: librsvg2-bin)
and, with --preview, a montage of every picture scaled up 8 times (ImageMagick).
"""

import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

SILVER = "#C0C0C0"  # key colour of the flags
IRISH_KEY = "#B6B6AA"  # the Irish flag's own key colour
OLIVE = "#808000"  # key colour of the button pictures

FLAG_W, FLAG_H = 24, 15


class Canvas:
    """A grid of one-character colour names."""

    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.rows = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = c

    def get(self, x, y):
        return self.rows[y][x]

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, c)

    def art(self, x, y, lines):
        """Draws ASCII art; blanks leave the canvas as it is."""
        for dy, line in enumerate(lines):
            for dx, c in enumerate(line):
                if c != " ":
                    self.put(x + dx, y + dy, c)

    def blit(self, x, y, other):
        for yy in range(other.height):
            for xx in range(other.width):
                self.put(x + xx, y + yy, other.get(xx, yy))

    def hstripes(self, spec):
        """spec: (colour, rows) from top to bottom, filling the whole width."""
        y = 0
        for c, n in spec:
            self.rect(0, y, self.width, n, c)
            y += n
        assert y == self.height, "stripes do not fill the flag"

    def vstripes(self, spec):
        x = 0
        for c, n in spec:
            self.rect(x, 0, n, self.height, c)
            x += n
        assert x == self.width, "stripes do not fill the flag"


def write_xpm(path, name, canvas, palette):
    used = {c for row in canvas.rows for c in row}
    unknown = used - palette.keys()
    assert not unknown, f"{name}: no colour for {sorted(unknown)}"
    colours = [(c, v) for c, v in palette.items() if c in used]
    lines = ["/* XPM */", f"static const char *const {name}[] = {{"]
    lines.append(f'"{canvas.width} {canvas.height} {len(colours)} 1",')
    lines += [f'"{c} c {v}",' for c, v in colours]
    body = ['"' + "".join(row) + '"' for row in canvas.rows]
    lines += [b + "," for b in body[:-1]] + [body[-1], "};"]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")


# --- Flags ------------------------------------------------------------------------------------
# Each flag is drawn on a canvas of its own size and then placed into the 24 x 15 picture, whose
# remaining pixels are the key colour ".". Colour names: w white, r red, b blue, and so on.

COLOURS = {
    "w": "#FFFFFF",
    "k": "#000000",
}

RECT = (0, 2, 24, 12)  # x, y, width, height inside the picture
SHORT = (0, 2, 24, 11)  # Greece and Czechia end one row higher
SQUARE = (4, 0, 15, 15)  # Europe and Switzerland


def three_h(a, b, c):
    def draw(f):
        f.hstripes([(a, 4), (b, 4), (c, 4)])

    return draw


def three_v(a, b, c):
    def draw(f):
        f.vstripes([(a, 8), (b, 8), (c, 8)])

    return draw


def nordic(field, cross, border=None):
    """A Scandinavian cross, its upright nearer the hoist."""

    def draw(f):
        f.rect(0, 0, f.width, f.height, field)
        if border:
            f.rect(0, 4, f.width, 4, border)
            f.rect(6, 0, 4, f.height, border)
        f.rect(0, 5, f.width, 2, cross)
        f.rect(7, 0, 2, f.height, cross)

    return draw


def spain(f):
    f.hstripes([("r", 3), ("y", 6), ("r", 3)])
    # crown, shield and the two pillars
    f.art(4, 3, ["  ooo  ",
                 "p rrw p",
                 "p rwr p",
                 "p rrr p",
                 "o  r  o"])


def europe(f):
    f.rect(0, 0, f.width, f.height, "b")
    # twelve stars on a ring of radius 5, like the hours of a clock
    for dx, dy in [(0, -5), (3, -4), (4, -3), (5, 0), (4, 3), (3, 4),
                   (0, 5), (-3, 4), (-4, 3), (-5, 0), (-4, -3), (-3, -4)]:
        f.put(7 + dx, 7 + dy, "y")


def finland(f):
    f.rect(0, 0, f.width, f.height, "w")
    f.rect(0, 5, f.width, 3, "b")
    f.rect(6, 0, 3, f.height, "b")


def union_jack(f):
    # counterchanged saltire: red below the white centre line on the hoist side, above it on the fly
    f.art(0, 0, ["rwwwbbbbbbwrrwbbbbbbwrrw",
                 "wrrwwwbbbbwrrwbbbbwrrwww",
                 "bbwrrwwwbbwrrwbbwrrwwwbb",
                 "bbbbwrrwwwwrrwwrrwwwbbbb",
                 "wwwwwwwwwwwrrwwwwwwwwwww",
                 "rrrrrrrrrrrrrrrrrrrrrrrr",
                 "rrrrrrrrrrrrrrrrrrrrrrrr",
                 "wwwwwwwwwwwrrwwwwwwwwwww",
                 "bbbbwwwrrwwrrwwwwrrwbbbb",
                 "bbwwwrrwbbwrrwbbwwwrrwbb",
                 "wwwrrwbbbbwrrwbbbbwwwrrw",
                 "wrrwbbbbbbwrrwbbbbbbwwwr"])


def portugal(f):
    f.vstripes([("g", 10), ("r", 14)])
    f.art(7, 3, [" yyyy ",
                 "yrrrry",
                 "yrwwry",
                 "yrwwry",
                 "yrrrry",
                 " yyyy "])


def greece(f):
    for y in range(f.height):
        f.rect(0, y, f.width, 1, "b" if y % 2 == 0 else "w")
    f.rect(0, 0, 7, 5, "b")
    f.rect(0, 2, 7, 1, "w")
    f.rect(3, 0, 1, 5, "w")


def switzerland(f):
    f.rect(0, 0, f.width, f.height, "r")
    f.rect(3, 6, 9, 3, "w")
    f.rect(6, 3, 3, 9, "w")


def czechia(f):
    f.hstripes([("w", 5), ("w", 1), ("r", 5)])
    mid = 5
    for y in range(f.height):
        d = abs(y - mid)
        reach = math.ceil(12 * (5.5 - d) / 5.5)
        f.rect(0, y, reach, 1, "b")


def slovakia(f):
    f.hstripes([("w", 4), ("b", 4), ("r", 4)])
    f.art(3, 2, ["wrrrrrrrw",
                 "wrrrwrrrw",
                 "wrrwwwrrw",
                 "wrrrwrrrw",
                 "wrwwwwwrw",
                 "wrrrwrrrw",
                 "wbbbbbbbw",
                 " wbbbbbw ",
                 "  wwwww  "])


def malta(f):
    f.vstripes([("w", 12), ("r", 12)])
    # the George Cross in the upper hoist
    f.art(1, 1, [" rgr ",
                 "rrgrr",
                 "ggggg",
                 "rrgrr",
                 " rgr "])


def slovenia(f):
    f.hstripes([("w", 4), ("b", 4), ("r", 4)])
    f.art(4, 1, ["rbbbr",
                 "rybyr",
                 "rbybr",
                 "rbwbr",
                 "rwwwr",
                 " rbr ",
                 "  r  "])


def cyprus(f):
    f.rect(0, 0, f.width, f.height, "w")
    # the island, its long peninsula pointing north-east, and the two olive branches
    f.art(0, 0, ["                        ",
                 "                   oo   ",
                 "        ooooo   ooo     ",
                 "      oooooooooooo      ",
                 "     ooooooooooooo      ",
                 "      ooooooooo         ",
                 "        oooo            ",
                 "                        ",
                 "      g           g     ",
                 "       gg       gg      ",
                 "         ggggggg        ",
                 "                        "])


FLAGS = [
    # number, state, key, geometry, palette, drawing
    (1, "Österreich", SILVER, RECT, {"r": "#C8102E"}, three_h("r", "w", "r")),
    (2, "Deutschland", SILVER, RECT, {"r": "#DD0000", "y": "#FFCE00"}, three_h("k", "r", "y")),
    (3, "Spanien", SILVER, RECT,
     {"r": "#C60B1E", "y": "#FFC400", "o": "#A07800", "p": "#7F7F7F"}, spain),
    (4, "EURO", SILVER, SQUARE, {"b": "#003399", "y": "#FFCC00"}, europe),
    (5, "Belgien", SILVER, RECT, {"y": "#FDDA24", "r": "#EF3340"}, three_v("k", "y", "r")),
    (6, "Finnland", SILVER, RECT, {"b": "#002F6C"}, finland),
    (7, "Frankreich", SILVER, RECT, {"b": "#002395", "r": "#ED2939"}, three_v("b", "w", "r")),
    (8, "Großbritannien", SILVER, RECT, {"b": "#012169", "r": "#C8102E"}, union_jack),
    (9, "Italien", SILVER, RECT, {"g": "#009246", "r": "#CE2B37"}, three_v("g", "w", "r")),
    (10, "Niederlande", SILVER, RECT, {"r": "#AE1C28", "b": "#21468B"}, three_h("r", "w", "b")),
    (11, "Portugal", SILVER, RECT,
     {"g": "#006600", "r": "#FF0000", "y": "#FFE900"}, portugal),
    (12, "Dänemark", SILVER, RECT, {"r": "#C8102E"}, nordic("r", "w")),
    (13, "Griechenland", SILVER, SHORT, {"b": "#0D5EAF"}, greece),
    (14, "Irland", IRISH_KEY, RECT, {"g": "#169B62", "o": "#FF883E"}, three_v("g", "w", "o")),
    (15, "Luxemburg", SILVER, RECT, {"r": "#ED2939", "b": "#00A1DE"}, three_h("r", "w", "b")),
    (16, "Norwegen", SILVER, RECT, {"r": "#BA0C2F", "b": "#00205B"}, nordic("r", "b", "w")),
    (17, "Schweden", SILVER, RECT, {"b": "#006AA7", "y": "#FECC00"}, nordic("b", "y")),
    (18, "Schweiz", SILVER, SQUARE, {"r": "#DA291C"}, switzerland),
    (19, "Estland", SILVER, RECT, {"b": "#0072CE"}, three_h("b", "k", "w")),
    (20, "Lettland", SILVER, RECT, {"r": "#9E3039"},
     lambda f: f.hstripes([("r", 5), ("w", 2), ("r", 5)])),
    (21, "Litauen", SILVER, RECT,
     {"y": "#FDB913", "g": "#006A44", "r": "#C1272D"}, three_h("y", "g", "r")),
    (22, "Tschechien", SILVER, SHORT, {"r": "#D7141A", "b": "#11457E"}, czechia),
    (23, "Slowakei", SILVER, RECT, {"b": "#0B4EA2", "r": "#EE1C25"}, slovakia),
    (24, "Malta", SILVER, RECT,
     {"r": "#CF142B", "g": "#A3A3A3"}, malta),
    (25, "Polen", SILVER, RECT, {"r": "#DC143C"}, lambda f: f.hstripes([("w", 6), ("r", 6)])),
    (26, "Slowenien", SILVER, RECT,
     {"b": "#005DA4", "r": "#ED1C24", "y": "#FFDD00"}, slovenia),
    (27, "Ungarn", SILVER, RECT, {"r": "#CE2939", "g": "#477050"}, three_h("r", "w", "g")),
    (28, "Zypern", SILVER, RECT, {"o": "#D57800", "g": "#4E5B31"}, cyprus),
    (29, "Rumänien", SILVER, RECT,
     {"b": "#002B7F", "y": "#FCD116", "r": "#CE1126"}, three_v("b", "y", "r")),
    (30, "Bulgarien", SILVER, RECT, {"g": "#00966E", "r": "#D62612"}, three_h("w", "g", "r")),
]


def make_flags(out):
    for number, state, key, (x, y, w, h), colours, draw in FLAGS:
        flag = Canvas(w, h, "?")
        draw(flag)
        assert all(c != "?" for row in flag.rows for c in row), f"{state}: gaps in the flag"
        picture = Canvas(FLAG_W, FLAG_H, ".")
        picture.blit(x, y, flag)
        palette = {".": key, **COLOURS, **colours}
        assert key not in [v for c, v in palette.items() if c != "."], f"{state}: key in flag"
        write_xpm(os.path.join(out, "flags", f"bitmap_{number}.xpm"), f"bitmap_{number}",
                  picture, palette)


# --- Button pictures --------------------------------------------------------------------------

def disabled_look(image, dark):
    """The usual embossed look: dark pixels become grey with a white copy one pixel down-right."""
    out = Canvas(image.width, image.height, ".")
    for y in range(image.height):
        for x in range(image.width):
            if image.get(x, y) in dark:
                out.put(x + 1, y + 1, "W")
    for y in range(image.height):
        for x in range(image.width):
            if image.get(x, y) in dark:
                out.put(x, y, "G")
    return out


def strip(*images):
    result = Canvas(sum(i.width for i in images), images[0].height, ".")
    x = 0
    for i in images:
        result.blit(x, 0, i)
        x += i.width
    return result


EMBOSS = {"W": "#FFFFFF", "G": "#808080"}

CALCULATOR = [
    ".KKKKKKKKKKK..",
    ".KgggggggggK..",
    ".KgDDDDDDDgK..",
    ".KgDDDDDDDgK..",
    ".KgggggggggK..",
    ".KgNgNgNgRgK..",
    ".KgggggggggK..",
    ".KgNgNgNgRgK..",
    ".KgggggggggK..",
    ".KgNgNgNgRgK..",
    ".KgggggggggK..",
    ".KKKKKKKKKKK..",
]

ADD_LINE = [
    "................",
    "...RR........K.K",
    "...RR...........",
    ".RRRRRR......K.K",
    ".RRRRRR.........",
    "...RR........K.K",
    "...RR...........",
    ".......B.....K.K",
    ".......BB.......",
    ".......BBB...K.K",
    ".BBBBBBBBBB.....",
    ".BBBBBBBBBBB.K.K",
    ".BBBBBBBBBB.....",
    ".......BBB...K.K",
    ".......BB.......",
    ".......B.....K.K",
]

SPIN_UP = [
    ".........",
    "....K....",
    "...KKK...",
    "..KKKKK..",
    ".KKKKKKK.",
    ".........",
]


def from_art(lines):
    c = Canvas(len(lines[0]), len(lines), ".")
    assert all(len(line) == c.width for line in lines)
    c.art(0, 0, lines)
    return c


def make_buttons(out):
    calc = from_art(CALCULATOR)
    write_xpm(os.path.join(out, "pictures", "ceditbmp.xpm"), "ceditbmp",
              strip(calc, disabled_look(calc, "KDNR")),
              {".": OLIVE, "K": "#000000", "g": "#C0C0C0", "D": "#006060", "N": "#000080",
               "R": "#C00000", **EMBOSS})
    add = from_art(ADD_LINE)
    write_xpm(os.path.join(out, "pictures", "zufug.xpm"), "zufug",
              strip(add, disabled_look(add, "KBR")),
              {".": OLIVE, "K": "#000000", "B": "#0000FF", "R": "#FF0000", **EMBOSS})
    palette = {".": OLIVE, "K": "#000000"}
    write_xpm(os.path.join(out, "pictures", "spin_up.xpm"), "spin_up", from_art(SPIN_UP), palette)
    write_xpm(os.path.join(out, "pictures", "spin_down.xpm"), "spin_down",
              from_art(SPIN_UP[::-1]), palette)


# --- The about picture ------------------------------------------------------------------------

FONT = {
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "h": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
}

# characters for the gradient shades of the about picture's background
SHADES = "0123456789abcdefghijklmnopq"


def text(canvas, x, y, word, colour, scale=1, spacing=1):
    for ch in word:
        glyph = FONT[ch]
        for gy, line in enumerate(glyph):
            for gx, c in enumerate(line):
                if c == "#":
                    canvas.rect(x + gx * scale, y + gy * scale, scale, scale, colour)
        x += 5 * scale + spacing


def make_about(out):
    w, h = 124, 34
    c = Canvas(w, h, "0")
    palette = {}
    top, bottom = (0xF4, 0xF8, 0xFD), (0xB4, 0xCE, 0xEB)
    bands = 17
    for i in range(bands):
        t = i / (bands - 1)
        rgb = [round(a + (b - a) * t) for a, b in zip(top, bottom)]
        palette[SHADES[i]] = "#%02X%02X%02X" % tuple(rgb)
        c.rect(0, i * 2, w, 2, SHADES[i])
    palette.update({
        "F": "#4A6F9C",  # frame
        "B": "#2F4A6D",  # calculator body
        "L": "#3E5F88",  # its lighter rim
        "D": "#D4F2D2",  # display
        "P": "#1E6B34",  # percent sign
        "K": "#F4F6F8",  # keys
        "O": "#F39C12",  # operator keys
        "N": "#1F3A5F",  # the name
        "H": "#FFFFFF",  # the name's highlight
        "S": "#C0392B",  # "SOFTWARE"
    })
    # frame with rounded corners
    c.rect(1, 0, w - 2, 1, "F")
    c.rect(1, h - 1, w - 2, 1, "F")
    c.rect(0, 1, 1, h - 2, "F")
    c.rect(w - 1, 1, 1, h - 2, "F")
    # calculator
    x0, y0, cw, ch = 5, 3, 22, 28
    c.rect(x0 + 1, y0, cw - 2, ch, "L")
    c.rect(x0, y0 + 1, cw, ch - 2, "L")
    c.rect(x0 + 1, y0 + 1, cw - 2, ch - 2, "B")
    c.rect(x0 + 3, y0 + 3, cw - 6, 10, "D")
    c.art(x0 + 7, y0 + 4, [
        " P     P",
        "P P   P ",
        " P   P  ",
        "    P   ",
        "   P    ",
        "  P   P ",
        " P   P P",
        "P     P ",
    ])
    for row in range(3):
        for col in range(4):
            colour = "O" if col == 3 else "K"
            c.rect(x0 + 3 + col * 4, y0 + 15 + row * 4, 3, 3, colour)
    # name: "Quorvath" doubled with a light edge, "SOFTWARE" beneath it
    text(c, 33, 5, "Quorvath", "H", scale=2)
    text(c, 32, 4, "Quorvath", "N", scale=2)
    text(c, 44, 22, "SOFTWARE", "S", spacing=3)
    write_xpm(os.path.join(out, "pictures", "image1.xpm"), "image1", c, palette)


# --- Cursor -----------------------------------------------------------------------------------
# A pointing hand; the tip of the index finger is the hot spot (7, 0). X black, o white.

HAND = [
    "      XXX",
    "     XoooX",
    "     XoooX",
    "     XoooX",
    "     XoooX",
    "     XoooXXXX",
    "     XoooXoooXXXX",
    "     XoooXoooXoooX",
    "     XoooXoooXoooXXX",
    " XXX XoooXoooXoooXooX",
    "XoooXXoooXoooXoooXooX",
    "XooooXooooooooooooooX",
    " XooooooooooooooooooX",
    "  XoooooooooooooooooX",
    "   XooooooooooooooooX",
    "    XooooooooooooooX",
    "     XoooooooooooooX",
    "      XoooooooooooX",
    "      XoooooooooooX",
    "      XXXXXXXXXXXXX",
]


def make_cursor(out):
    c = Canvas(32, 32, ".")
    c.art(0, 0, HAND)
    write_xpm(os.path.join(out, "pictures", "cursor_1.xpm"), "cursor_1", c,
              {".": "None", "X": "#000000", "o": "#FFFFFF"})


# --- Icon and preview -------------------------------------------------------------------------

def render_icon(out):
    svg = os.path.join(out, "icons", "kalvo.svg")
    png = os.path.join(out, "icons", "kalvo-48.png")
    subprocess.run(["rsvg-convert", "-w", "48", "-h", "48", "-o", png, svg], check=True)


def preview(out, target):
    flags = [(os.path.join(out, "flags", f"bitmap_{n}.xpm"), f"BITMAP_{n} {state}")
             for n, state, *_ in FLAGS]
    others = [(os.path.join(out, "pictures", f + ".xpm"), f)
              for f in ("ceditbmp", "zufug", "spin_up", "spin_down", "cursor_1", "image1")]
    others.append((os.path.join(out, "icons", "kalvo-48.png"), "kalvo-48"))
    with tempfile.TemporaryDirectory() as tmp:
        parts = []
        for group, tiles in (("flags", flags), ("others", others)):
            args = ["montage"]
            for i, (f, label) in enumerate(tiles):
                s = os.path.join(tmp, f"{group}{i:02d}.png")
                # magenta shows what is transparent
                subprocess.run(["convert", f, "-background", "#FF00FF", "-alpha", "remove",
                                "-filter", "point", "-resize", "800%", s], check=True)
                args += ["-label", label, s]
            part = os.path.join(tmp, group + ".png")
            tile = ["-tile", "6x"] if group == "flags" else ["-tile", "x1"]
            args += tile + ["-geometry", "+6+6", "-background", "#E8E8E8", part]
            subprocess.run(args, check=True)
            parts.append(part)
        subprocess.run(["convert", *parts, "-background", "#E8E8E8", "-append", target],
                       check=True)


def main():
    make_flags(ROOT)
    make_buttons(ROOT)
    make_about(ROOT)
    make_cursor(ROOT)
    render_icon(ROOT)
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        preview(ROOT, sys.argv[2])


if __name__ == "__main__":
    main()
