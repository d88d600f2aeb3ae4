#!/usr/bin/env python3
"""Writes the DXF drawings that time the hole orders through holechart-dxf.

    ten_centres.dxf  a few kilobytes: ten circles, three of whose centres
                     step down within the row tolerance, in a block that five
                     nested blocks copy ten times each onto itself, 10^6
                     circles on ten centres
    row_chain.dxf    150,000 circles in rows 0.005 apart, one circle each,
                     anywhere across the sheet, listed in a scrambled order
                     (the row_chain layout of the whole-run benchmark)
    pile.dxf         a few kilobytes: 40,000 different circles on a
                     200 x 200 lattice of pitch 0.00004, all within 0.008 of
                     one another, and one more 0.012 above them: the shape
                     that keeps the hole order quadratic, as many as the
                     default memory budget lets the bridge chart

Run: python3 make_bridge_drawings.py FOLDER; then, for instance,
holechart-dxf --max-memory 20000 FOLDER/ten_centres.dxf OUT.dxf (a million
holes take more than the default memory budget).
"""

import os
import sys


def pairs(*items):
    """Group code and value pairs as an ASCII DXF writes them."""
    return "".join("%3d\n%s\n" % (code, value) for code, value in items)


def drawing(entities, blocks=""):
    text = ""
    if blocks:
        text += pairs((0, "SECTION"), (2, "BLOCKS")) + blocks + pairs((0, "ENDSEC"))
    text += pairs((0, "SECTION"), (2, "ENTITIES")) + entities + pairs((0, "ENDSEC"), (0, "EOF"))
    return text


def circle(x, y, r):
    return pairs((0, "CIRCLE"), (8, "0"), (10, repr(x)), (20, repr(y)), (40, repr(r)))


def block(name, body):
    return pairs((0, "BLOCK"), (8, "0"), (2, name), (70, 0), (10, 0), (20, 0)) + body + \
        pairs((0, "ENDBLK"), (8, "0"))


def insert(name, x, y):
    return pairs((0, "INSERT"), (8, "0"), (2, name), (10, x), (20, y))


RADII = [1.6, 2.5, 3.3, 4.25, 5.5, 6.6, 9.0]


def ten_centres(levels=5):
    heights = [500.008, 500.004, 500.0, 520.0, 520.0, 540.0, 480.0, 480.0, 480.0, 560.0]
    body = "".join(circle(100.0 + c * 7.5, heights[c], RADII[c % 7]) for c in range(10))
    blocks = block("L0", body)
    for level in range(1, levels + 1):
        blocks += block("L%d" % level, insert("L%d" % (level - 1), 0, 0) * 10)
    return drawing(insert("L%d" % levels, 0, 0), blocks)


def row_chain(n=150000):
    circles = []
    for k in range(n):
        m = k * 7919 % n
        circles.append(circle((m * 7919 % 100003) * 0.01, 100.0 + m * 0.005, RADII[k % 7]))
    return drawing("".join(circles))


def pile(step=0.00004):
    """Copies 20 and then 10 times across, then as often upwards."""
    blocks = block("P0", circle(0.0, 0.0, 1.0))
    spans = [(20, step, 0.0), (10, 20 * step, 0.0), (20, 0.0, step), (10, 0.0, 20 * step)]
    for level, (copies, dx, dy) in enumerate(spans, start=1):
        body = "".join(insert("P%d" % (level - 1), repr(i * dx), repr(i * dy))
                       for i in range(copies))
        blocks += block("P%d" % level, body)
    return drawing(insert("P4", 100, 100) + circle(100.0, 100.012, 1.0), blocks)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(folder, exist_ok=True)
    for name, text in (("ten_centres.dxf", ten_centres()), ("row_chain.dxf", row_chain()),
                       ("pile.dxf", pile())):
        with open(os.path.join(folder, name), "w", newline="\n") as out:
            out.write(text)


if __name__ == "__main__":
    main()
