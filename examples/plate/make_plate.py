#!/usr/bin/env python3
"""Writes the example drawing of a machined mounting plate.

The plate is 200 x 120 x 20 mm, placed on an A3 sheet with its lower left
corner at (40, 90). It carries 31 hole positions of eight kinds: through
holes, M6 and M8 tapped holes (core circle plus a 270-degree thread arc),
counterbores, blind dowel and pin holes with their depth in the tag, and
back-side holes drawn hidden. The chart window lies right of the plate and
is low enough that the chart needs a second column.

Run from anywhere; the files are written beside this script:
    Object.fad          the drawing's entities, one per line
    infoHoleTable.dat   the chart settings
    arguments.txt       window x1 y1 x2 y2 and origin x y, on one line
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Lower left corner of the plate on the sheet: the chart's origin.
OX, OY = 40.0, 90.0
WIDTH, HEIGHT = 200.0, 120.0
CORNER = 6.0  # fillet radius and chamfer leg

WINDOW = (255.0, 62.0, 405.0, 280.0)


def num(v):
    """A real as a front end writes it: up to six decimals, no noise."""
    text = f"{v:.6f}".rstrip("0")
    if text.endswith("."):
        text += "0"
    if text == "-0.0":
        text = "0.0"
    return text


class Drawing:
    def __init__(self):
        self.lines = []
        self.number = 100
        self.handle = 0x2A0

    def head(self, layer, color, ltype, kind, tag, shape, lstyle=None):
        self.number += 1
        self.handle += 1
        lstyle = lstyle if lstyle is not None else ltype
        return (f"{self.number} {self.handle:X} {layer} {color} {ltype} {lstyle} "
                f"{kind} 0 {tag} {shape}")

    def add(self, head, *values):
        self.lines.append(" ".join([head] + [v if isinstance(v, str) else num(v)
                                              for v in values]))

    def line(self, layer, color, ltype, x1, y1, x2, y2):
        self.add(self.head(layer, color, ltype, "LINE", "NO", "L"), x1, y1, x2, y2)

    def pline_line(self, x1, y1, x2, y2):
        self.add(self.head("OUTLINE", 7, "ByL", "PLINE", "NO", "L"),
                 x1, y1, x2, y2, 0.0, 0.0)

    def pline_arc(self, cx, cy, r, start, end):
        p1 = polar(cx, cy, r, start)
        p2 = polar(cx, cy, r, end)
        sweep = (end - start) % 360.0
        bulge = math.tan(math.radians(sweep) / 4.0)
        self.add(self.head("OUTLINE", 7, "ByL", "PLINE", "NO", "A"),
                 p1[0], p1[1], p2[0], p2[1], bulge, 0.0, cx, cy, r, start, end)

    def circle(self, x, y, r, tag="NO", layer="HOLES", ltype="ByL"):
        self.add(self.head(layer, 4, ltype, "CIRCLE", tag, "C"),
                 x + r, y, x + r, y, x, y, r, 0.0, 360.0)

    def thread_arc(self, x, y, r, tag="NO"):
        # The thread's major diameter, drawn three quarters round.
        self.add(self.head("THREAD", 1, "ByL", "ARC", tag, "A"),
                 x + r, y, x, y - r, x, y, r, 0.0, 270.0)

    def text(self, x, y, height, justify, words, kind="TEXT", layer="TEXT"):
        self.add(self.head(layer, 2, "ByL", kind, "NO", "T"), x, y, height, 0.0,
                 justify, words)

    def dimension(self, dim_line, ext1, ext2, text_pos, angle, value):
        """A linear dimension. The record holds the two measured points (p1,
        p2), the ends of the dimension line (p4, p5), the measured value and
        text height, the text position (p6) and the text angle."""
        if angle == 0.0:
            start, end = (ext1[0], dim_line[1]), (ext2[0], dim_line[1])
        else:
            start, end = (dim_line[0], ext1[1]), (dim_line[0], ext2[1])
        self.add(self.head("DIM", 3, "ByL", "DIMENSION", "NO", "L"),
                 "0", "ISO-25", ext1[0], ext1[1], ext2[0], ext2[1],
                 start[0], start[1], end[0], end[1], value, 2.5, 0.0, 0.0,
                 text_pos[0], text_pos[1], angle, "<>")


def polar(cx, cy, r, angle):
    a = math.radians(angle)
    return (round(cx + r * math.cos(a), 6), round(cy + r * math.sin(a), 6))


def P(x, y):
    """A point given on the plate, placed on the sheet."""
    return (OX + x, OY + y)


def main():
    d = Drawing()

    # Sheet border and title block lines.
    for x1, y1, x2, y2 in [(10, 10, 410, 10), (410, 10, 410, 287), (410, 287, 10, 287),
                           (10, 287, 10, 10), (10, 40, 240, 40), (240, 40, 240, 10)]:
        d.line("FRAME", 7, "ByL", x1, y1, x2, y2)

    # Outline, counter-clockwise from the bottom edge: fillets at the lower
    # left and upper right corners, 45-degree chamfers at the other two.
    c = CORNER
    d.pline_line(*P(c, 0), *P(WIDTH - c, 0))
    d.pline_line(*P(WIDTH - c, 0), *P(WIDTH, c))
    d.pline_line(*P(WIDTH, c), *P(WIDTH, HEIGHT - c))
    d.pline_arc(*P(WIDTH - c, HEIGHT - c), c, 0.0, 90.0)
    d.pline_line(*P(WIDTH - c, HEIGHT), *P(c, HEIGHT))
    d.pline_line(*P(c, HEIGHT), *P(0, HEIGHT - c))
    d.pline_line(*P(0, HEIGHT - c), *P(0, c))
    d.pline_arc(*P(c, c), c, 180.0, 270.0)

    # Centre lines of the middle row and column.
    d.line("CENTER", 1, "CENTER", *P(-6, 60), *P(WIDTH + 6, 60))
    d.line("CENTER", 1, "CENTER", *P(100, -6), *P(100, HEIGHT + 6))

    # Corner holes, through, diameter 9.
    for x, y in [(10, 10), (190, 10), (10, 110), (190, 110)]:
        d.circle(*P(x, y), 4.5)

    # M6 tapped holes along the top and bottom edges.
    for x, y in [(50, 105), (100, 105), (150, 105), (50, 15), (100, 15), (150, 15)]:
        d.circle(*P(x, y), 2.5)
        d.thread_arc(*P(x, y), 3.0)

    # Clearance holes for M6, diameter 6.6, through.
    for x, y in [(20, 60), (180, 60), (60, 80), (140, 80), (60, 40), (140, 40)]:
        d.circle(*P(x, y), 3.3)

    # Counterbores for M5 socket head screws: 5.5 through, 9.5 deep 5.4.
    for x, y in [(70, 60), (130, 60), (100, 85), (100, 35)]:
        d.circle(*P(x, y), 4.75, tag="2_5.4")
        d.circle(*P(x, y), 2.75, tag="2_0")

    # Dowel holes 6 H7, blind, 12.5 deep.
    for x, y in [(30, 95), (170, 25)]:
        d.circle(*P(x, y), 3.0, tag="2_12.5")

    # Back-side holes, diameter 5, seen hidden from the front.
    for x, y in [(80, 95), (120, 95), (80, 25), (120, 25)]:
        d.circle(*P(x, y), 2.5, layer="HIDDEN", ltype="HIDDEN")

    # M8 tapped holes, 16 deep, on the middle row.
    for x, y in [(40, 60), (100, 60), (160, 60)]:
        d.thread_arc(*P(x, y), 4.0, tag="1_16")
        d.circle(*P(x, y), 3.4, tag="1_16")

    # Pin holes, diameter 4, 8 deep.
    for x, y in [(170, 95), (30, 25)]:
        d.circle(*P(x, y), 2.0, tag="0_8")

    # Overall size and two hole spacings.
    d.dimension(P(0, -15), P(0, 0), P(WIDTH, 0), P(100, -15), 0.0, 200.0)
    d.dimension(P(-15, 0), P(0, 0), P(0, HEIGHT), P(-15, 60), 90.0, 120.0)
    d.dimension(P(10, 128), P(10, 110), P(190, 110), P(100, 128), 0.0, 180.0)
    d.dimension(P(214, 10), P(190, 10), P(190, 110), P(214, 60), 90.0, 100.0)

    # Title block and notes.
    d.text(15, 30, 5.0, "BL", "MOUNTING_PLATE")
    d.text(15, 20, 3.5, "BL", "DRG_NO._MP-2041_REV_B")
    d.text(15, 13, 2.5, "BL", "MATERIAL:_AlMg4.5Mn_(EN_AW-5083)")
    d.text(150, 20, 3.5, "BL", "SCALE_1:1")
    d.text(150, 13, 2.5, "BL", "THICKNESS_20")
    d.text(15, 70, 2.5, "BL",
           "NOTES:\\P1._BREAK_ALL_SHARP_EDGES_0.5X45\\P2._GENERAL_TOLERANCES_ISO_2768-mK"
           "\\P3._HIDDEN_HOLES_FROM_THE_BACK_SIDE",
           kind="MTEXT")

    with open(os.path.join(HERE, "Object.fad"), "w", newline="\n") as out:
        out.write("\n".join(d.lines) + "\n")
    with open(os.path.join(HERE, "infoHoleTable.dat"), "w", newline="\n") as out:
        out.write("1 HoleChart 3 N 2.5\n")
    with open(os.path.join(HERE, "arguments.txt"), "w", newline="\n") as out:
        out.write(" ".join(num(v) for v in WINDOW + (OX, OY)) + "\n")


if __name__ == "__main__":
    main()
