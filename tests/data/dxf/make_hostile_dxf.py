#!/usr/bin/env python3
"""Writes the hostile DXF drawings of the bridge's bad-input catalogue.

Each file is small and shows one way a file from anywhere may try to crash
the bridge, make it take gigabytes, or make it write a drawing that other
programs refuse: declared counts that lie, block references that place
millions of holes, handles at their end, marks on the wrong entities, broken
structure. The catalogue test (tests/holechart_dxf_hostile_test.cpp) says
what the bridge must do with each; the fuzz target takes them as seeds.

Run from anywhere with python3 make_hostile_dxf.py; the files are written
into hostile/ beside this script.
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "hostile")


def pairs(*items):
    """Group code and value pairs as an ASCII DXF writes them."""
    return "".join("%3d\n%s\n" % (code, value) for code, value in items)


def drawing(entities, blocks="", header=""):
    text = ""
    if header:
        text += pairs((0, "SECTION"), (2, "HEADER")) + header + pairs((0, "ENDSEC"))
    if blocks:
        text += pairs((0, "SECTION"), (2, "BLOCKS")) + blocks + pairs((0, "ENDSEC"))
    text += pairs((0, "SECTION"), (2, "ENTITIES")) + entities + pairs((0, "ENDSEC"), (0, "EOF"))
    return text


def circle(x, y, r, *extra):
    return pairs((0, "CIRCLE"), (8, "0"), (10, x), (20, y), (40, r), *extra)


def block(name, body):
    return pairs((0, "BLOCK"), (8, "0"), (2, name), (70, 0), (10, 0), (20, 0)) + body + \
        pairs((0, "ENDBLK"), (8, "0"))


def insert(name, x, y, *extra):
    return pairs((0, "INSERT"), (8, "0"), (2, name), (10, x), (20, y), *extra)


def lwpolyline(count, vertices):
    items = [(0, "LWPOLYLINE"), (8, "0"), (90, count), (70, 0)]
    for x, y in vertices:
        items += [(10, x), (20, y)]
    return pairs(*items)


def nested(levels, copies):
    """Blocks that each place the one below copies times: copies ** levels
    circles from a few hundred bytes."""
    blocks = block("L0", circle(0, 0, 1))
    for level in range(1, levels + 1):
        body = "".join(insert("L%d" % (level - 1), 3 * i, 0) for i in range(copies))
        blocks += block("L%d" % level, body)
    return drawing(insert("L%d" % levels, 0, 0), blocks)


def cases():
    three = circle(10, 10, 2) + circle(20, 10, 2) + circle(30, 10, 2)
    chart_mark = [(1001, "HOLECHART_CHART"), (1000, "hole chart")]
    big_handle = pairs((9, "$ACADVER"), (1, "AC1015"), (9, "$HANDSEED"), (5, "FFFFFFFFFFFFFFFF"))
    return {
        # Declared counts that the data do not hold.
        "lwpolyline_vertex_count": drawing(lwpolyline(1073741824, [(0, 0), (5, 0), (5, 5)])),
        "spline_fit_point_count": drawing(pairs(
            (0, "SPLINE"), (8, "0"), (70, 8), (71, 3), (72, 0), (73, 0), (74, 1431655766),
            (11, 0), (21, 0), (11, 5), (21, 5))),
        "spline_knot_count": drawing(pairs(
            (0, "SPLINE"), (8, "0"), (70, 8), (71, 3), (72, 300000000), (73, 0), (74, 0))),
        "leader_vertex_count": drawing(pairs(
            (0, "LEADER"), (8, "0"), (76, 1431655766), (10, 0), (20, 0), (10, 5), (20, 5))),
        # References that place far more than memory holds.
        "minsert_1000_by_1000": drawing(
            insert("HOLE", 0, 0, (70, 1000), (71, 1000), (44, 10), (45, 10)),
            block("HOLE", circle(0, 0, 1))),
        "nested_blocks_million_holes": nested(10, 4),
        # Handles at their end.
        "handseed_at_its_end": drawing(circle(10, 10, 2), header=big_handle),
        "entity_handle_at_its_end": drawing(
            circle(10, 10, 2, (5, "FFFFFFFFFFFFFFFF")),
            header=pairs((9, "$ACADVER"), (1, "AC1015"))),
        # Only the chart's own lines and texts are an earlier chart.
        "marked_circle_is_a_hole": drawing(circle(10, 10, 2, *chart_mark)),
        "marked_insert_is_charted": drawing(
            insert("HOLE", 10, 10, *chart_mark), block("HOLE", circle(0, 0, 2))),
        # Colours beyond the range of an int.
        "colours_at_the_ends_of_int": drawing(
            circle(10, 10, 2, (62, -2147483648)) + circle(20, 10, 2, (62, 2147483648))),
        # A block whose ENDBLK is missing ends with its section.
        "block_without_endblk": drawing(three, pairs(
            (0, "BLOCK"), (8, "0"), (2, "OPEN"), (70, 0), (10, 0), (20, 0)) + circle(0, 0, 1)),
        "negative_radius": drawing(circle(10, 10, -10)),
        "zero_scales": drawing(
            insert("HOLE", 10, 10, (41, 0), (42, 0)), block("HOLE", circle(0, 0, 2))),
        "radius_no_number": drawing(circle(10, 10, "abc")),
        # Every value must fit its code, also one the bridge does not use:
        # other readers convert them all.
        "unused_value_no_number": drawing(circle(10, 10, 2, (1001, "OTHER"), (1040, "1EED"))),
        "header_variable_without_value": drawing(
            three, header=pairs((9, "$ACADVER"), (9, "$INSUNITS"), (70, 4))),
        "entity_in_header": drawing(three, header=pairs((9, "$INSUNITS"), (70, 4)) + circle(1, 1, 1)),
        # Structure a reader needs to read the drawing back.
        "entities_without_endsec": drawing(three).replace(pairs((0, "ENDSEC")), ""),
        "polyline_without_seqend": drawing(pairs(
            (0, "POLYLINE"), (8, "0"), (66, 1), (70, 0), (0, "VERTEX"), (8, "0"), (10, 0),
            (20, 0), (0, "VERTEX"), (8, "0"), (10, 5), (20, 0)) + three),
        "section_inside_entities": drawing(three + pairs((0, "SECTION"), (2, "BLOCKS"))),
        "cut_after_a_pair": drawing(three)[:-len("  0\nEOF\n")] + "\n",
    }


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, text in cases().items():
        with open(os.path.join(OUT, name + ".dxf"), "w", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
