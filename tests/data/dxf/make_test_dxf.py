#!/usr/bin/env python3
"""Writes the DXF drawings for the holechart-dxf tests and example.

The drawings are made with ezdxf (Debian package python3-ezdxf), a DXF
writer that has nothing in common with the program under test. Beside each
test drawing goes the exchange file that a front end would write for the
same entities, worked out here from the ezdxf entities on their own terms:
the tests read both and expect the same records, and the same chart from
holechart and holechart-dxf.

    kinds.dxf, kinds.fad          every mapped kind, DXF R2000
    kinds_r12.dxf, kinds_r12.fad  the kinds that R12 has, DXF R12
    kinds_holes.fad, kinds_r12_holes.fad
                                  the holes the chart sees: the model-space
                                  holes and those of the block reference
    no_holes.dxf                  lines and texts only
    blocks.dxf, blocks_holes.fad  holes in nested, rotated, scaled, mirrored
                                  and arrayed block references, placed by
                                  ezdxf's own explosion of the references
    rounds.dxf, rounds_holes.fad  circles drawn as arcs and as a donut, a
                                  tapped-hole symbol beside a profile with a
                                  270-degree arc, round outlines that are no
                                  holes, a line of the user's on the chart layer
    extents.dxf                   a spline and an ellipse that widen the drawing
    inch.dxf, tiny.dxf, huge.dxf  drawings of other units and sizes
    views.dxf                     a flange in two views side by side, the
                                  holes of each on a layer of its own
    tolerant.dxf                  blanks around group codes, "EOF " with a
                                  blank, CR LF line ends, a 4,000-character text
    ../../../examples/plate-dxf/plate.dxf
                                  the plate of examples/plate as a DXF
                                  drawing, converted from its Object.fad

Run from anywhere with /usr/bin/python3 make_test_dxf.py; the files are
written beside this script and into examples/plate-dxf/.
"""

import math
import os

import ezdxf
from ezdxf.enums import TextEntityAlignment

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
TAG_APP = "HOLECHART"

# The same bytes on every run: no time stamps or random GUIDs.
ezdxf.options.write_fixed_meta_data_for_testing = True


def num(v):
    """A real with every digit the reader needs to get it back exactly."""
    return repr(float(v))


def token(text, empty_as=""):
    """A text as one exchange-file token."""
    if text == "":
        return empty_as
    return "".join("_" if ord(c) <= 0x20 or ord(c) == 0x7F else c for c in text)


def norm(angle):
    a = math.fmod(angle, 360.0)
    if a < 0.0:
        a += 360.0
    return 0.0 if a >= 360.0 else a


def polar(centre, radius, angle):
    a = math.radians(angle)
    return (centre[0] + radius * math.cos(a), centre[1] + radius * math.sin(a))


def direction(a, b):
    return norm(math.degrees(math.atan2(b[1] - a[1], b[0] - a[0])))


def foot(p, through, angle):
    ux, uy = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    t = (p[0] - through[0]) * ux + (p[1] - through[1]) * uy
    return (through[0] + t * ux, through[1] + t * uy)


def bulge_arc(a, b, bulge):
    """Centre, radius and counter-clockwise start and end angle of a bulged
    segment, from its swept angle: 4 atan(bulge)."""
    sweep = 4.0 * math.atan(abs(bulge))
    chord = math.dist(a, b)
    radius = chord / (2.0 * math.sin(sweep / 2.0))
    # Walk from the chord's middle towards the centre, perpendicular to the
    # chord: left of a -> b for a counter-clockwise arc under a half turn.
    mx, my = (a[0] + b[0]) / 2.0, (a[1] + b[1]) / 2.0
    ux, uy = (b[0] - a[0]) / chord, (b[1] - a[1]) / chord
    left = (-uy, ux) if bulge > 0 else (uy, -ux)
    h = radius * math.cos(sweep / 2.0)
    centre = (mx + left[0] * h, my + left[1] * h)
    sa, sb = direction(centre, a), direction(centre, b)
    return centre, radius, (sa, sb) if bulge > 0 else (sb, sa)


class Expected:
    """The exchange-file lines for the model-space entities of a drawing."""

    def __init__(self, doc):
        self.doc = doc
        self.lines = []
        self.id = 0
        # For entities placed by a block reference: the layer that layer 0
        # stands for.
        self.inherited_layer = None

    def head(self, e, kind, shape):
        self.id += 1
        dxf = e.dxf
        layer_name = dxf.get("layer", "0")
        if layer_name == "0" and self.inherited_layer is not None:
            layer_name = self.inherited_layer
        layer = self.doc.layers.get(layer_name) if self.doc.layers.has_entry(layer_name) else None
        color = dxf.get("color", 256)
        if color == 256:
            color = abs(layer.dxf.color) if layer is not None else 7
        elif color == 0:
            color = 1
        ltype = dxf.get("linetype", "BYLAYER")
        if ltype.upper() == "BYLAYER":
            line_type = "ByL"
            line_style = token(layer.dxf.linetype, "ByL") if layer is not None else "ByL"
        elif ltype.upper() == "BYBLOCK":
            line_type = line_style = "ByB"
        else:
            line_type = line_style = token(ltype)
        tag = "NO"
        if e.has_xdata(TAG_APP):
            for code, value in e.get_xdata(TAG_APP):
                if code == 1000:
                    tag = token(value, "NO")
                    break
        handle = dxf.handle.upper() if dxf.handle else "0"
        return [str(self.id), handle, token(layer_name, "0"), str(color), line_type, line_style,
                kind, "0", tag, shape]

    def add(self, fields):
        self.lines.append(" ".join(f if isinstance(f, str) else num(f) for f in fields))

    def circle(self, e, centre):
        r = e.dxf.radius
        p = (centre[0] + r, centre[1])
        self.add(self.head(e, "CIRCLE", "C") + [*p, *p, *centre, r, 0.0, 360.0])

    def arc(self, e, centre, start, end):
        r = e.dxf.radius
        self.add(self.head(e, "ARC", "A") + [*polar(centre, r, start), *polar(centre, r, end),
                                             *centre, r, start, end])

    def line(self, e):
        self.add(self.head(e, "LINE", "L") + [*e.dxf.start.vec2, *e.dxf.end.vec2])

    def text(self, e, kind, at, height, angle, justify, text):
        self.add(self.head(e, kind, "T") + [*at, height, angle, justify, token(text)])

    def polyline(self, e, vertices, closed):
        """vertices: (x, y, bulge) in drawing coordinates."""
        head = self.head(e, "PLINE", "L")
        first = True
        segments = list(zip(vertices, vertices[1:]))
        if closed and vertices[-1][:2] != vertices[0][:2]:
            segments.append((vertices[-1], vertices[0]))
        for a, b in segments:
            if not first:
                self.id += 1
            first = False
            fields = list(head)
            fields[0] = str(self.id)
            if a[2] != 0.0:
                centre, radius, (start, end) = bulge_arc(a[:2], b[:2], a[2])
                fields[9] = "A"
                self.add(fields + [*a[:2], *b[:2], a[2], 0.0, *centre, radius, start, end])
            else:
                self.add(fields + [*a[:2], *b[:2], 0.0, 0.0])

    def dimension(self, e, p1, p2, p4, p5, value, angle):
        dxf = e.dxf
        text = dxf.get("text", "")
        height = self.doc.header.get("$DIMTXT", 2.5) * self.doc.header.get("$DIMSCALE", 1.0)
        self.add(self.head(e, "DIMENSION", "L") + [
            str(dxf.dimtype & 7), token(dxf.dimstyle, "Standard"), *p1, *p2, *p4, *p5,
            value, height, 0.0, 0.0, *dxf.text_midpoint.vec2, angle, token(text, "<>")])

    def write(self, path):
        with open(path, "w", newline="\n") as out:
            out.write("\n".join(self.lines) + "\n")


def tag(e, value):
    e.set_xdata(TAG_APP, [(1000, value)])
    return e


def new_drawing(version, units=4):
    doc = ezdxf.new(version, setup=True, units=units)
    doc.header["$PDMODE"] = 3
    doc.header["$PDSIZE"] = 1.5
    doc.header["$DIMTXT"] = 3.5
    doc.header["$DIMSCALE"] = 1.0
    doc.appids.new(TAG_APP)
    doc.appids.new("OTHER")
    for name, color, ltype in [("HOLES", 4, "Continuous"), ("THREAD", 1, "Continuous"),
                               ("HIDDEN", 5, "HIDDEN"), ("OUTLINE", 7, "Continuous"),
                               ("NOTES", 2, "Continuous"), ("DIM", 3, "Continuous")]:
        doc.layers.new(name, dxfattribs={"color": color, "linetype": ltype})
    return doc


def make_kinds(version, path_dxf, path_fad):
    modern = version != "R12"
    doc = new_drawing(version)
    msp = doc.modelspace()
    x = Expected(doc)

    # Lines: by layer, with their own colour and line type, and by block.
    e = msp.add_line((0, 0), (120, 0), dxfattribs={"layer": "OUTLINE"})
    x.line(e)
    e = msp.add_line((0, 0), (0, 80), dxfattribs={"layer": "OUTLINE", "color": 1,
                                                  "linetype": "DASHED"})
    x.line(e)
    e = msp.add_line((120, 0), (120, 80), dxfattribs={"layer": "OUTLINE", "color": 0,
                                                      "linetype": "BYBLOCK"})
    x.line(e)

    # A through hole, a tapped hole (circle and a 270-degree thread arc at
    # one centre), a tagged dowel hole, a tagged tapped hole, a hole drawn
    # hidden through its layer's line type.
    e = msp.add_circle((20, 20), 4.5, dxfattribs={"layer": "HOLES"})
    x.circle(e, (20, 20))
    e = msp.add_circle((50, 20), 2.5, dxfattribs={"layer": "HOLES"})
    x.circle(e, (50, 20))
    e = msp.add_arc((50, 20), 3.0, 0, 270, dxfattribs={"layer": "THREAD"})
    x.arc(e, (50, 20), 0.0, 270.0)
    e = tag(msp.add_circle((80, 20), 3.0, dxfattribs={"layer": "HOLES"}), "2_12.5")
    x.circle(e, (80, 20))
    e = tag(msp.add_circle((50, 60), 3.4, dxfattribs={"layer": "HOLES"}), "1_16")
    x.circle(e, (50, 60))
    e = tag(msp.add_arc((50, 60), 4.0, 0, 270, dxfattribs={"layer": "THREAD"}), "1_16")
    x.arc(e, (50, 60), 0.0, 270.0)
    e = msp.add_circle((80, 60), 2.5, dxfattribs={"layer": "HIDDEN"})
    x.circle(e, (80, 60))

    # A tapped hole drawn from below (extrusion -Z, what mirroring makes):
    # its own coordinates have x reversed, and the arc from 270 to 180 there
    # runs from 0 to 270 in the drawing.
    e = msp.add_circle((-20, 60), 2.5, dxfattribs={"layer": "HOLES", "extrusion": (0, 0, -1)})
    x.circle(e, (20, 60))
    e = msp.add_arc((-20, 60), 3.0, 270, 180,
                    dxfattribs={"layer": "THREAD", "extrusion": (0, 0, -1)})
    x.arc(e, (20, 60), 0.0, 270.0)

    # Extended data of another application is no tag.
    e = msp.add_circle((110, 20), 1.5, dxfattribs={"layer": "HOLES"})
    e.set_xdata("OTHER", [(1000, "5_5")])
    x.circle(e, (110, 20))
    # A circle standing upright is no hole of the drawing: left out.
    msp.add_circle((0, 0), 5.0, dxfattribs={"layer": "HOLES", "extrusion": (1, 0, 0)})

    # Texts: left on the baseline, bottom centre, middle centre and rotated.
    e = msp.add_text("MOUNTING PLATE", dxfattribs={"layer": "NOTES", "height": 5.0})
    e.set_placement((0, -10))
    x.text(e, "TEXT", (0.0, -10.0), 5.0, 0.0, "BL", "MOUNTING PLATE")
    e = msp.add_text("%%C10 H7", dxfattribs={"layer": "NOTES", "height": 3.5})
    e.set_placement((60, -10), align=TextEntityAlignment.BOTTOM_CENTER)
    x.text(e, "TEXT", (60.0, -10.0), 3.5, 0.0, "BC", "%%C10 H7")
    e = msp.add_text("TURNED", dxfattribs={"layer": "NOTES", "height": 2.5, "rotation": 30})
    e.set_placement((100, -10), align=TextEntityAlignment.MIDDLE_CENTER)
    x.text(e, "TEXT", (100.0, -10.0), 2.5, 30.0, "MC", "TURNED")

    if modern:
        # Paragraphs stay as the \P code; a text longer than the record
        # holds comes in chunks and is cut by the reader.
        words = "NOTES:\\P1. BREAK ALL SHARP EDGES" + " AND DEBURR" * 30
        e = msp.add_mtext(words, dxfattribs={"layer": "NOTES", "char_height": 2.5,
                                             "insert": (0, -30), "attachment_point": 5,
                                             "rotation": 45})
        x.text(e, "MTEXT", (0.0, -30.0), 2.5, 45.0, "MC", words)

    e = msp.add_point((5, 5), dxfattribs={"layer": "NOTES"})
    x.add(x.head(e, "POINT", "L") + [5.0, 5.0, "3", 1.5])
    e = msp.add_solid([(10, 70), (14, 70), (10, 74), (14, 74)], dxfattribs={"layer": "NOTES"})
    x.add(x.head(e, "SOLID", "L") + [10.0, 70.0, 14.0, 70.0, 10.0, 74.0, 14.0, 74.0])

    # Polylines: a closed slot with a counter-clockwise and a clockwise arc
    # and its closing segment, a segment of more than a half turn (a hole by
    # the chart's rule, whatever its kind), one drawn from below.
    slot = [(130.0, 0.0, 0.0), (150.0, 0.0, 0.5), (150.0, 20.0, -0.5), (130.0, 20.0, 0.0)]
    if modern:
        e = msp.add_lwpolyline(slot, format="xyb", close=True,
                               dxfattribs={"layer": "OUTLINE"})
        x.polyline(e, slot, True)
        big = [(170.0, 10.0, 2.0), (176.0, 10.0, 0.0)]
        e = msp.add_lwpolyline(big, format="xyb", dxfattribs={"layer": "HOLES"})
        x.polyline(e, big, False)
        below = [(-190.0, 0.0, 0.4), (-200.0, 10.0, 0.0)]
        e = msp.add_lwpolyline(below, format="xyb", dxfattribs={"layer": "OUTLINE",
                                                                "extrusion": (0, 0, -1)})
        x.polyline(e, [(190.0, 0.0, -0.4), (200.0, 10.0, 0.0)], False)
    square = [(130.0, 40.0, 0.0), (150.0, 40.0, 1.0), (150.0, 60.0, 0.0), (130.0, 60.0, 0.0)]
    e = msp.add_polyline2d(square, format="xyb", close=True, dxfattribs={"layer": "OUTLINE"})
    x.polyline(e, square, True)

    # Dimensions: the measured points, the ends of the dimension line, the
    # measured value, the text height, text position and angle.
    def linear(base, p1, p2, angle, text="<>"):
        e = msp.add_linear_dim(base=base, p1=p1, p2=p2, angle=angle, text=text,
                               dxfattribs={"layer": "DIM"})
        e.render()
        d = e.dimension
        a, b = d.dxf.defpoint2.vec2, d.dxf.defpoint3.vec2
        on = d.dxf.defpoint.vec2
        p4, p5 = foot(a, on, angle), foot(b, on, angle)
        x.dimension(d, a, b, p4, p5, math.dist(p4, p5), norm(angle))

    linear((0, -20), (0, 0), (120, 0), 0)
    if modern:
        linear((-20, 40), (0, 0), (30, 50), 30, text="ABOUT 40")
        e = msp.add_aligned_dim(p1=(20, 20), p2=(50, 60), distance=8,
                                dxfattribs={"layer": "DIM"})
        e.render()
        d = e.dimension
        a, b = d.dxf.defpoint2.vec2, d.dxf.defpoint3.vec2
        angle = direction(a, b)
        on = d.dxf.defpoint.vec2
        x.dimension(d, a, b, foot(a, on, angle), foot(b, on, angle), math.dist(a, b), angle)

        e = msp.add_radius_dim(center=(20, 20), radius=4.5, angle=45, dxfattribs={"layer": "DIM"})
        e.render()
        d = e.dimension
        a, b = d.dxf.defpoint.vec2, d.dxf.defpoint4.vec2
        x.dimension(d, a, b, a, b, math.dist(a, b), 0.0)

        e = msp.add_diameter_dim(center=(80, 20), radius=3.0, angle=135,
                                 dxfattribs={"layer": "DIM"})
        e.render()
        d = e.dimension
        a, b = d.dxf.defpoint4.vec2, d.dxf.defpoint.vec2
        x.dimension(d, a, b, a, b, math.dist(a, b), 0.0)

        e = msp.add_angular_dim_3p(base=(140, 100), center=(130, 80), p1=(150, 80),
                                   p2=(130, 100), dxfattribs={"layer": "DIM"})
        e.render()
        d = e.dimension
        a, b, vertex = d.dxf.defpoint2.vec2, d.dxf.defpoint3.vec2, d.dxf.defpoint4.vec2
        x.dimension(d, a, b, a, b, norm(direction(vertex, b) - direction(vertex, a)), 0.0)

        e = msp.add_angular_dim_2l(base=(175, 95), line1=((160, 80), (190, 80)),
                                   line2=((160, 80), (180, 100)), dxfattribs={"layer": "DIM"})
        e.render()
        d = e.dimension
        a, b = d.dxf.defpoint3.vec2, d.dxf.defpoint.vec2
        first = direction(d.dxf.defpoint2.vec2, a)
        second = direction(d.dxf.defpoint4.vec2, b)
        between = norm(second - first)
        x.dimension(d, a, b, a, b, 360.0 - between if between > 180.0 else between, 0.0)

        e = msp.add_ordinate_x_dim(feature_location=(50, 60), offset=(0, 30),
                                   dxfattribs={"layer": "DIM"})
        e.render()
        d = e.dimension
        a, b = d.dxf.defpoint2.vec2, d.dxf.defpoint3.vec2
        x.dimension(d, a, b, a, b, abs(a[0] - d.dxf.defpoint.vec2[0]), 0.0)

        # A long layer name with blanks: one token, cut to the record's field.
        long_layer = "A layer with blanks in a name that runs on far past fifty-one characters"
        doc.layers.new(long_layer, dxfattribs={"color": 6})
        e = msp.add_line((0, 90), (10, 90), dxfattribs={"layer": long_layer})
        x.line(e)

        # Paper space is not the drawing.
        doc.layout("Layout1").add_circle((50, 50), 4.0)

    # A block reference: its circle is charted where the reference puts it.
    block = doc.blocks.new("BOLT")
    block.add_circle((0, 0), 3.0)
    ref = msp.add_blockref("BOLT", (200, 200))

    doc.saveas(path_dxf)
    x.write(path_fad)
    holes = Expected(doc)
    holes.lines = [line for line in x.lines if line.split()[6] in ("CIRCLE", "ARC", "PLINE")]
    holes.id = x.id
    placed_holes(holes, ref)
    holes.write(path_fad.replace(".fad", "_holes.fad"))


def wcs_round(e):
    """Centre, radius and counter-clockwise start and end angle of a CIRCLE
    or ARC in drawing coordinates, whatever its extrusion."""
    centre = e.ocs().to_wcs(e.dxf.center).vec2
    if e.dxftype() == "CIRCLE":
        return centre, None
    a, b = e.start_point.vec2, e.end_point.vec2
    if e.dxf.extrusion.z < 0:
        a, b = b, a
    return centre, (direction(centre, a), direction(centre, b))


def placed_holes(x, ref, layer=None):
    """The holes a block reference places, through ezdxf's explosion of it:
    nested references opened where they stand, MINSERT copies row by row,
    layer 0 taking the reference's layer."""
    own = ref.dxf.layer if ref.dxf.layer != "0" or layer is None else layer
    copies = list(ref.multi_insert()) if ref.mcount > 1 else [ref]
    for copy in copies:
        for e in copy.virtual_entities():
            kind = e.dxftype()
            if kind == "INSERT":
                placed_holes(x, e, own)
                continue
            if kind not in ("CIRCLE", "ARC"):
                continue
            if abs(abs(copy.dxf.xscale) - abs(copy.dxf.yscale)) > 1e-9:
                continue  # an ellipse now, no hole
            x.inherited_layer = own
            centre, angles = wcs_round(e)
            if angles is None:
                x.circle(e, centre)
            elif norm(angles[1] - angles[0]) > 180.0:
                x.arc(e, centre, *angles)
            x.inherited_layer = None


def make_blocks(path_dxf, path_fad):
    """Holes in block references: a tapped hole with a base point off its
    centre, a dowel hole on layer 0 that takes the reference's layer, both
    nested in a group; the group plain, rotated and scaled, mirrored on the
    hidden layer; the tapped hole as a MINSERT of 3 x 2; the dowel scaled
    unequally into an ellipse, which is no hole."""
    doc = new_drawing("R2000")
    msp = doc.modelspace()
    m6 = doc.blocks.new("M6", base_point=(5, 5))
    tag(m6.add_circle((5, 5), 2.5, dxfattribs={"layer": "HOLES"}), "1_12")
    tag(m6.add_arc((5, 5), 3.0, 0, 270, dxfattribs={"layer": "THREAD"}), "1_12")
    dowel = doc.blocks.new("DOWEL")
    tag(dowel.add_circle((0, 0), 3.0), "2_8")
    group = doc.blocks.new("GROUP")
    group.add_blockref("M6", (10, 0))
    group.add_blockref("DOWEL", (30, 0))
    group.add_circle((20, 15), 4.0, dxfattribs={"layer": "HOLES"})

    for a, b in [((0, 0), (250, 0)), ((250, 0), (250, 150)), ((250, 150), (0, 150)),
                 ((0, 150), (0, 0))]:
        msp.add_line(a, b, dxfattribs={"layer": "OUTLINE"})
    refs = [
        msp.add_blockref("GROUP", (20, 20)),
        msp.add_blockref("GROUP", (120, 40), dxfattribs={"rotation": 30, "xscale": 2,
                                                         "yscale": 2}),
        msp.add_blockref("GROUP", (230, 20), dxfattribs={"xscale": -1, "layer": "HIDDEN"}),
        msp.add_blockref("M6", (20, 100), dxfattribs={
            "column_count": 3, "row_count": 2, "column_spacing": 25, "row_spacing": 20}),
        msp.add_blockref("DOWEL", (200, 120), dxfattribs={"xscale": 2, "yscale": 1}),
    ]
    doc.saveas(path_dxf)
    x = Expected(doc)
    for ref in refs:
        placed_holes(x, ref)
    x.write(path_fad)


def make_rounds(path_dxf, path_fad):
    """Round holes drawn otherwise, and outlines that are no holes."""
    doc = new_drawing("R2000")
    msp = doc.modelspace()
    x = Expected(doc)
    # A circle drawn as two half arcs, the first tagged, and one of three.
    first = tag(msp.add_arc((20, 20), 5.0, 0, 180, dxfattribs={"layer": "HOLES"}), "2_5")
    msp.add_arc((20, 20), 5.0, 180, 360, dxfattribs={"layer": "HOLES"})
    x.circle(first, (20, 20))
    x.lines[-1] = x.lines[-1].replace(" NO C ", " 2_5 C ")
    third = msp.add_arc((20, 50), 4.0, 0, 100, dxfattribs={"layer": "HOLES"})
    msp.add_arc((20, 50), 4.0, 100, 250, dxfattribs={"layer": "HOLES"})
    msp.add_arc((20, 50), 4.0, 250, 360, dxfattribs={"layer": "HOLES"})
    x.circle(third, (20, 50))
    # A donut: a closed polyline of two half-turn arcs.
    donut = msp.add_lwpolyline([(46, 20, 1.0), (54, 20, 1.0)], format="xyb", close=True,
                               dxfattribs={"layer": "HOLES"})
    x.add(x.head(donut, "CIRCLE", "C") + [54.0, 20.0, 54.0, 20.0, 50.0, 20.0, 4.0, 0.0, 360.0])
    # The tapped-hole symbol: its 270-degree arc stands free.
    e = msp.add_circle((80, 20), 2.5, dxfattribs={"layer": "HOLES"})
    x.circle(e, (80, 20))
    e = msp.add_arc((80, 20), 3.0, 0, 270, dxfattribs={"layer": "THREAD"})
    x.arc(e, (80, 20), 0.0, 270.0)
    # A keyhole profile: its 270-degree arc ends on the profile's lines.
    c, r = (140.0, 30.0), 8.0
    a, b = polar(c, r, 225.0), polar(c, r, 315.0)
    msp.add_arc(c, r, 315, 225, dxfattribs={"layer": "OUTLINE"})
    for p, q in [(a, (a[0], 10.0)), ((a[0], 10.0), (b[0], 10.0)), ((b[0], 10.0), b)]:
        msp.add_line(p, q, dxfattribs={"layer": "OUTLINE"})
    # Round outlines that are no holes: sixteen facets, a closed spline, a
    # circular ellipse.
    msp.add_lwpolyline([polar((80, 60), 6.0, 22.5 * i) for i in range(16)], close=True,
                       dxfattribs={"layer": "OUTLINE"})
    spline = msp.add_open_spline([polar((110, 60), 6.0, 45.0 * i) for i in range(8)],
                                 dxfattribs={"layer": "OUTLINE"})
    spline.closed = True
    msp.add_ellipse((140, 60), major_axis=(5, 0), ratio=1.0, dxfattribs={"layer": "OUTLINE"})
    # A line of the user's on the chart's layer: no part of the chart.
    msp.add_line((0, 80), (160, 80), dxfattribs={"layer": "HoleChart"})
    doc.saveas(path_dxf)
    x.write(path_fad)


def make_extents(path_dxf):
    """A plate whose spline runs out to x = 300 on the right and whose
    ellipse reaches y = 130 at the top."""
    doc = new_drawing("R2000")
    msp = doc.modelspace()
    for a, b in [((0, 0), (60, 0)), ((60, 0), (60, 40)), ((60, 40), (0, 40)), ((0, 40), (0, 0))]:
        msp.add_line(a, b, dxfattribs={"layer": "OUTLINE"})
    msp.add_circle((10, 10), 3.0, dxfattribs={"layer": "HOLES"})
    msp.add_circle((50, 30), 3.0, dxfattribs={"layer": "HOLES"})
    msp.add_open_spline([(60, 0), (120, 30), (200, -10), (300, 20)],
                        dxfattribs={"layer": "OUTLINE"})
    msp.add_ellipse((30, 100), major_axis=(0, 30), ratio=0.5, dxfattribs={"layer": "OUTLINE"})
    doc.saveas(path_dxf)


def make_plate_of_size(path_dxf, units, width, height, radius):
    """A plate of the given size in the given units ($INSUNITS) with two
    holes."""
    doc = new_drawing("R2000", units=units)
    msp = doc.modelspace()
    for a, b in [((0, 0), (width, 0)), ((width, 0), (width, height)),
                 ((width, height), (0, height)), ((0, height), (0, 0))]:
        msp.add_line(a, b, dxfattribs={"layer": "OUTLINE"})
    msp.add_circle((width / 4, height / 2), radius, dxfattribs={"layer": "HOLES"})
    msp.add_circle((width * 3 / 4, height / 2), radius, dxfattribs={"layer": "HOLES"})
    doc.saveas(path_dxf)


def make_tolerant(path_dxf):
    """What other writers do and readers accept: group codes with blanks
    around them, an EOF marker with a blank after it, CR LF line ends and a
    text of 4,000 characters on one line."""
    doc = new_drawing("R2000")
    msp = doc.modelspace()
    msp.add_circle((20, 20), 4.0, dxfattribs={"layer": "HOLES"})
    msp.add_text("X" * 4000, dxfattribs={"layer": "NOTES", "height": 0.1})
    doc.saveas(path_dxf)
    with open(path_dxf, newline="") as src:
        lines = src.read().split("\n")
    out = []
    for i, line in enumerate(lines):
        if i % 2 == 0 and line.strip().isdigit():
            line = " " + line.strip() + " "
        out.append(line)
    text = "\r\n".join(out)
    assert text.endswith("EOF\r\n")
    with open(path_dxf, "w", newline="") as dst:
        dst.write(text[:-2] + " \r\n")


def make_views(path_dxf):
    """A flange in two plan views, as CAD drawings hold several views of one
    part: the top view from (0, 0) to (100, 100), its holes on TOP, and the
    bottom view 50 to the right of it, its holes on BOTTOM: four bolt holes
    and the bore, and in the bottom view a counterbore around the bore."""
    doc = new_drawing("R2000")
    msp = doc.modelspace()
    for dx, layer in [(0.0, "TOP"), (150.0, "BOTTOM")]:
        doc.layers.add(layer, color=1)
        for a, b in [((0, 0), (100, 0)), ((100, 0), (100, 100)), ((100, 100), (0, 100)),
                     ((0, 100), (0, 0))]:
            msp.add_line((a[0] + dx, a[1]), (b[0] + dx, b[1]), dxfattribs={"layer": "OUTLINE"})
        for x, y in [(15, 15), (85, 15), (85, 85), (15, 85)]:
            msp.add_circle((x + dx, y), 4.5, dxfattribs={"layer": layer})
        msp.add_circle((50 + dx, 50), 20.0, dxfattribs={"layer": layer})
    msp.add_circle((200, 50), 26.0, dxfattribs={"layer": "BOTTOM"})
    doc.saveas(path_dxf)


def make_no_holes(path_dxf):
    doc = new_drawing("R2000")
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={"layer": "OUTLINE"})
    msp.add_arc((50, 50), 20, 0, 90, dxfattribs={"layer": "OUTLINE"})
    msp.add_text("NO HOLES HERE", dxfattribs={"layer": "NOTES", "height": 5.0})
    doc.saveas(path_dxf)


def make_plate(path_fad, path_dxf):
    """The example plate, entity by entity from its exchange file: lines,
    the outline's polyline segments as one closed polyline, circles and arcs
    with their tags as extended data, texts, the paragraphs of the notes and
    the linear dimensions."""
    doc = ezdxf.new("R2000", setup=True, units=4)
    doc.appids.new(TAG_APP)
    msp = doc.modelspace()
    layer_types = {"CENTER": "CENTER", "HIDDEN": "HIDDEN"}
    outline = []
    with open(path_fad) as src:
        records = [line.split() for line in src if line.strip()]
    for f in records:
        layer, color, ltype, kind, tag_text, shape = f[2], int(f[3]), f[4], f[6], f[8], f[9]
        if not doc.layers.has_entry(layer):
            doc.layers.new(layer, dxfattribs={"color": color,
                                              "linetype": layer_types.get(layer, "Continuous")})
        attribs = {"layer": layer}
        if ltype != "ByL" and ltype != layer_types.get(layer):
            attribs["linetype"] = ltype
        v = [float(t) for t in f[10:]] if kind not in ("TEXT", "MTEXT", "DIMENSION") else None
        e = None
        if kind == "LINE":
            e = msp.add_line(v[0:2], v[2:4], dxfattribs=attribs)
        elif kind == "PLINE":
            outline.append((v[0], v[1], v[4] if shape == "A" else 0.0))
        elif kind == "CIRCLE":
            e = msp.add_circle(v[4:6], v[6], dxfattribs=attribs)
        elif kind == "ARC":
            e = msp.add_arc(v[4:6], v[6], v[7], v[8], dxfattribs=attribs)
        elif kind in ("TEXT", "MTEXT"):
            at, height, words = (float(f[10]), float(f[11])), float(f[12]), f[15].replace("_", " ")
            if kind == "TEXT":
                e = msp.add_text(words, dxfattribs={**attribs, "height": height})
                e.set_placement(at)
            else:
                e = msp.add_mtext(words, dxfattribs={**attribs, "char_height": height,
                                                     "insert": at, "attachment_point": 1})
        elif kind == "DIMENSION":
            p = [float(t) for t in f[12:20]]
            angle = float(f[26])
            dim = msp.add_linear_dim(base=p[4:6], p1=p[0:2], p2=p[2:4], angle=angle,
                                     dxfattribs=attribs)
            dim.render()
        if e is not None and tag_text != "NO":
            tag(e, tag_text)
    if outline:
        msp.add_lwpolyline(outline, format="xyb", close=True, dxfattribs={"layer": "OUTLINE"})
    doc.saveas(path_dxf)


def main():
    make_kinds("R2000", os.path.join(HERE, "kinds.dxf"), os.path.join(HERE, "kinds.fad"))
    make_kinds("R12", os.path.join(HERE, "kinds_r12.dxf"), os.path.join(HERE, "kinds_r12.fad"))
    make_no_holes(os.path.join(HERE, "no_holes.dxf"))
    make_blocks(os.path.join(HERE, "blocks.dxf"), os.path.join(HERE, "blocks_holes.fad"))
    make_rounds(os.path.join(HERE, "rounds.dxf"), os.path.join(HERE, "rounds_holes.fad"))
    make_extents(os.path.join(HERE, "extents.dxf"))
    make_plate_of_size(os.path.join(HERE, "inch.dxf"), 1, 7.0, 4.0, 0.125)
    make_plate_of_size(os.path.join(HERE, "tiny.dxf"), 4, 1.0, 0.5, 0.1)
    make_plate_of_size(os.path.join(HERE, "huge.dxf"), 4, 100000.0, 50000.0, 500.0)
    make_tolerant(os.path.join(HERE, "tolerant.dxf"))
    make_views(os.path.join(HERE, "views.dxf"))
    example = os.path.join(ROOT, "examples", "plate-dxf")
    os.makedirs(example, exist_ok=True)
    make_plate(os.path.join(ROOT, "examples", "plate", "Object.fad"),
               os.path.join(example, "plate.dxf"))


if __name__ == "__main__":
    main()
