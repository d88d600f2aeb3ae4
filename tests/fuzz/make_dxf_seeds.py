#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_holechart_dxf: small drawings of every
kind the bridge reads (sound ones, and the hostile ones of the bad-input
catalogue), so that the fuzzer starts from DXF that reaches every part of
the bridge rather than from bytes that stop at the first pair.

Run from anywhere with python3 make_dxf_seeds.py; the files are written
into corpus/fuzz_holechart_dxf/ beside this script.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "data", "dxf"))
from make_hostile_dxf import block, cases, circle, drawing, insert, pairs  # noqa: E402

OUT = os.path.join(HERE, "corpus", "fuzz_holechart_dxf")


def arc(x, y, r, start, end, *extra):
    return pairs((0, "ARC"), (8, "0"), (10, x), (20, y), (40, r), (50, start), (51, end), *extra)


def header_and_tables():
    """A header with a version and a handle seed, and the LAYER and APPID
    tables, as a drawing from R13 on holds them."""
    header = pairs((9, "$ACADVER"), (1, "AC1015"), (9, "$HANDSEED"), (5, "2F"),
                   (9, "$INSUNITS"), (70, 4))
    tables = pairs((0, "SECTION"), (2, "TABLES"),
                   (0, "TABLE"), (2, "LAYER"), (5, "2"), (70, 1),
                   (0, "LAYER"), (5, "10"), (2, "HOLES"), (70, 0), (62, 1), (6, "HIDDEN"),
                   (0, "ENDTAB"),
                   (0, "TABLE"), (2, "APPID"), (5, "9"), (70, 1),
                   (0, "APPID"), (5, "12"), (2, "HOLECHART"), (70, 0),
                   (0, "ENDTAB"), (0, "ENDSEC"))
    return pairs((0, "SECTION"), (2, "HEADER")) + header + pairs((0, "ENDSEC")) + tables


def sound():
    tag = [(1001, "HOLECHART"), (1000, "2_12.5")]
    mark = [(1001, "HOLECHART_CHART"), (1000, "hole chart")]
    row = mark + [(1000, "hole row"), (1040, "1.0"), (1040, "10.0"), (1040, "10.0")]
    return {
        "holes": drawing(circle(10, 10, 2, *tag) + arc(10, 10, 2.5, 0, 270) +
                         arc(30, 10, 3, 0, 180) + arc(30, 10, 3, 180, 0) + circle(50, 10, 4)),
        "polylines": drawing(
            pairs((0, "LWPOLYLINE"), (8, "0"), (90, 2), (70, 1), (10, 46), (20, 20), (42, 1),
                  (10, 54), (20, 20), (42, 1)) +
            pairs((0, "POLYLINE"), (8, "0"), (66, 1), (70, 1),
                  (0, "VERTEX"), (8, "0"), (10, 0), (20, 0), (42, 0.5),
                  (0, "VERTEX"), (8, "0"), (10, 5), (20, 0),
                  (0, "VERTEX"), (8, "0"), (10, 5), (20, 5), (0, "SEQEND"), (8, "0"))),
        "blocks": drawing(
            insert("OUTER", 50, 50, (41, 2), (42, 2), (50, 30)) +
            insert("HOLE", 0, 0, (70, 3), (71, 2), (44, 10), (45, 10)) +
            insert("HOLE", 20, 0, (210, 0), (220, 0), (230, -1)),
            block("HOLE", circle(0, 0, 1) + arc(0, 0, 1.5, 0, 270)) +
            block("OUTER", insert("HOLE", 5, 5))),
        "annotation": drawing(
            pairs((0, "TEXT"), (8, "0"), (10, 0), (20, 0), (40, 2.5), (1, "NOTE"), (50, 30),
                  (72, 1), (11, 5), (21, 5), (73, 2)) +
            pairs((0, "MTEXT"), (8, "0"), (10, 0), (20, 20), (40, 2.5), (41, 30), (71, 5),
                  (3, "first part "), (1, "two\\Plines"), (11, -1), (21, 0)) +
            pairs((0, "DIMENSION"), (8, "0"), (2, "*D1"), (10, 0), (20, 10), (11, 5),
                  (21, 12), (70, 32), (13, 0), (23, 0), (14, 10), (24, 0), (50, 0)) +
            pairs((0, "ATTRIB"), (8, "0"), (10, 1), (20, 1), (40, 2), (1, "A"), (2, "T"))),
        "curves": drawing(
            pairs((0, "ELLIPSE"), (8, "0"), (10, 0), (20, 0), (11, 5), (21, 0), (40, 0.5),
                  (41, 0), (42, 3.14)) +
            pairs((0, "SPLINE"), (8, "0"), (70, 8), (71, 3), (72, 8), (73, 4), (74, 0),
                  (40, 0), (40, 0), (40, 0), (40, 0), (40, 1), (40, 1), (40, 1), (40, 1),
                  (10, 0), (20, 0), (10, 5), (20, 10), (10, 10), (20, -5), (10, 15), (20, 0)) +
            pairs((0, "LEADER"), (8, "0"), (76, 2), (10, 0), (20, 0), (10, 5), (20, 5)) +
            pairs((0, "HATCH"), (8, "0"), (10, 0), (20, 0), (2, "SOLID"), (70, 1), (91, 2),
                  (92, 2), (72, 1), (73, 1), (93, 3), (10, 0), (20, 0), (42, 0.5), (10, 5),
                  (20, 0), (10, 5), (20, 5), (97, 0),
                  (92, 1), (93, 2), (72, 1), (10, 0), (20, 0), (11, 5), (21, 5),
                  (72, 2), (10, 3), (20, 3), (40, 1), (50, 0), (51, 90), (73, 1), (97, 0),
                  (75, 0), (76, 1), (98, 1), (10, 1), (20, 1)) +
            pairs((0, "SOLID"), (8, "0"), (10, 0), (20, 0), (11, 1), (21, 0), (12, 0),
                  (22, 1), (13, 1), (23, 1)) +
            pairs((0, "MLINE"), (8, "0"), (10, 0), (20, 0), (11, 3), (21, 4))),
        "earlier_chart": header_and_tables() + drawing(
            circle(10, 10, 2) + pairs((0, "LINE"), (5, "20"), (8, "HoleChart"), (10, 0),
                                       (20, 0), (11, 1), (21, 1), *mark) +
            pairs((0, "TEXT"), (5, "21"), (8, "HoleChart"), (10, 10), (20, 10), (40, 2.5),
                  (1, "1"), *row)),
    }


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, text in {**sound(), **cases()}.items():
        with open(os.path.join(OUT, name + ".dxf"), "w", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
