// fad2svg, the SVG preview of exchange files, run as a user runs it: the
// built program in a temporary folder, its picture checked by parsing it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "tests/support/test_support.hpp"

using testsupport::read_file;
using testsupport::TempDrive;
using testsupport::write_file;

namespace {

namespace fs = std::filesystem;

const fs::path kExample = fs::path(HOLECHART_SOURCE_DIR) / "examples" / "plate";

using ToolRun = testsupport::RunResult;
using testsupport::run_shell;

ToolRun run_fad2svg(const fs::path& folder, const std::vector<std::string>& args) {
    return testsupport::run_program(folder, FAD2SVG_BINARY, args);
}

// Empty when python3's XML parser accepts the file, else what it said.
std::string xml_problems(const fs::path& file) {
    const fs::path report = file.string() + ".xmlcheck";
    const int code = run_shell(
        "python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' " +
        quote_program_path(file.string()) + " >" + quote_program_path(report.string()) + " 2>&1");
    std::string said = read_file(report);
    fs::remove(report);
    return code == 0 ? std::string() : "exit " + std::to_string(code) + ": " + said;
}

// The elements of a picture in document order. The picture is checked to be
// well-formed XML first, so a plain scan of its tags is enough here.
struct Element {
    std::string name;
    std::map<std::string, std::string> attrs;
    std::string text;  // character data up to the next tag, unescaped

    bool has(const std::string& a) const { return attrs.count(a) != 0; }
    std::string at(const std::string& a) const { return has(a) ? attrs.at(a) : std::string(); }
    double num(const std::string& a) const { return std::stod(at(a)); }
};

std::string unescape(const std::string& s) {
    static const std::pair<const char*, const char*> kRefs[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool replaced = false;
        for (const auto& ref : kRefs) {
            if (s.compare(i, std::string(ref.first).size(), ref.first) == 0) {
                out += ref.second;
                i += std::string(ref.first).size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += s[i++];
        }
    }
    return out;
}

std::vector<Element> elements_of(const std::string& svg) {
    std::vector<Element> found;
    std::size_t i = 0;
    while ((i = svg.find('<', i)) != std::string::npos) {
        ++i;
        if (svg[i] == '/' || svg[i] == '?' || svg[i] == '!') {
            continue;
        }
        Element e;
        while (i < svg.size() && svg[i] != ' ' && svg[i] != '>' && svg[i] != '/') {
            e.name += svg[i++];
        }
        for (;;) {
            while (svg[i] == ' ') {
                ++i;
            }
            if (svg[i] == '/' || svg[i] == '>') {
                break;
            }
            const std::size_t equals = svg.find('=', i);
            const std::size_t close = svg.find('"', equals + 2);
            e.attrs[svg.substr(i, equals - i)] =
                unescape(svg.substr(equals + 2, close - equals - 2));
            i = close + 1;
        }
        if (svg[i] == '>') {
            e.text = unescape(svg.substr(i + 1, svg.find('<', i) - i - 1));
        }
        found.push_back(e);
    }
    return found;
}

std::vector<Element> named(const std::vector<Element>& all, const std::string& name) {
    std::vector<Element> out;
    for (const Element& e : all) {
        if (e.name == name) {
            out.push_back(e);
        }
    }
    return out;
}

std::vector<double> numbers_in(const std::string& text) {
    std::vector<double> out;
    std::string token;
    for (char c : text + " ") {
        if ((c >= '0' && c <= '9') || c == '.' || c == '-' || (c == 'e' && !token.empty())) {
            token += c;
        } else if (!token.empty()) {
            out.push_back(std::stod(token));
            token.clear();
        }
    }
    return out;
}

// Exchange file lines, written as the front end writes them.
std::string head(const std::string& layer, int colour, const std::string& kind,
                 const std::string& shape) {
    return "1 1A " + layer + " " + std::to_string(colour) + " ByL ByL " + kind + " 0 NO " + shape +
           " ";
}
std::string line_entity(double x1, double y1, double x2, double y2,
                        const std::string& layer = "0") {
    std::ostringstream s;
    s << head(layer, 7, "LINE", "L") << x1 << " " << y1 << " " << x2 << " " << y2 << "\n";
    return s.str();
}
std::string arc_entity(double cx, double cy, double r, double start, double end,
                       const std::string& kind = "ARC") {
    std::ostringstream s;
    s << head("0", 7, kind, "A") << cx + r << " " << cy << " " << cx << " " << cy + r << " " << cx
      << " " << cy << " " << r << " " << start << " " << end << "\n";
    return s.str();
}
std::string text_entity(const std::string& text, const std::string& justify = "BL", double x = 0.0,
                        double y = 0.0, double height = 2.5, double angle = 0.0,
                        const std::string& layer = "0", const std::string& kind = "TEXT") {
    std::ostringstream s;
    s << head(layer, 2, kind, "T") << x << " " << y << " " << height << " " << angle << " "
      << justify << " " << text << "\n";
    return s.str();
}

// A folder with the given exchange files; renders them and checks that the
// picture is well-formed.
struct Picture {
    TempDrive folder;
    fs::path svg_path;
    ToolRun run;
    std::string svg;
    std::vector<Element> all;

    std::vector<Element> of(const std::string& name) const { return named(all, name); }
};

void render(Picture& p, const std::vector<std::string>& files,
            std::vector<std::string> extra_args = {}) {
    std::vector<std::string> args;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string name = "input" + std::to_string(i + 1) + ".fad";
        write_file(p.folder.root / name, files[i]);
        args.push_back(name);
    }
    args.insert(args.end(), extra_args.begin(), extra_args.end());
    args.push_back("-o");
    args.push_back("picture.svg");
    p.svg_path = p.folder.root / "picture.svg";
    p.run = run_fad2svg(p.folder.root, args);
    ASSERT_EQ(p.run.exit_code, 0) << p.run.err;
    ASSERT_TRUE(fs::exists(p.svg_path));
    ASSERT_EQ(xml_problems(p.svg_path), "");
    p.svg = read_file(p.svg_path);
    p.all = elements_of(p.svg);
}

const std::string kEveryKind =
    line_entity(0, 0, 100, 50) + arc_entity(50, 25, 10, 0, 90) +
    arc_entity(20, 20, 5, 0, 360, "CIRCLE") + head("0", 1, "PLINE", "L") + "0 0 10 0 0 0\n" +
    head("0", 1, "PLINE", "A") + "10 0 0 10 0.414 0 0 0 10 0 90\n" + text_entity("%%C5.000") +
    text_entity("NOTES:\\P1._ONE\\P2._TWO", "TL", 5, 40, 2.5, 0, "0", "MTEXT") +
    head("0", 3, "POINT", "L") + "30 30 0 0\n" + head("0", 4, "SOLID", "L") +
    "60 10 70 10 60 20 70 20\n" + head("DIM", 3, "DIMENSION", "L") +
    "1 ISO-25 0 0 100 0 0 -10 100 -10 0 0 2.5 0 50 -8 0 <>\n";

TEST(Fad2Svg, DrawsEveryEntityKind) {
    Picture p;
    render(p, {kEveryKind});
    EXPECT_EQ(p.run.err, "");
    // Line, polyline line, and the dimension's two extension lines and its
    // dimension line.
    EXPECT_EQ(p.of("line").size(), 5u);
    EXPECT_EQ(p.of("path").size(), 2u);    // the arc and the polyline arc
    EXPECT_EQ(p.of("circle").size(), 2u);  // the circle and the point
    EXPECT_EQ(p.of("polygon").size(), 1u);
    const auto texts = p.of("text");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text,
              "\xC3\x98"
              "5.000");
    EXPECT_EQ(p.of("tspan").size(), 3u);  // the paragraphs of the MTEXT
    EXPECT_EQ(texts[2].text, "100");      // "<>" is the measured length
}

TEST(Fad2Svg, SolidCornersRunOneTwoFourThree) {
    Picture p;
    render(p, {head("0", 4, "SOLID", "L") + "0 0 10 0 0 10 10 10\n"});
    const auto polygons = p.of("polygon");
    ASSERT_EQ(polygons.size(), 1u);
    // Corners 1 (0,0), 2 (10,0), 4 (10,10), 3 (0,10): a square, not a bow tie.
    EXPECT_EQ(numbers_in(polygons[0].at("points")),
              (std::vector<double>{0, 0, 10, 0, 10, -10, 0, -10}));
}

TEST(Fad2Svg, YGrowsUpwardsInTheDrawing) {
    Picture p;
    render(p, {line_entity(0, 0, 0, 10)});
    const auto lines = p.of("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].num("x1"), lines[0].num("x2"));
    EXPECT_LT(lines[0].num("y2"), lines[0].num("y1"));  // upward on the page
}

TEST(Fad2Svg, ArcsRunCounterClockwiseFromTheStartAngle) {
    struct Case {
        double start, end;
        double end_x, end_svg_y;
        int large;
    };
    const Case cases[] = {
        {0, 90, 0, -10, 0},                 // ends at the top
        {90, 0, 10, 0, 1},                  // three quarters, ends on the right
        {350, 10, 9.848078, -1.736482, 0},  // across 0 degrees
        {180, 270, 0, 10, 0},               // ends at the bottom
        {360, 90, 0, -10, 0},               // a start of 360 is 0
    };
    for (const Case& c : cases) {
        Picture p;
        render(p, {arc_entity(0, 0, 10, c.start, c.end)});
        const auto paths = p.of("path");
        ASSERT_EQ(paths.size(), 1u) << c.start << " " << c.end;
        const auto n = numbers_in(paths[0].at("d"));
        // M sx sy A rx ry rotation large sweep ex ey
        ASSERT_EQ(n.size(), 9u);
        EXPECT_NEAR(n[7], c.end_x, 1e-4) << c.start << " " << c.end;
        EXPECT_NEAR(n[8], c.end_svg_y, 1e-4) << c.start << " " << c.end;
        EXPECT_EQ(n[5], c.large) << c.start << " " << c.end;
        EXPECT_EQ(n[6], 0) << "counter-clockwise on the page is SVG's negative direction";
    }
}

TEST(Fad2Svg, FullCirclesAreCircles) {
    Picture p;
    render(p, {arc_entity(5, 5, 2, 0, 360, "CIRCLE") + arc_entity(5, 5, 3, 30, 30)});
    const auto circles = p.of("circle");
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].num("cx"), 5);
    EXPECT_EQ(circles[0].num("cy"), -5);
    EXPECT_EQ(circles[0].num("r"), 2);
    EXPECT_EQ(circles[1].num("r"), 3);  // equal angles: a full circle
    EXPECT_TRUE(p.of("path").empty());
}

TEST(Fad2Svg, JustificationSetsAnchorAndBaseline) {
    struct Case {
        const char* justify;
        const char* anchor;  // "" when the default start
        double shift;        // of the baseline below the point, in text heights
    };
    const Case cases[] = {
        {"BL", "", 0},         {"BC", "middle", 0}, {"BR", "end", 0}, {"ML", "", 0.5},
        {"MC", "middle", 0.5}, {"MR", "end", 0.5},  {"TL", "", 1},    {"TC", "middle", 1},
        {"TR", "end", 1},      {"C", "middle", 0},  {"R", "end", 0},  {"M", "middle", 0.5},
        {"??", "", 0},
    };
    std::string file;
    for (const Case& c : cases) {
        file += text_entity(std::string("T_") + c.justify, c.justify, 10, 20, 4.0);
    }
    Picture p;
    render(p, {file});
    const auto texts = p.of("text");
    ASSERT_EQ(texts.size(), std::size(cases));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(texts[i].at("text-anchor"), c.anchor) << c.justify;
        const double y = texts[i].has("y") ? texts[i].num("y") : 0.0;
        EXPECT_NEAR(y, c.shift * 4.0, 1e-9) << c.justify;
        EXPECT_EQ(numbers_in(texts[i].at("transform")).at(0), 10) << c.justify;
        EXPECT_EQ(numbers_in(texts[i].at("transform")).at(1), -20) << c.justify;
    }
}

TEST(Fad2Svg, TextsTurnCounterClockwiseAndScaleWithTheirHeight) {
    Picture p;
    render(p, {text_entity("UP", "BL", 0, 0, 2.5, 90) + text_entity("FLAT", "BL", 0, 0, 5.0)});
    const auto texts = p.of("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].at("transform").find("rotate(-90)"), std::string::npos)
        << texts[0].at("transform");
    EXPECT_EQ(texts[1].at("transform").find("rotate"), std::string::npos);
    EXPECT_NEAR(texts[1].num("font-size"), 2.0 * texts[0].num("font-size"), 1e-9);
}

TEST(Fad2Svg, CadCodesBecomeTheirSigns) {
    struct Case {
        const char* code;
        const char* shown;
    };
    const Case cases[] = {
        {"%%C10",
         "\xC3\x98"
         "10"},
        {"%%c10",
         "\xC3\x98"
         "10"},
        {"45%%D", "45\xC2\xB0"},
        {"%%P0.1",
         "\xC2\xB1"
         "0.1"},
        {"M6_TAP", "M6_TAP"},
        {"100%%%", "100%"},
        {"%%Z", "%%Z"},
        {"50%", "50%"},
    };
    std::string file;
    for (const Case& c : cases) {
        file += text_entity(c.code);
    }
    Picture p;
    render(p, {file});
    const auto texts = p.of("text");
    ASSERT_EQ(texts.size(), std::size(cases));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].text, cases[i].shown) << cases[i].code;
    }
}

// Any bytes in a text or a layer name still give well-formed XML.
TEST(Fad2Svg, HostileTextsYieldWellFormedXml) {
    const std::string hostile[] = {
        "<script>alert('x')</script>",
        "a&b&amp;\"q\"",
        "]]>--<!--",
        "\xFF\xFE\x80",         // no UTF-8 at all
        "\xC3",                 // cut short
        "\xC0\xAF",             // overlong '/'
        "\xED\xA0\x80",         // a surrogate
        "\xF4\x90\x80\x80",     // beyond U+10FFFF
        "ctl\x01\x02\x1B\x7F",  // control characters
        "c1\xC2\x85",           // a C1 control
        "nonchar\xEF\xBF\xBE",  // U+FFFE
        "Stra\xC3\x9F"
        "e_\xE2\x8C\x80",  // valid: kept as is
    };
    std::string file;
    for (const std::string& text : hostile) {
        file += text_entity(text, "BL", 0, 0, 2.5, 0, "L<&>\"'\xFF" + std::to_string(file.size()));
    }
    Picture p;
    render(p, {file});
    const auto texts = p.of("text");
    ASSERT_EQ(texts.size(), std::size(hostile));
    EXPECT_EQ(texts[0].text, hostile[0]);
    EXPECT_EQ(texts[1].text, hostile[1]);
    EXPECT_EQ(texts[2].text, hostile[2]);
    EXPECT_EQ(texts[11].text, hostile[11]);
    const std::string fffd = "\xEF\xBF\xBD";
    for (std::size_t i = 3; i < 11; ++i) {
        EXPECT_NE(texts[i].text.find(fffd), std::string::npos) << i;
    }
    EXPECT_EQ(texts[8].text, "ctl" + fffd + fffd + fffd + fffd);
    // Every layer got a group with a valid, unique id and its name as label.
    std::set<std::string> ids;
    for (const Element& g : p.of("g")) {
        if (g.at("id").rfind("layer-", 0) == 0) {
            EXPECT_TRUE(ids.insert(g.at("id")).second) << g.at("id");
            EXPECT_EQ(g.at("id").find_first_not_of(
                          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_."),
                      std::string::npos);
            EXPECT_EQ(g.at("inkscape:label").rfind("L<&>\"'" + fffd, 0), 0u);
        }
    }
    EXPECT_EQ(ids.size(), std::size(hostile));
}

TEST(Fad2Svg, UnusableNumbersAreSkippedWithAWarning) {
    Picture p;
    render(p, {line_entity(0, 0, 10, 10) + head("0", 7, "LINE", "L") + "nan 0 inf 5\n" +
               head("0", 7, "CIRCLE", "C") + "0 0 0 0 1e300 0 5 0 360\n" +
               head("0", 7, "WIPEOUT", "L") + "\n"});
    EXPECT_EQ(p.run.err,
              "fad2svg: warning: 'input1.fad': 3 entities of an unknown kind or with unusable "
              "numbers not drawn\n");
    EXPECT_EQ(p.of("line").size(), 1u);
    EXPECT_EQ(p.svg.find("nan"), std::string::npos);
    EXPECT_EQ(p.svg.find("inf"), std::string::npos);
}

TEST(Fad2Svg, ViewBoxFitsTheDrawingWithAMargin) {
    Picture p;
    render(p, {line_entity(10, 20, 110, 70) + arc_entity(110, 70, 5, 0, 360, "CIRCLE")},
           {"--width", "600"});
    const auto svg = p.of("svg");
    ASSERT_EQ(svg.size(), 1u);
    const auto box = numbers_in(svg[0].at("viewBox"));
    ASSERT_EQ(box.size(), 4u);
    // Drawing x 10..115, y 20..75, so SVG y -75..-20.
    EXPECT_LT(box[0], 10);
    EXPECT_GT(box[0], 0);
    EXPECT_LT(box[1], -75);
    EXPECT_GT(box[1], -90);
    EXPECT_GT(box[0] + box[2], 115);
    EXPECT_LT(box[0] + box[2], 125);
    EXPECT_GT(box[1] + box[3], -20);
    EXPECT_EQ(svg[0].num("width"), 600);
    EXPECT_NEAR(svg[0].num("height"), 600 * box[3] / box[2], 0.5);
    // Lines get thicker as the drawing gets bigger.
    Picture big;
    render(big, {line_entity(100, 200, 1150, 700)});
    EXPECT_NEAR(named(big.all, "g")[0].num("stroke-width"), 10 * p.of("g")[0].num("stroke-width"),
                0.02 * big.of("g")[0].num("stroke-width"));
}

TEST(Fad2Svg, ColourNumbersFollowTheColourIndex) {
    std::string file;
    for (int colour : {1, 2, 3, 4, 5, 6, 7, 8, 256}) {
        file += head("0", colour, "LINE", "L") + "0 0 " + std::to_string(colour) + " 1\n";
    }
    Picture dark;
    render(dark, {file}, {"--background", "dark"});
    std::vector<std::string> strokes;
    for (const Element& line : dark.of("line")) {
        strokes.push_back(line.at("stroke"));
    }
    EXPECT_EQ(strokes,
              (std::vector<std::string>{"#ff0000", "#ffff00", "#00ff00", "#00ffff", "#0000ff",
                                        "#ff00ff", "#ffffff", "#808080", "#808080"}));
    EXPECT_EQ(dark.of("rect")[0].at("fill"), "#1e1e1e");

    Picture light;
    render(light, {file});
    EXPECT_EQ(light.of("rect")[0].at("fill"), "#ffffff");
    EXPECT_EQ(light.of("line")[6].at("stroke"), "#000000");  // 7 on white
    EXPECT_EQ(light.of("line")[0].at("stroke"), "#ff0000");
}

TEST(Fad2Svg, LayersBecomeGroupsAndCanBeChosen) {
    const std::string file = line_entity(0, 0, 1, 1, "OUTLINE") + line_entity(0, 0, 2, 2, "HOLES") +
                             line_entity(0, 0, 3, 3, "OUTLINE") + line_entity(0, 0, 4, 4, "CENTER");
    Picture all;
    render(all, {file});
    std::vector<std::string> labels;
    for (const Element& g : all.of("g")) {
        if (g.at("id").rfind("layer-", 0) == 0) {
            labels.push_back(g.at("inkscape:label"));
            EXPECT_EQ(g.at("inkscape:groupmode"), "layer");
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"OUTLINE", "HOLES", "CENTER"}));

    Picture some;
    render(some, {file}, {"--layer", "OUTLINE", "--layer=CENTER"});
    EXPECT_EQ(some.run.err, "");
    std::vector<double> ends;
    for (const Element& line : some.of("line")) {
        ends.push_back(line.num("x2"));
    }
    EXPECT_EQ(ends, (std::vector<double>{1, 3, 4}));

    Picture none;
    render(none, {file}, {"--layer", "MISSING"});
    EXPECT_EQ(none.run.err,
              "fad2svg: warning: no entity is on layer 'MISSING'\n"
              "fad2svg: warning: nothing to draw\n");
    EXPECT_TRUE(none.of("line").empty());
}

TEST(Fad2Svg, LaterFilesDrawOverEarlierOnes) {
    Picture p;
    render(p, {line_entity(0, 0, 1, 0, "0") + line_entity(0, 0, 2, 0, "PART"),
               line_entity(0, 0, 3, 0, "0") + line_entity(0, 0, 4, 0, "CHART")});
    std::vector<std::string> ids;
    for (const Element& g : p.of("g")) {
        ids.push_back(g.at("id") + "=" + g.at("inkscape:label"));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"drawing=", "file-1=input1.fad", "layer-0=0",
                                             "layer-PART=PART", "file-2=input2.fad", "layer-0-2=0",
                                             "layer-CHART=CHART"}));
    std::vector<double> order;
    for (const Element& line : p.of("line")) {
        order.push_back(line.num("x2"));
    }
    EXPECT_EQ(order, (std::vector<double>{1, 2, 3, 4}));
}

TEST(Fad2Svg, EmptyInputGivesAnEmptyPictureAndAWarning) {
    Picture p;
    render(p, {""});
    EXPECT_EQ(p.run.err,
              "fad2svg: warning: 'input1.fad' holds no entities\n"
              "fad2svg: warning: nothing to draw\n");
    EXPECT_EQ(p.of("rect").size(), 1u);
}

TEST(Fad2Svg, HelpGoesToStandardOutput) {
    TempDrive folder;
    const ToolRun run = run_fad2svg(folder.root, {"--help"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out.rfind("Usage: fad2svg", 0), 0u);
    EXPECT_EQ(run.err, "");
}

TEST(Fad2Svg, ErrorsGiveOneLineAndNoPicture) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no input file given"},
        {{"in.fad"}, "no output file given"},
        {{"in.fad", "-o"}, "option -o needs a value"},
        {{"in.fad", "-o", "out.svg", "--frobnicate"}, "unknown option '--frobnicate'"},
        {{"in.fad", "-o", "out.svg", "-x"}, "unknown option '-x'"},
        {{"in.fad", "-o", "out.svg", "-o", "other.svg"}, "only one output file"},
        {{"in.fad", "-o", "out.svg", "--width", "wide"}, "--width takes a whole number"},
        {{"in.fad", "-o", "out.svg", "--width", "0"}, "--width takes a whole number"},
        {{"in.fad", "-o", "out.svg", "--background", "blue"}, "--background takes light or dark"},
        {{"missing.fad", "-o", "out.svg"}, "cannot read 'missing.fad': No such file"},
        {{"in.fad", "missing.fad", "-o", "out.svg"}, "cannot read 'missing.fad'"},
        {{"sub", "-o", "out.svg"}, "cannot read 'sub': it is a folder"},
        {{"in.fad", "-o", "no/such/folder/out.svg"}, "cannot write 'no/such/folder/out.svg'"},
        {{"in.fad", "-o", "sub"}, "cannot write 'sub': it is a folder"},
        {{"in.fad", "-o", "out.svg", "--two\nlines"}, "unknown option '--two\xEF\xBF\xBDlines'"},
    };
    for (const Case& c : cases) {
        TempDrive folder;
        write_file(folder.root / "in.fad", line_entity(0, 0, 1, 1));
        fs::create_directory(folder.root / "sub");
        const ToolRun run = run_fad2svg(folder.root, c.args);
        const std::string context = "message for case: " + std::string(c.message);
        EXPECT_NE(run.exit_code, 0) << context;
        EXPECT_EQ(run.err.rfind("fad2svg: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        EXPECT_FALSE(fs::exists(folder.root / "out.svg")) << context;
        EXPECT_TRUE(testsupport::leftover_temporaries(folder.root / "out.svg").empty()) << context;
    }
}

TEST(Fad2Svg, FailedRunKeepsAnEarlierPicture) {
    TempDrive folder;
    write_file(folder.root / "out.svg", "earlier");
    write_file(folder.root / "in.fad", line_entity(0, 0, 1, 1));
    ToolRun run = run_fad2svg(folder.root, {"in.fad", "missing.fad", "-o", "out.svg"});
    EXPECT_NE(run.exit_code, 0);
    EXPECT_EQ(read_file(folder.root / "out.svg"), "earlier");

    // Read-only: kept as it is, even though the folder would allow a rename.
    fs::permissions(folder.root / "out.svg", fs::perms::owner_write, fs::perm_options::remove);
    run = run_fad2svg(folder.root, {"in.fad", "-o", "out.svg"});
    EXPECT_NE(run.exit_code, 0);
    EXPECT_NE(run.err.find("read-only"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(folder.root / "out.svg"), "earlier");

    fs::permissions(folder.root / "out.svg", fs::perms::owner_write, fs::perm_options::add);
    run = run_fad2svg(folder.root, {"in.fad", "-o", "out.svg"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(read_file(folder.root / "out.svg").rfind("<?xml", 0), 0u);
    EXPECT_TRUE(testsupport::leftover_temporaries(folder.root / "out.svg").empty());
}

TEST(Fad2Svg, OutputOverAnInputIsRefusedUnlessForced) {
    struct Case {
        std::vector<std::string> args;
        int exit_code;
        const char* picture;  // the file that holds the picture after the run, if any
    };
    const Case cases[] = {
        {{"in.fad", "-o", "in.fad"}, 2, nullptr},
        {{"in.fad", "-o", "sub/../in.fad"}, 2, nullptr},
        {{"first.fad", "in.fad", "-o", "soft.fad"}, 2, nullptr},  // the second input, by a link
        {{"in.fad", "-o", "hard.fad"}, 2, nullptr},
        {{"in.fad", "-o", "in.fad", "--force"}, 0, "in.fad"},
        {{"--force", "in.fad", "-o", "soft.fad"}, 0, "soft.fad"},
    };
    const std::string drawing = line_entity(0, 0, 1, 1);
    for (const Case& c : cases) {
        TempDrive folder;
        write_file(folder.root / "in.fad", drawing);
        write_file(folder.root / "first.fad", drawing);
        fs::create_directory(folder.root / "sub");
        fs::create_symlink("in.fad", folder.root / "soft.fad");
        fs::create_hard_link(folder.root / "in.fad", folder.root / "hard.fad");
        const ToolRun run = run_fad2svg(folder.root, c.args);
        std::string context;
        for (const std::string& arg : c.args) {
            context += arg + " ";
        }
        EXPECT_EQ(run.exit_code, c.exit_code) << context << ": " << run.err;
        EXPECT_EQ(run.out, "") << context;
        if (c.picture == nullptr) {
            EXPECT_EQ(run.err.rfind("fad2svg: the output '", 0), 0u) << run.err;
            EXPECT_NE(run.err.find("is the input"), std::string::npos) << run.err;
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
            EXPECT_EQ(read_file(folder.root / "in.fad"), drawing) << context;
            EXPECT_TRUE(fs::is_symlink(folder.root / "soft.fad")) << context;
        } else {
            EXPECT_EQ(read_file(folder.root / c.picture).rfind("<?xml", 0), 0u) << context;
        }
    }
}

TEST(Fad2Svg, DashWritesThePictureToStandardOutput) {
    TempDrive folder;
    write_file(folder.root / "in.fad", line_entity(0, 0, 1, 1));
    const ToolRun run = run_fad2svg(folder.root, {"in.fad", "-o", "-"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("<?xml", 0), 0u);
    EXPECT_NE(run.out.find("</svg>"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.root / "-"));

    // Standard output on a full disk.
    const int code =
        run_shell("cd " + quote_program_path(folder.root.string()) + " && " +
                  quote_program_path(FAD2SVG_BINARY) + " in.fad -o - >/dev/full 2>run.stderr");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(read_file(folder.root / "run.stderr"),
              "fad2svg: cannot write standard output: No space left on device\n");
}

TEST(Fad2Svg, RunningOutOfMemoryIsAnErrorWithoutAPicture) {
    if (!testsupport::address_space_can_be_limited()) {
        GTEST_SKIP() << "a memory checker cannot run under a limit of address space";
    }
    TempDrive folder;
    // The reader wants one record of some 800 bytes per line: 400 MB here.
    std::string lines;
    for (int i = 0; i < 500000; ++i) {
        lines += "x\n";
    }
    write_file(folder.root / "big.fad", lines);
    for (const char* output : {"big.svg", "-"}) {
        const ToolRun run = testsupport::run_program(
            folder.root, FAD2SVG_BINARY, {"big.fad", "-o", output}, "ulimit -v 100000;");
        EXPECT_EQ(run.exit_code, 1) << output;
        EXPECT_EQ(run.err, "fad2svg: out of memory\n") << output;
        EXPECT_EQ(run.out, "") << output;
        EXPECT_FALSE(fs::exists(folder.root / "big.svg"));
        EXPECT_TRUE(testsupport::leftover_temporaries(folder.root / "big.svg").empty());
    }
}

// The example drawing alone, and with the chart that holechart makes for it:
// a drafter's check of the chart must not be drowned in warnings.
TEST(Fad2Svg, ExampleDrawingRendersWithoutWarnings) {
    TempDrive drive;
    drive.write_entities(read_file(kExample / "Object.fad"));
    drive.write_settings(read_file(kExample / "infoHoleTable.dat"));
    std::istringstream numbers(read_file(kExample / "arguments.txt"));
    std::vector<std::string> args;
    for (std::string word; numbers >> word;) {
        args.push_back(word);
    }
    const auto holechart = testsupport::run_holechart(drive, args);
    ASSERT_EQ(holechart.exit_code, 0);
    ASSERT_TRUE(drive.has_result());

    ToolRun run = run_fad2svg(drive.work, {"Object.fad", "-o", "drawing.svg"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(xml_problems(drive.work / "drawing.svg"), "");

    run = run_fad2svg(drive.work, {"Object.fad", "ResultDR.fad", "-o", "plate.svg"});
    EXPECT_EQ(run.exit_code, 0);
    // A chart text holding a blank would show up here: the exchange format
    // cannot carry it, and the records after it are read out of step.
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(xml_problems(drive.work / "plate.svg"), "");
}

}  // namespace
