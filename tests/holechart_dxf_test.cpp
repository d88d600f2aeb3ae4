// holechart-dxf, the hole chart of a DXF drawing. The drawings under
// tests/data/dxf/ come from ezdxf, a writer independent of the bridge, with the
// exchange files that a front end would write for the same entities: the
// mapping must give the same records, and the chart in OUT.dxf must be the
// one that holechart draws from those records.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "entity/entity_file.hpp"
#include "platform/platform.hpp"
#include "tests/support/test_support.hpp"
#include "tools/holechart_dxf/chart_dxf.hpp"
#include "tools/holechart_dxf/chart_window.hpp"
#include "tools/holechart_dxf/dxf_geometry.hpp"
#include "tools/holechart_dxf/dxf_pairs.hpp"
#include "tools/holechart_dxf/dxf_reader.hpp"
#include "tools/holechart_dxf/exchange_lines.hpp"
#include "tools/holechart_dxf/hole_finder.hpp"
#include "tools/holechart_dxf/options.hpp"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::run_holechart;
using testsupport::TempDrive;
using testsupport::write_file;

namespace holechart_dxf {
namespace {

const fs::path kData = fs::path(HOLECHART_SOURCE_DIR) / "tests" / "data" / "dxf";
const fs::path kPlate = fs::path(HOLECHART_SOURCE_DIR) / "examples";

constexpr double kTolerance = 1e-9;
// A memory budget that nothing reaches.
constexpr double kNoBudget = 1e18;
constexpr double kPi = 3.14159265358979323846;

bool close_to(double a, double b) {
    return std::fabs(a - b) <= kTolerance * std::fmax(1.0, std::fabs(b));
}

// --- The records of a drawing ---------------------------------------------

struct Records {
    EntityList list;
    int count = 0;
};

Records map_dxf(const fs::path& path, DxfDrawing& drawing) {
    Records r;
    std::string error;
    EXPECT_TRUE(read_dxf_drawing(path.string(), drawing, error)) << error;
    read_exchange_lines(drawing.lines, r.list);
    r.count = static_cast<int>(drawing.lines.size());
    return r;
}

Records read_fad(const fs::path& path) {
    Records r;
    EXPECT_TRUE(read_entity_file(path.string().c_str(), r.list, r.count)) << path;
    return r;
}

void expect_point(const char* what, Point got, Point want) {
    EXPECT_TRUE(close_to(got.x, want.x) && close_to(got.y, want.y))
        << what << " is (" << got.x << ", " << got.y << "), want (" << want.x << ", " << want.y
        << ")";
}

void expect_same_record(const EntityRecord& got, const EntityRecord& want) {
    EXPECT_EQ(got.id, want.id);
    EXPECT_STREQ(got.handle, want.handle);
    EXPECT_STREQ(got.layer, want.layer);
    EXPECT_EQ(got.color, want.color);
    EXPECT_STREQ(got.line_type, want.line_type);
    EXPECT_STREQ(got.line_style, want.line_style);
    EXPECT_STREQ(got.kind, want.kind);
    EXPECT_STREQ(got.tag, want.tag);
    EXPECT_STREQ(got.shape, want.shape);
    EXPECT_STREQ(got.justify, want.justify);
    EXPECT_STREQ(got.text, want.text);
    EXPECT_STREQ(got.dim_style, want.dim_style);
    EXPECT_EQ(got.dim_type, want.dim_type);
    EXPECT_EQ(got.point_mode, want.point_mode);
    expect_point("p1", got.p1, want.p1);
    expect_point("p2", got.p2, want.p2);
    expect_point("center", got.center, want.center);
    expect_point("p4", got.p4, want.p4);
    expect_point("p5", got.p5, want.p5);
    expect_point("p6", got.p6, want.p6);
    const std::pair<const char*, std::pair<double, double>> reals[] = {
        {"radius", {got.radius, want.radius}},
        {"start_angle", {got.start_angle, want.start_angle}},
        {"end_angle", {got.end_angle, want.end_angle}},
        {"sweep", {got.sweep, want.sweep}},
        {"text_height", {got.text_height, want.text_height}},
        {"seg_a", {got.seg_a, want.seg_a}},
        {"point_size", {got.point_size, want.point_size}},
        {"dim value", {got.dim_box[0], want.dim_box[0]}},
        {"dim text height", {got.dim_box[1], want.dim_box[1]}},
        {"angle", {got.angle, want.angle}},
        {"slope", {got.slope, want.slope}},
        {"intercept", {got.intercept, want.intercept}},
    };
    for (const auto& r : reals) {
        EXPECT_TRUE(close_to(r.second.first, r.second.second))
            << r.first << " is " << r.second.first << ", want " << r.second.second;
    }
}

class DxfMappingTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DxfMappingTest, EveryEntityBecomesTheRecordAFrontEndWouldWrite) {
    const std::string name = GetParam();
    DxfDrawing drawing;
    const Records got = map_dxf(kData / (name + ".dxf"), drawing);
    const Records want = read_fad(kData / (name + ".fad"));
    // Paper space, block contents and the upright circle are not records.
    ASSERT_EQ(got.count, want.count);
    EXPECT_EQ(drawing.tilted, 1);
    for (int i = 0; i < want.count; ++i) {
        SCOPED_TRACE("record " + std::to_string(i + 1) + ": " + drawing.lines[i]);
        expect_same_record(got.list[i], want.list[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Drawings, DxfMappingTest, ::testing::Values("kinds", "kinds_r12"));

TEST(DxfMapping, LongTextsAndNamesBecomeSingleTokensCutToTheirFields) {
    DxfDrawing drawing;
    const Records got = map_dxf(kData / "kinds.dxf", drawing);
    bool saw_long_layer = false;
    bool saw_long_text = false;
    for (int i = 0; i < got.count; ++i) {
        const EntityRecord& r = got.list[i];
        for (const char* field : {r.layer, r.text, r.tag, r.line_type, r.dim_style}) {
            EXPECT_EQ(std::strpbrk(field, " \t\r\n"), nullptr) << field;
        }
        saw_long_layer = saw_long_layer || std::strlen(r.layer) == kLayerSize - 1;
        saw_long_text = saw_long_text || std::strlen(r.text) == kTextSize - 1;
    }
    EXPECT_TRUE(saw_long_layer);
    EXPECT_TRUE(saw_long_text);
    for (const std::string& line : drawing.lines) {
        EXPECT_EQ(line.find_first_of("\t\r\n"), std::string::npos);
        EXPECT_EQ(line.find("  "), std::string::npos) << "an empty token in: " << line;
    }
}

// --- Geometry and formats -------------------------------------------------

struct BulgeCase {
    const char* name;
    Point a, b;
    double bulge;
    Point centre;
    double radius, start, end;
};

TEST(DxfGeometry, BulgesBecomeCounterClockwiseArcs) {
    const BulgeCase cases[] = {
        {"QuarterTurnLeft", {1, 0}, {0, 1}, std::tan(kPi / 8), {0, 0}, 1, 0, 90},
        {"QuarterTurnRight", {0, 1}, {1, 0}, -std::tan(kPi / 8), {0, 0}, 1, 0, 90},
        {"HalfTurn", {-1, 0}, {1, 0}, 1.0, {0, 0}, 1, 180, 0},
        {"ThreeQuarterTurn", {1, 0}, {0, -1}, std::tan(3 * kPi / 8), {0, 0}, 1, 0, 270},
    };
    for (const BulgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        BulgeArc arc{};
        ASSERT_TRUE(bulge_arc(c.a, c.b, c.bulge, arc));
        expect_point("centre", arc.centre, c.centre);
        EXPECT_NEAR(arc.radius, c.radius, 1e-12);
        EXPECT_NEAR(arc.start, c.start, 1e-9);
        EXPECT_NEAR(arc.end, c.end, 1e-9);
    }
    BulgeArc arc{};
    EXPECT_FALSE(bulge_arc({1, 1}, {1, 1}, 0.5, arc)) << "a segment without length";
    EXPECT_FALSE(bulge_arc({0, 0}, {1, 1}, 0.0, arc)) << "a straight segment";
}

TEST(DxfGeometry, PlanesFromExtrusionDirections) {
    EXPECT_EQ(plane_of(0, 0, 1), EntityPlane::top);
    EXPECT_EQ(plane_of(0, 0, 0), EntityPlane::top);
    EXPECT_EQ(plane_of(0, 0, -1), EntityPlane::mirrored);
    EXPECT_EQ(plane_of(1, 0, 0), EntityPlane::tilted);
    EXPECT_EQ(plane_of(0, 0.1, 1), EntityPlane::tilted);
    const ArcAngles a = arc_angles_in_drawing(270, 180, EntityPlane::mirrored);
    EXPECT_DOUBLE_EQ(a.start, 0.0);
    EXPECT_DOUBLE_EQ(a.end, 270.0);
    EXPECT_DOUBLE_EQ(normalise_degrees(-90.0), 270.0);
    EXPECT_DOUBLE_EQ(normalise_degrees(720.0), 0.0);
}

TEST(DxfGeometry, RealsAndTokens) {
    EXPECT_EQ(dxf_real(2.0), "2.0");
    EXPECT_EQ(dxf_real(274.40000000000003), "274.4");
    EXPECT_EQ(dxf_real(-0.0), "0.0");
    EXPECT_EQ(dxf_real(-1e-13), "0.0");
    EXPECT_EQ(dxf_real(-12.5), "-12.5");
    EXPECT_EQ(token_text("M6 x 1\ttap\r\n", "NO"), "M6_x_1_tap__");
    EXPECT_EQ(token_text("", "<>"), "<>");
}

TEST(DxfPairs, BlanksAroundCodesAndValuesGoExceptInTexts) {
    const std::string digits(5000, '7');
    const std::string bytes =
        " 0 \r\nSECTION \r\n  1\n  a text \r\n999\nkept  \n 40\n 2.5\t\n10\n" + digits +
        "\n x\nvalue\n  0\n";
    const std::pair<int, std::string> want[] = {
        {0, "SECTION"}, {1, "  a text "}, {999, "kept  "}, {40, "2.5"}, {10, digits}};
    DxfPairScanner scanner(bytes);
    DxfPair pair;
    std::size_t at = 0;
    for (const auto& w : want) {
        ASSERT_EQ(scanner.next(pair), DxfPairScanner::Result::pair) << w.second;
        EXPECT_EQ(pair.code, w.first);
        EXPECT_EQ(pair.value, w.second);
        EXPECT_EQ(pair.begin, at);
        at = pair.end;
    }
    ASSERT_EQ(scanner.next(pair), DxfPairScanner::Result::bad_code);
    EXPECT_EQ(pair.line, 11u);
    EXPECT_EQ(pair.value, "x");
}

// --- Holes ------------------------------------------------------------------

struct ArcSpec {
    Point centre;
    double radius, start, end;
};

GeometryShape arc_shape(DrawingGeometry& g, const ArcSpec& a) {
    GeometryShape s;
    s.kind = GeometryShapeKind::arc;
    s.head = g.add_head(ShapeHead{});
    s.centre = a.centre;
    s.radius = a.radius;
    s.start = a.start;
    s.end = a.end;
    return s;
}

TEST(DxfHoles, RingsCloseAFullTurnAndOutlineArcsMeetGeometryAtBothEnds) {
    struct Case {
        const char* name;
        std::vector<ArcSpec> arcs;
        std::vector<std::pair<Point, Point>> lines;
        bool all_arcs;
        int holes, rings, outline_arcs;
    };
    const Point o{10, 10};
    const Point a{15, 10};  // the ends of the arc from 0 to 270 degrees
    const Point b{10, 5};
    const Case cases[] = {
        {"TwoHalves", {{o, 5, 0, 180}, {o, 5, 180, 0}}, {}, false, 1, 1, 0},
        {"CentresWithinTolerance",
         {{o, 5, 0, 180}, {{10.0004, 10}, 5.0004, 180, 0}},
         {},
         false,
         1,
         1,
         0},
        {"GapOfATenthOfADegree", {{o, 5, 0, 179.9}, {o, 5, 180, 0}}, {}, false, 0, 0, 0},
        {"OtherRadius", {{o, 5, 0, 180}, {o, 5.01, 180, 0}}, {}, false, 0, 0, 0},
        {"FreeThreeQuarterArc", {{o, 5, 0, 270}}, {}, false, 1, 0, 0},
        {"OneEndMeetsALine", {{o, 5, 0, 270}}, {{a, {20, 0}}}, false, 1, 0, 0},
        {"BothEndsMeetLines", {{o, 5, 0, 270}}, {{a, {20, 0}}, {b, {10, 0}}}, false, 0, 0, 1},
        {"BothEndsMeetLinesAllArcs", {{o, 5, 0, 270}}, {{a, {20, 0}}, {b, {10, 0}}}, true, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingGeometry g;
        for (const ArcSpec& arc : c.arcs) {
            g.add(arc_shape(g, arc));
        }
        for (const auto& line : c.lines) {
            g.add_line(line.first, line.second);
        }
        const PlacedDrawing placed = g.place(kNoBudget);
        const HoleFinding found = find_holes(placed, g, c.all_arcs);
        EXPECT_EQ(static_cast<int>(found.holes.size()), c.holes);
        EXPECT_EQ(found.rings, c.rings);
        EXPECT_EQ(found.outline_arcs, c.outline_arcs);
    }
}

TEST(DxfHoles, ReferencesToThemselvesOrMissingBlocksAreCountedNotFollowed) {
    DrawingGeometry g;
    auto reference = [&](const char* block, int columns, int rows) {
        BlockReference r;
        r.block = block;
        r.columns = columns;
        r.rows = rows;
        GeometryShape s;
        s.kind = GeometryShapeKind::insert;
        s.head = g.add_head(ShapeHead{});
        s.index = g.add_reference(r);
        g.add(s);
    };
    g.begin_block("SELF", {0, 0});
    g.add(arc_shape(g, {{0, 0}, 3, 0, 270}));
    reference("SELF", 1, 1);
    g.end_block();
    reference("SELF", 1, 1);
    reference("MISSING", 1, 1);
    // Rows and columns without spacing lie on top of each other: one copy.
    reference("SELF", 4, 4);
    const PlacedDrawing placed = g.place(kNoBudget);
    EXPECT_EQ(placed.rounds.size(), 2u);
    EXPECT_EQ(placed.too_deep, 2);
    EXPECT_EQ(placed.missing_blocks, 1);
}

// --- Command line -----------------------------------------------------------

struct BadCommand {
    std::vector<std::string> args;
    const char* says;
};

TEST(DxfOptions, UnusableCommandLinesAreRefusedWithTheReason) {
    const std::string long_name(kMaxChartLayerChars + 1, 'L');
    const BadCommand cases[] = {
        {{}, "no input and output file"},
        {{"in.dxf"}, "no output file"},
        {{"a.dxf", "b.dxf", "c.dxf"}, "more than two files"},
        {{"a.dxf", "b.dxf", "--window", "1", "2", "3"}, "--window takes four numbers"},
        {{"a.dxf", "b.dxf", "--window", "1", "2", "3", "x"}, "not 'x'"},
        {{"a.dxf", "b.dxf", "--origin", "1"}, "--origin takes two numbers"},
        {{"a.dxf", "b.dxf", "--text-height", "0"}, "from 0.000001 to 1000000"},
        {{"a.dxf", "b.dxf", "--text-height", "-2.5"}, "from 0.000001 to 1000000"},
        {{"a.dxf", "b.dxf", "--text-height=nan"}, "from 0.000001 to 1000000"},
        {{"a.dxf", "b.dxf", "--text-height", "inf"}, "from 0.000001 to 1000000"},
        {{"a.dxf", "b.dxf", "--text-height", "1e-320"}, "from 0.000001 to 1000000"},
        {{"a.dxf", "b.dxf", "--text-height", "1000001"}, "from 0.000001 to 1000000"},
        {{"a.dxf", "b.dxf", "--max-memory", "15"}, "--max-memory takes a number of MiB"},
        {{"a.dxf", "b.dxf", "--max-memory", "lots"}, "--max-memory takes a number of MiB"},
        {{"a.dxf", "b.dxf", "--text-height"}, "needs a value"},
        {{"a.dxf", "b.dxf", "--color", "5"}, "--color goes with --layer"},
        {{"a.dxf", "b.dxf", "--layer", "L", "--color", "0"}, "from 1 to 255"},
        {{"a.dxf", "b.dxf", "--layer", "L", "--color", "256"}, "from 1 to 255"},
        {{"a.dxf", "b.dxf", "--layer", "L", "--color", "red"}, "from 1 to 255"},
        {{"a.dxf", "b.dxf", "--layer", "A/B"}, "does not allow"},
        {{"a.dxf", "b.dxf", "--layer", ""}, "needs a name"},
        {{"a.dxf", "b.dxf", "--layer", long_name}, "at most 51"},
        {{"a.dxf", "b.dxf", "--size", "3"}, "unknown option '--size'"},
        {{"a.dxf", "b.dxf", "--table", "holes.xls"}, ".csv, .tsv or .json"},
        {{"a.dxf", "-", "--table", "-"}, "both go to standard output"},
    };
    for (const BadCommand& c : cases) {
        DxfOptions options;
        std::string error;
        EXPECT_FALSE(parse_dxf_options(c.args, options, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(DxfOptions, DefaultsAndEveryOption) {
    DxfOptions o;
    std::string error;
    ASSERT_TRUE(parse_dxf_options({"in.dxf", "out.dxf"}, o, error)) << error;
    EXPECT_FALSE(o.window_given);
    EXPECT_FALSE(o.layer_given);
    EXPECT_EQ(o.text_height, 2.5);
    EXPECT_EQ(o.origin[0], 0.0);
    ASSERT_TRUE(parse_dxf_options(
        {"--window", "1", "-2", "3.5", "4", "in.dxf", "--origin", "-5", "6", "--text-height=5",
         "--layer", "CHART", "--color", "5", "--absolute", "--", "-out.dxf"},
        o, error))
        << error;
    EXPECT_TRUE(o.window_given);
    EXPECT_EQ(o.window[1], -2.0);
    EXPECT_EQ(o.window[2], 3.5);
    EXPECT_EQ(o.origin[0], -5.0);
    EXPECT_EQ(o.text_height, 5.0);
    EXPECT_EQ(o.layer, "CHART");
    EXPECT_EQ(o.color, 5);
    EXPECT_TRUE(o.absolute);
    EXPECT_EQ(o.input, "in.dxf");
    EXPECT_EQ(o.output, "-out.dxf");
}

// --- Running the program ----------------------------------------------------

using ToolRun = testsupport::RunResult;
using testsupport::run_shell;

ToolRun run_bridge(const fs::path& folder, const std::vector<std::string>& args) {
    return testsupport::run_program(folder, HOLECHART_DXF_BINARY, args);
}

// The bridge on tests/data/dxf/DRAWING.dxf, writing out.dxf in folder.
ToolRun run_on_data(const fs::path& folder, const std::string& drawing,
                    const std::vector<std::string>& options) {
    std::vector<std::string> args = {(kData / (drawing + ".dxf")).string(), "out.dxf"};
    args.insert(args.end(), options.begin(), options.end());
    return run_bridge(folder, args);
}

// What a file holds, read back pair by pair apart from the bridge's own
// decoding: the count of every kind of object in the drawing (model space
// and blocks), the colour of every layer, and the lines and texts on one
// layer: the chart (marked as the chart's by its extended data) and the
// others.
struct ChartEntity {
    std::string kind;
    std::string layer;
    int color = 0;
    Point p1, p2;  // a text's placing point in p1
    double height = 0.0;
    std::string justify;
    std::string text;
};

struct ReadBack {
    std::map<std::string, int> counts;
    std::map<std::string, int> layers;
    std::vector<ChartEntity> chart;
    int others_on_layer = 0;
};

// The pairs of one object, by group code (the last of each).
using ObjectPairs = std::map<int, std::string>;

double real_of(const ObjectPairs& o, int code) {
    const auto it = o.find(code);
    return it == o.end() ? 0.0 : std::stod(it->second);
}

void take_object(ReadBack& r, const std::string& section, const std::string& type,
                 const ObjectPairs& o, bool marked, const std::string& layer) {
    auto text_of = [&](int code) {
        const auto it = o.find(code);
        return it == o.end() ? std::string() : it->second;
    };
    if (section == "TABLES" && type == "LAYER") {
        r.layers[text_of(2)] = static_cast<int>(real_of(o, 62));
    }
    if (section != "ENTITIES" && section != "BLOCKS") {
        return;
    }
    r.counts[type] += 1;
    if (section != "ENTITIES" || (type != "LINE" && type != "TEXT") || text_of(8) != layer) {
        return;
    }
    if (!marked) {
        r.others_on_layer += 1;
        return;
    }
    ChartEntity e;
    e.kind = type;
    e.layer = text_of(8);
    e.color = static_cast<int>(real_of(o, 62));
    const int h = static_cast<int>(real_of(o, 72));
    const int v = static_cast<int>(real_of(o, 73));
    const bool second = type == "LINE" || h != 0 || v != 0;
    e.p1 = type == "LINE" || !second ? Point{real_of(o, 10), real_of(o, 20)}
                                     : Point{real_of(o, 11), real_of(o, 21)};
    e.p2 = Point{real_of(o, 11), real_of(o, 21)};
    e.height = real_of(o, 40);
    e.text = text_of(1);
    // The alignments the chart uses; any other shows as its two numbers.
    const std::map<std::pair<int, int>, std::string> codes = {
        {{0, 0}, "BL"}, {{1, 0}, "BC"}, {{1, 2}, "MC"}};
    const auto code = codes.find({h, v});
    e.justify = code != codes.end() ? code->second : std::to_string(h) + "," + std::to_string(v);
    r.chart.push_back(e);
}

ReadBack read_back(const fs::path& path, const std::string& chart_layer) {
    ReadBack r;
    const std::string bytes = read_file(path);
    DxfPairScanner scanner(bytes);
    DxfPair pair;
    std::string section;
    std::string type;
    ObjectPairs object;
    bool marked = false;
    bool section_name_next = false;
    while (scanner.next(pair) == DxfPairScanner::Result::pair) {
        if (pair.code == 0) {
            take_object(r, section, type, object, marked, chart_layer);
            type = std::string(pair.value);
            object.clear();
            marked = false;
            section_name_next = type == "SECTION";
            if (type == "ENDSEC") {
                section.clear();
            }
        } else if (pair.code == 2 && section_name_next) {
            section = std::string(pair.value);
            section_name_next = false;
        } else if (pair.code == 1001) {
            marked = marked || pair.value == kChartApplication;
        } else if (pair.code < 1000) {
            object[pair.code] = std::string(pair.value);
        }
    }
    EXPECT_FALSE(type != "EOF") << path << " does not end with EOF";
    return r;
}

// The chart in OUT.dxf against the records of a result file.
void expect_same_chart(const std::vector<ChartEntity>& got, const Records& want) {
    ASSERT_EQ(static_cast<int>(got.size()), want.count);
    for (int i = 0; i < want.count; ++i) {
        SCOPED_TRACE("chart entity " + std::to_string(i + 1));
        const EntityRecord& r = want.list[i];
        const ChartEntity& e = got[static_cast<std::size_t>(i)];
        EXPECT_EQ(e.kind, r.kind);
        EXPECT_EQ(e.layer, r.layer);
        EXPECT_EQ(e.color, r.color);
        expect_point("p1", e.p1, r.p1);
        if (e.kind == "LINE") {
            expect_point("p2", e.p2, r.p2);
        } else {
            EXPECT_EQ(e.text, r.text);
            EXPECT_EQ(e.justify, r.justify);
            EXPECT_DOUBLE_EQ(e.height, r.text_height);
        }
    }
}

struct ChartCase {
    const char* name;
    const char* drawing;
    const char* settings;  // infoHoleTable.dat for holechart
    std::vector<std::string> options;
    const char* layer;
    const char* says;  // on standard error
};

void PrintTo(const ChartCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<std::string> kWindow = {"230", "-40", "300", "100"};
const std::vector<std::string> kOrigin = {"20", "20"};

class DxfChartTest : public ::testing::TestWithParam<ChartCase> {};

// The holes of each drawing are written beside it (NAME_holes.fad) as a
// front end would write them with block references exploded by ezdxf and
// rings drawn as circles.
TEST_P(DxfChartTest, ChartEqualsWhatHolechartDrawsForTheSameHoles) {
    const ChartCase& c = GetParam();
    TempDrive drive;
    drive.write_settings(c.settings);
    drive.write_entities(read_file(kData / (std::string(c.drawing) + "_holes.fad")));
    std::vector<std::string> numbers = kWindow;
    numbers.insert(numbers.end(), kOrigin.begin(), kOrigin.end());
    ASSERT_EQ(run_holechart(drive, numbers).exit_code, 0);
    ASSERT_TRUE(drive.has_result());
    const Records want = read_fad(drive.work / "ResultDR.fad");

    std::vector<std::string> args = {(kData / (std::string(c.drawing) + ".dxf")).string(),
                                     "out.dxf", "--window"};
    args.insert(args.end(), kWindow.begin(), kWindow.end());
    args.push_back("--origin");
    args.insert(args.end(), kOrigin.begin(), kOrigin.end());
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ToolRun run = run_bridge(drive.root, args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    const ReadBack out = read_back(drive.root / "out.dxf", c.layer);
    expect_same_chart(out.chart, want);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DxfChartTest,
    ::testing::Values(
        // The upright circle of kinds is reported as left out.
        ChartCase{"HoleChartLayer",
                  "kinds",
                  "1 HoleChart 3 N 2.5\n",
                  {},
                  "HoleChart",
                  "1 entity does not lie in the drawing plane"},
        ChartCase{"OwnLayerAbsoluteAndLargerText",
                  "kinds",
                  "0 CHART_TABLE 5 Y 5\n",
                  {"--layer", "CHART_TABLE", "--color", "5", "--absolute", "--text-height", "5"},
                  "CHART_TABLE",
                  "1 circle or arc from block references"},
        ChartCase{"R12Drawing",
                  "kinds_r12",
                  "1 HoleChart 3 N 2.5\n",
                  {},
                  "HoleChart",
                  "1 entity does not lie in the drawing plane"},
        ChartCase{"NestedRotatedMirroredAndArrayedBlocks",
                  "blocks",
                  "1 HoleChart 3 N 2.5\n",
                  {},
                  "HoleChart",
                  "15 holes charted (24 circles and arcs from block references), text height "
                  "2.5; not charted: 1 circle or arc made elliptic by a block reference's "
                  "unequal scales"},
        ChartCase{"RingsDonutsAndOutlineArcs",
                  "rounds",
                  "1 HoleChart 3 N 2.5\n",
                  {},
                  "HoleChart",
                  "4 holes charted (3 circles joined from arcs), text height 2.5; not charted: "
                  "1 faceted circle (a polyline of straight sides), 1 round closed spline, 1 "
                  "circular ellipse, 1 arc over a half turn whose ends join an outline"}),
    [](const ::testing::TestParamInfo<ChartCase>& info) { return std::string(info.param.name); });

TEST(DxfChart, ThePlateGetsTheReviewedChartAndTableOfTheExample) {
    TempDrive drive;
    const ToolRun run = run_bridge(
        drive.root, {(kPlate / "plate-dxf" / "plate.dxf").string(), "plate-chart.dxf", "--window",
                     "255", "62", "405", "280", "--origin", "40", "90", "--table", "plate.csv"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, "holechart-dxf: 31 holes charted, text height 2.5\n");
    const Records golden = read_fad(kPlate / "plate" / "ResultDR.golden.fad");
    expect_same_chart(read_back(drive.root / "plate-chart.dxf", "HoleChart").chart, golden);
    // Byte for byte the file that the Windows build is held to (under Wine,
    // tests/windows). A change to the bridge's output renews it: these
    // arguments with plate-chart.golden.dxf as OUT.dxf.
    EXPECT_EQ(read_file(drive.root / "plate-chart.dxf"),
              read_file(kPlate / "plate-dxf" / "plate-chart.golden.dxf"));

    // The table is the one holechart-table makes of the same drawing.
    const ToolRun table = testsupport::run_program(
        drive.root, HOLECHART_TABLE_BINARY,
        {(kPlate / "plate" / "Object.fad").string(), "--settings",
         (kPlate / "plate" / "infoHoleTable.dat").string(), "--origin", "40", "90"});
    ASSERT_EQ(table.exit_code, 0) << table.err;
    EXPECT_EQ(read_file(drive.root / "plate.csv"), table.out);
}

// --- Keeping the drawing ----------------------------------------------------

class DxfKeepTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DxfKeepTest, EveryInputEntityIsKeptByteForByte) {
    const fs::path input = kData / (std::string(GetParam()) + ".dxf");
    TempDrive drive;
    const ToolRun run = run_bridge(drive.root, {input.string(), "out.dxf"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const ReadBack in = read_back(input, "HoleChart");
    const ReadBack out = read_back(drive.root / "out.dxf", "HoleChart");
    ASSERT_FALSE(out.chart.empty());

    // By kind: the chart's lines and texts come on top.
    std::map<std::string, int> expected = in.counts;
    for (const ChartEntity& e : out.chart) {
        expected[e.kind] += 1;
    }
    EXPECT_EQ(out.counts, expected);
    EXPECT_EQ(out.layers.at("HoleChart"), 3);

    // Byte for byte: the input's text is all there, in order, with the chart
    // entities, the chart's layer, the application name that marks the
    // chart and a new handle seed put in between.
    DxfDrawing drawing;
    std::string error;
    ASSERT_TRUE(read_dxf_drawing(input.string(), drawing, error)) << error;
    const DxfLayout& l = drawing.layout;
    const std::string& before = drawing.bytes;
    const std::string after = read_file(drive.root / "out.dxf");
    std::vector<std::pair<std::size_t, std::size_t>> kept;
    if (l.handseed_begin != kNoOffset) {
        kept = {{0, l.handseed_begin}, {l.handseed_end, l.layer_table_end}};
    } else {
        kept = {{0, l.layer_table_end}};
    }
    ASSERT_LT(l.layer_table_end, l.appid_table_end);
    kept.push_back({l.layer_table_end, l.appid_table_end});
    kept.push_back({l.appid_table_end, l.entities_end});
    kept.push_back({l.entities_end, before.size()});
    std::size_t at = 0;
    for (const auto& piece : kept) {
        const std::string text = before.substr(piece.first, piece.second - piece.first);
        const std::size_t found = after.find(text, at);
        ASSERT_NE(found, std::string::npos) << "bytes " << piece.first << " to " << piece.second;
        EXPECT_TRUE(piece.first != 0 || found == 0);
        at = found + text.size();
    }
    EXPECT_EQ(at, after.size());
}

INSTANTIATE_TEST_SUITE_P(Drawings, DxfKeepTest, ::testing::Values("kinds", "kinds_r12"));

// The python that has ezdxf, or "" when none has.
std::string python_with_ezdxf() {
    for (const char* python : {"python3", "/usr/bin/python3"}) {
        if (run_shell(std::string(python) + " -c 'import ezdxf' >/dev/null 2>&1") == 0) {
            return python;
        }
    }
    return "";
}

// What ezdxf reads from the file: its audit errors, then "TYPE COUNT" for
// every kind of entity in model space and in the blocks.
std::string ezdxf_summary(const std::string& python, const fs::path& file, const fs::path& folder) {
    const fs::path script = folder / "summary.py";
    write_file(
        script,
        "import collections, sys, ezdxf\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "print('errors', len(doc.audit().errors))\n"
        "kinds = collections.Counter(e.dxftype() for e in doc.modelspace())\n"
        "for block in doc.blocks:\n"
        "    if block.name.lower() != '*model_space':\n"
        "        kinds.update('block ' + e.dxftype() for e in block)\n"
        "for kind in sorted(kinds):\n"
        "    print(kind, kinds[kind])\n"
        "layer = doc.layers.get('HoleChart') if doc.layers.has_entry('HoleChart') else None\n"
        "print('chart layer colour', layer.dxf.color if layer else '-')\n");
    const fs::path report = folder / "summary.txt";
    const int code = run_shell(python + " " + quote_program_path(script.string()) + " " +
                               quote_program_path(file.string()) + " >" +
                               quote_program_path(report.string()) + " 2>&1");
    std::string text = read_file(report);
    return code == 0 ? text : "ezdxf failed: " + text;
}

TEST_P(DxfKeepTest, EzdxfReadsTheOutputWithEveryEntityAndWithoutAuditErrors) {
    const std::string python = python_with_ezdxf();
    if (python.empty()) {
        GTEST_SKIP() << "no python3 with ezdxf (Debian package python3-ezdxf)";
    }
    const fs::path input = kData / (std::string(GetParam()) + ".dxf");
    TempDrive drive;
    const ToolRun run = run_bridge(drive.root, {input.string(), "out.dxf"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const ReadBack chart = read_back(drive.root / "out.dxf", "HoleChart");
    int lines = 0;
    int texts = 0;
    for (const ChartEntity& e : chart.chart) {
        (e.kind == "LINE" ? lines : texts) += 1;
    }

    std::string expected = ezdxf_summary(python, input, drive.root);
    // Model-space counts go up by the chart; the chart layer appears.
    auto bump = [&](const std::string& kind, int by) {
        const std::string key = "\n" + kind + " ";
        const std::size_t at = expected.find(key);
        ASSERT_NE(at, std::string::npos) << kind;
        const std::size_t value = at + key.size();
        const std::size_t end = expected.find('\n', value);
        const int count = std::stoi(expected.substr(value, end - value));
        expected.replace(value, end - value, std::to_string(count + by));
    };
    bump("LINE", lines);
    bump("TEXT", texts);
    const std::string no_layer = "chart layer colour -";
    ASSERT_NE(expected.find(no_layer), std::string::npos);
    expected.replace(expected.find(no_layer), no_layer.size(), "chart layer colour 3");
    EXPECT_EQ(expected.rfind("errors 0\n", 0), 0u) << expected;
    EXPECT_EQ(ezdxf_summary(python, drive.root / "out.dxf", drive.root), expected);
}

std::vector<ChartEntity> chart_of(const fs::path& file) {
    return read_back(file, "HoleChart").chart;
}

TEST(DxfOutput, WithoutAWindowTheChartStandsRightOfEveryEntityFromTheDrawingsTop) {
    // The plate ends at x = 60, its spline at x = 300; its ellipse reaches
    // y = 130.
    TempDrive drive;
    const ToolRun run =
        run_bridge(drive.root, {(kData / "extents.dxf").string(), "out.dxf", "--text-height", "5"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    double chart_left = 1e300;
    double chart_top = -1e300;
    for (const ChartEntity& e : chart_of(drive.root / "out.dxf")) {
        if (e.kind == "LINE") {
            chart_left = std::fmin(chart_left, std::fmin(e.p1.x, e.p2.x));
            chart_top = std::fmax(chart_top, std::fmax(e.p1.y, e.p2.y));
        }
    }
    // At text height 5 the chart's lengths double: 10 units become 20.
    EXPECT_NEAR(chart_left, 300.0 + 20.0, 1e-6);
    EXPECT_NEAR(chart_top, 130.0, 1e-6);
}

TEST(DxfOutput, TheTextHeightFollowsTheDrawingsUnitsAndSizeUnlessGiven) {
    struct Case {
        const char* drawing;
        std::vector<std::string> options;
        double height;
    };
    const Case cases[] = {
        {"kinds", {}, 2.5},                     // millimetres
        {"inch", {}, 0.1},                      // 0.1 inch, within 0.014 to 0.14
        {"tiny", {}, 0.02},                     // 2 % of 1 mm
        {"huge", {}, 200.0},                    // 0.2 % of 100 m
        {"tiny", {"--text-height", "3"}, 3.0},  // given
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drawing);
        TempDrive drive;
        const ToolRun run = run_on_data(drive.root, c.drawing, c.options);
        ASSERT_EQ(run.exit_code, 0) << run.err;
        int texts = 0;
        for (const ChartEntity& e : chart_of(drive.root / "out.dxf")) {
            if (e.kind == "TEXT") {
                EXPECT_NEAR(e.height, c.height, 1e-9 * c.height) << e.text;
                texts += 1;
            }
        }
        EXPECT_GT(texts, 0);
    }
}

TEST(DxfChartWindow, DefaultTextHeightsByUnitsAndSize) {
    Extents side_200;
    include_point(side_200, {0.0, 0.0});
    include_point(side_200, {200.0, 50.0});
    struct Case {
        int units;
        int measurement;
        const Extents& extents;
        double height;
    };
    const Extents none;
    const Case cases[] = {
        {0, -1, none, 2.5},         // nothing said: millimetres
        {0, 0, none, 0.1},          // imperial measurement: inches
        {0, 1, none, 2.5},          // metric measurement
        {1, 1, none, 0.1},          // inches win over the measurement
        {2, -1, none, 0.1 / 12.0},  // feet
        {5, -1, none, 0.25},        // centimetres
        {6, -1, none, 0.0025},      // metres
        {6, -1, side_200, 0.4},     // metres, held at 0.2 % of 200
        {4, -1, side_200, 2.5},     // within 0.4 to 4
        {13, -1, side_200, 4.0},    // microns, held at 2 % of 200
        {99, -1, none, 2.5},        // an unknown code: as none
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(default_text_height(c.units, c.measurement, c.extents), c.height,
                    1e-12 * c.height)
            << "units " << c.units << ", measurement " << c.measurement;
    }
}

std::string minimal_dxf(const std::string& entities);

// A layer that the drawing uses without defining it has the line type a new
// layer gets, so a hole on the chart's own layer keeps its type once the
// chart has added that layer to the table.
TEST(DxfOutput, AHoleOnAnUndefinedLayerIsOfTheTypeItKeepsOnceTheLayerIsAdded) {
    TempDrive drive;
    const std::string tables =
        "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\n0\n 70\n0\n"
        " 62\n7\n  6\nContinuous\n  0\nENDTAB\n  0\nENDSEC\n";
    const std::string on_layer_0 = "  0\nCIRCLE\n  8\n0\n 10\n0\n 20\n0\n 40\n2\n";
    const std::string on_chart_layer = "  0\nCIRCLE\n  8\nHoleChart\n 10\n10\n 20\n0\n 40\n2\n";
    write_file(drive.root / "in.dxf", tables + minimal_dxf(on_layer_0 + on_chart_layer));
    ASSERT_EQ(run_bridge(drive.root, {"in.dxf", "once.dxf", "--table", "once.csv"}).exit_code, 0);
    ASSERT_EQ(run_bridge(drive.root, {"once.dxf", "twice.dxf", "--table", "twice.csv"}).exit_code,
              0);
    const std::string once = read_file(drive.root / "once.csv");
    EXPECT_NE(once.find("1,0.000,0.000,1,2,"), std::string::npos) << once;
    EXPECT_EQ(read_file(drive.root / "twice.csv"), once);
}

TEST(DxfOutput, ARerunReplacesItsOwnChartAndKeepsEverythingElse) {
    TempDrive drive;
    const fs::path input = kData / "rounds.dxf";
    ASSERT_EQ(run_bridge(drive.root, {input.string(), "once.dxf"}).exit_code, 0);
    const ToolRun again = run_bridge(drive.root, {"once.dxf", "twice.dxf"});
    ASSERT_EQ(again.exit_code, 0) << again.err;
    EXPECT_NE(again.err.find("4 holes charted"), std::string::npos) << again.err;

    const ReadBack before = read_back(input, "HoleChart");
    const ReadBack once = read_back(drive.root / "once.dxf", "HoleChart");
    const ReadBack twice = read_back(drive.root / "twice.dxf", "HoleChart");
    // The drafter's own line on the chart's layer stays; the chart is there
    // once, in the same place.
    EXPECT_TRUE(before.chart.empty());
    EXPECT_EQ(before.others_on_layer, 1);
    EXPECT_EQ(once.others_on_layer, 1);
    EXPECT_EQ(twice.others_on_layer, 1);
    EXPECT_EQ(twice.counts, once.counts);
    ASSERT_EQ(twice.chart.size(), once.chart.size());
    for (std::size_t i = 0; i < once.chart.size(); ++i) {
        expect_point("chart point", twice.chart[i].p1, once.chart[i].p1);
        EXPECT_EQ(twice.chart[i].text, once.chart[i].text);
    }
}

TEST(DxfInput, BlanksAroundCodesAnEofWithABlankAndLongTextsAreRead) {
    TempDrive drive;
    const fs::path input = kData / "tolerant.dxf";
    const ToolRun run = run_bridge(drive.root, {input.string(), "out.dxf"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, "holechart-dxf: 1 hole charted, text height 2.5\n");
    // The input is kept, its 4,000-character line and its last line too.
    const std::string in = read_file(input);
    const std::string out = read_file(drive.root / "out.dxf");
    ASSERT_NE(in.find(std::string(4000, 'X') + "\r\n"), std::string::npos);
    EXPECT_NE(out.find(std::string(4000, 'X') + "\r\n"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 12), in.substr(in.size() - 12));
    // The chart is there, marked as the chart's own.
    DxfDrawing drawing;
    std::string error;
    ASSERT_TRUE(read_dxf_drawing((drive.root / "out.dxf").string(), drawing, error)) << error;
    EXPECT_GT(drawing.layout.earlier_chart.size(), 10u);
}

struct SummaryCase {
    const char* drawing;
    std::vector<std::string> options;
    const char* says;
};

TEST(DxfOutput, OneLineSaysWhatWasChartedAndWhatWasNot) {
    const SummaryCase cases[] = {
        // The keyhole's arc is charted only by the plain rule.
        {"rounds", {"--all-arcs"}, "5 holes charted (3 circles joined from arcs)"},
        {"no_holes", {}, "no holes in"},
        {"extents", {}, "2 holes charted, text height 2.5\n"},
    };
    for (const SummaryCase& c : cases) {
        SCOPED_TRACE(c.drawing);
        TempDrive drive;
        const ToolRun run = run_on_data(drive.root, c.drawing, c.options);
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

TEST(DxfOutput, ADrawingWithWindowsLineEndsGetsItsChartWithThemToo) {
    TempDrive drive;
    std::string text;
    for (char c : read_file(kData / "kinds_r12.dxf")) {
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    write_file(drive.root / "in.dxf", text);
    const ToolRun run = run_bridge(drive.root, {"in.dxf", "out.dxf"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const std::string out = read_file(drive.root / "out.dxf");
    for (std::size_t i = out.find('\n'); i != std::string::npos; i = out.find('\n', i + 1)) {
        ASSERT_EQ(out[i - 1], '\r') << "a bare line feed at byte " << i;
    }
    TempDrive plain;
    ASSERT_EQ(run_bridge(plain.root, {(kData / "kinds_r12.dxf").string(), "out.dxf"}).exit_code, 0);
    EXPECT_EQ(read_back(drive.root / "out.dxf", "HoleChart").chart.size(),
              read_back(plain.root / "out.dxf", "HoleChart").chart.size());
}

TEST(DxfOutput, ADrawingWithoutHolesIsCopiedAndSaidSo) {
    TempDrive drive;
    const fs::path input = kData / "no_holes.dxf";
    const ToolRun run = run_bridge(drive.root, {input.string(), "out.dxf"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.err.find("holechart-dxf: no holes in"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(drive.root / "out.dxf"), read_file(input));
}

// --- Errors -----------------------------------------------------------------

struct ErrorCase {
    const char* name;
    std::string input;  // file contents; "" for none at all
    std::vector<std::string> options;
    int exit_code;
    const char* says;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

std::string minimal_dxf(const std::string& entities) {
    return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

std::vector<ErrorCase> error_cases() {
    const std::string kinds = read_file(kData / "kinds.dxf");
    const std::string circle = "  0\nCIRCLE\n  8\n0\n 10\n1.7e308\n 20\n0\n 40\n2.5\n";
    return {
        {"MissingInput", "", {}, 1, "cannot read 'in.dxf'"},
        {"EmptyInput", "\n", {}, 1, "is not a DXF file"},
        {"PlainText", "hello\nworld\n", {}, 1, "is not a DXF file"},
        {"ExchangeFile", read_file(kData / "kinds.fad"), {}, 1, "is not a DXF file"},
        {"BinaryDxf",
         std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "rest",
         {},
         1,
         "binary DXF"},
        {"TruncatedDxf", kinds.substr(0, kinds.size() / 2), {}, 1, "ends early"},
        {"NoGroupCode",
         minimal_dxf("  0\nCIRCLE\n 4O\n2.5\n"),
         {},
         1,
         "line 7 holds '4O' where a group code should be"},
        {"WindowBeyondDoublesIsAnUnusableCommandLine",
         kinds,
         {"--window", "1e999", "0", "1", "1"},
         2,
         "--window takes four numbers, not '1e999'"},
        {"OriginNotANumberIsAnUnusableCommandLine",
         kinds,
         {"--origin", "nan", "0"},
         2,
         "--origin takes two numbers, not 'nan'"},
        {"HoleTooFarFromTheOrigin",
         minimal_dxf(circle),
         {"--origin", "-1e308", "0"},
         1,
         "Invalid hole values in drawing..."},
        {"TextHeightBeyondTheToolsBounds",
         kinds,
         {"--window", "230", "-40", "300", "100", "--text-height", "1e308"},
         2,
         "--text-height takes a number from 0.000001 to 1000000, not '1e308'"},
        {"TextHeightSoSmallTheChartCollapses",
         kinds,
         {"--text-height", "1e-300"},
         2,
         "--text-height takes a number from 0.000001 to 1000000"},
        {"BadOption", kinds, {"--text-height", "big"}, 2, "--text-height takes a number from"},
    };
}

class DxfErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(DxfErrorTest, OneLineOnStandardErrorAndNoOutputFile) {
    const ErrorCase& c = GetParam();
    TempDrive drive;
    if (!c.input.empty()) {
        write_file(drive.root / "in.dxf", c.input);
    }
    std::vector<std::string> args = {"in.dxf", "out.dxf"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ToolRun run = run_bridge(drive.root, args);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(run.err.rfind("holechart-dxf: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(drive.root / "out.dxf"));
    EXPECT_FALSE(fs::exists(drive.root / "out.dxf.part"));
}

INSTANTIATE_TEST_SUITE_P(Inputs, DxfErrorTest, ::testing::ValuesIn(error_cases()),
                         [](const ::testing::TestParamInfo<ErrorCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(DxfErrors, AnOutputThatCannotBeWrittenKeepsWhatWasThere) {
    TempDrive drive;
    const std::string input = (kData / "kinds.dxf").string();
    ToolRun run = run_bridge(drive.root, {input, "no/such/folder/out.dxf"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("cannot write 'no/such/folder/out.dxf'"), std::string::npos) << run.err;

    write_file(drive.root / "kept.dxf", "earlier result");
    fs::permissions(drive.root / "kept.dxf", fs::perms::owner_read);
    run = run_bridge(drive.root, {input, "kept.dxf"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("read-only"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(drive.root / "kept.dxf"), "earlier result");
    EXPECT_FALSE(fs::exists(drive.root / "kept.dxf.part"));
}

// --- Where the drawing goes -------------------------------------------------

TEST(DxfOutput, OutputOverTheInputIsRefusedUnlessForced) {
    struct Case {
        const char* output;  // the input by another spelling or through a link
        bool force;
    };
    const Case cases[] = {
        {"in.dxf", false},   {"sub/../in.dxf", false}, {"soft.dxf", false},
        {"hard.dxf", false}, {"in.dxf", true},         {"soft.dxf", true},
    };
    const std::string drawing = read_file(kData / "kinds.dxf");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.output) + (c.force ? " --force" : ""));
        TempDrive drive;
        write_file(drive.root / "in.dxf", drawing);
        fs::create_directory(drive.root / "sub");
        fs::create_symlink("in.dxf", drive.root / "soft.dxf");
        fs::create_hard_link(drive.root / "in.dxf", drive.root / "hard.dxf");
        std::vector<std::string> args = {"in.dxf", c.output};
        if (c.force) {
            args.push_back("--force");
        }
        const ToolRun run = run_bridge(drive.root, args);
        EXPECT_EQ(run.out, "");
        if (c.force) {
            EXPECT_EQ(run.exit_code, 0) << run.err;
            EXPECT_FALSE(read_back(drive.root / c.output, "HoleChart").chart.empty());
        } else {
            EXPECT_EQ(run.exit_code, 2);
            EXPECT_EQ(run.err.rfind("holechart-dxf: the output '", 0), 0u) << run.err;
            EXPECT_NE(run.err.find("is the input 'in.dxf'"), std::string::npos) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_EQ(read_file(drive.root / "in.dxf"), drawing);
            EXPECT_TRUE(fs::is_symlink(drive.root / "soft.dxf"));
        }
    }
}

TEST(DxfOutput, DashWritesTheDrawingToStandardOutput) {
    TempDrive drive;
    const std::string input = (kData / "kinds.dxf").string();
    const ToolRun to_file = run_bridge(drive.root, {input, "out.dxf"});
    ASSERT_EQ(to_file.exit_code, 0) << to_file.err;
    const ToolRun run = run_bridge(drive.root, {input, "-"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, to_file.err);
    EXPECT_EQ(run.out, read_file(drive.root / "out.dxf"));
    EXPECT_FALSE(fs::exists(drive.root / "-"));
}

TEST(DxfErrors, RunningOutOfMemoryIsAnErrorWithoutAnOutput) {
    if (!testsupport::address_space_can_be_limited()) {
        GTEST_SKIP() << "a memory checker cannot run under a limit of address space";
    }
    // Each circle becomes a hole record of some 800 bytes: 160 MB here.
    std::string circles;
    for (int i = 0; i < 200000; ++i) {
        circles += "  0\nCIRCLE\n 40\n1\n";
    }
    TempDrive drive;
    write_file(drive.root / "big.dxf", minimal_dxf(circles));
    for (const char* output : {"out.dxf", "-"}) {
        const ToolRun run = testsupport::run_program(drive.root, HOLECHART_DXF_BINARY,
                                                     {"big.dxf", output}, "ulimit -v 100000;");
        EXPECT_EQ(run.exit_code, 1) << output;
        EXPECT_EQ(run.err, "holechart-dxf: out of memory\n") << output;
        EXPECT_EQ(run.out, "") << output;
        EXPECT_FALSE(fs::exists(drive.root / "out.dxf"));
        EXPECT_FALSE(fs::exists(drive.root / "out.dxf.part"));
    }
}

}  // namespace

namespace {

// --- One view of many, and numbers that survive a revision ----------------

struct ViewCase {
    std::vector<std::string> options;
    int exit_code;
    const char* says;
};

TEST(DxfViews, ABoxOrLayersChartOneViewAndAnEmptySelectionIsAnError) {
    const ViewCase cases[] = {
        {{}, 0, "10 holes charted, text height 2.5\n"},
        {{"--holes-in", "0", "0", "100", "100"},
         0,
         "5 holes charted, text height 2.5; not charted: 6 circles and arcs outside the selection"},
        {{"--hole-layer", "bottom"}, 0, "5 holes charted"},
        {{"--hole-layer=TOP", "--hole-layer", "Bottom"}, 0, "10 holes charted, text height 2.5\n"},
        {{"--holes-in", "100", "100", "0", "0", "--hole-layer", "BOTTOM"},
         1,
         "lies in the box 100.0 100.0 0.0 0.0 on the layer 'BOTTOM' (11 circles and arcs lie "
         "outside)"},
        {{"--holes-in", "300", "0", "400", "100"}, 1, "no hole of"},
    };
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        TempDrive drive;
        std::vector<std::string> args = {(kData / "views.dxf").string(), "out.dxf"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ToolRun run = run_bridge(drive.root, args);
        EXPECT_EQ(run.exit_code, c.exit_code);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(fs::exists(drive.root / "out.dxf"), c.exit_code == 0);
    }
}

// The file's text without the CIRCLE object centred at (x, y), and with the
// given text added before the end of the ENTITIES section.
std::string revised(const std::string& text, const std::string& x, const std::string& y,
                    const std::string& added) {
    DxfPairScanner scanner(text);
    DxfPair pair;
    std::size_t object = 0;
    std::size_t cut_begin = 0;
    std::size_t cut_end = 0;
    std::map<int, std::string> values;
    std::string type;
    std::size_t entities_end = 0;
    while (scanner.next(pair) == DxfPairScanner::Result::pair) {
        if (pair.code == 0) {
            if (type == "CIRCLE" && values[10] == x && values[20] == y) {
                cut_begin = object;
                cut_end = pair.begin;
            }
            if (pair.value == "ENDSEC" && type != "ENDSEC" && entities_end == 0 && cut_end != 0) {
                entities_end = pair.begin;
            }
            object = pair.begin;
            type = std::string(pair.value);
            values.clear();
        } else {
            values[pair.code] = std::string(pair.value);
        }
    }
    EXPECT_LT(cut_begin, cut_end) << "no circle at " << x << " " << y;
    std::string out = text;
    out.insert(entities_end, added);
    return out.erase(cut_begin, cut_end - cut_begin);
}

std::string circle_pairs(const char* x, const char* y) {
    return std::string("  0\nCIRCLE\n  8\nTOP\n 10\n") + x + "\n 20\n" + y + "\n 40\n4.5\n";
}

// The first three cells of every row of a CSV table: number, X, Y.
std::vector<std::string> table_rows(const fs::path& table) {
    std::vector<std::string> rows;
    std::istringstream lines(read_file(table));
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
        std::size_t cut = 0;
        for (int cell = 0; cell < 3 && cut != std::string::npos; ++cell) {
            cut = line.find(',', cut + 1);
        }
        rows.push_back(line.substr(0, cut));
    }
    return rows;
}

TEST(DxfKeepNumbers, KeptNumbersNewNumbersAndRetiredOnesAcrossARevision) {
    TempDrive drive;
    const std::vector<std::string> top = {"--hole-layer", "TOP", "--keep-numbers"};
    std::vector<std::string> args = {(kData / "views.dxf").string(), "v1.dxf"};
    args.insert(args.end(), top.begin(), top.end());
    ToolRun run = run_bridge(drive.root, args);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_NE(run.err.find("holds no chart numbers of this program to keep"), std::string::npos);
    // Two bolt holes added, one taken away.
    write_file(drive.root / "v2.dxf",
               revised(read_file(drive.root / "v1.dxf"), "85.0", "15.0",
                       circle_pairs("50.0", "90.0") + circle_pairs("50.0", "10.0")));
    args = {"v2.dxf", "v3.dxf", "--table", "v3.csv"};
    args.insert(args.end(), top.begin(), top.end());
    run = run_bridge(drive.root, args);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err.rfind("holechart-dxf: 6 holes charted", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("; numbers: 4 kept, 2 new, retired: 4\n"), std::string::npos) << run.err;
    // The bolt holes in number order, then the bore; numbers at the same
    // places as before.
    const std::vector<std::string> want = {"1,15.000,85.000", "2,85.000,85.000", "3,15.000,15.000",
                                           "6,50.000,90.000", "7,50.000,10.000", "5,50.000,50.000"};
    EXPECT_EQ(table_rows(drive.root / "v3.csv"), want);
}

TEST(DxfKeepNumbers, ChartDataThatCannotBeTrustedIsNumberedAfreshWithANote) {
    TempDrive drive;
    ASSERT_EQ(run_bridge(drive.root, {(kData / "views.dxf").string(), "v1.dxf"}).exit_code, 0);
    const std::string chart = read_file(drive.root / "v1.dxf");
    const std::string row = "1000\nhole row\n1040\n";
    const std::size_t first = chart.find(row);
    ASSERT_NE(first, std::string::npos);
    const std::size_t number = first + row.size();
    const struct {
        const char* number;  // in place of the first row's number
        const char* says;
    } cases[] = {
        {"2.0", "it gives the number 2 to two holes"},
        {"0.0", "it numbers a hole 0, outside 1 to 1000000"},
        {"1000001.0", "outside 1 to 1000000"},
        {"1.5", "does not read as a row"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        std::string spoilt = chart;
        spoilt.replace(number, chart.find('\n', number) - number, c.number);
        write_file(drive.root / "spoilt.dxf", spoilt);
        const ToolRun run =
            run_bridge(drive.root, {"spoilt.dxf", "v2.dxf", "--keep-numbers", "--table", "t.csv"});
        ASSERT_EQ(run.exit_code, 0) << run.err;
        EXPECT_NE(run.err.find("holechart-dxf: note: the numbers of the earlier chart in "
                               "'spoilt.dxf' cannot be trusted ("),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
        EXPECT_EQ(table_rows(drive.root / "t.csv").front(), "1,200.000,50.000");
    }
}

}  // namespace
}  // namespace holechart_dxf
