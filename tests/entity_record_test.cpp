// The entity record's defaults, the list's create/grow/append pattern, the
// two constructors and the bounded copies into the fixed text fields. The
// copies are checked against their neighbours too: running past a field
// inside the record would not be caught by a sanitizer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "entity/entity_record.hpp"
#include "tests/support/record_fields.hpp"

namespace {

using testsupport::changed;
using testsupport::entity_defaults;
using testsupport::expect_fields;

void ExpectDefaults(const EntityRecord& r) {
    expect_fields(r, entity_defaults());
}

// Changes every kind of field so that a reset can be seen.
void Scribble(EntityRecord& r) {
    testsupport::set_fields(
        r,
        "id=42, handle=1F, layer=Walls, color=5, kind=ARC, tag=7_0, text=hello, "
        "p1=1 2, center=3 4, sweep=90, scale=2, width_factor=1, dim_style=ISO, "
        "dim_box=0 0 0 9, mark4=1, extra_count=3, slope=7");
}

// A record copied whole into the list: every field as built.
void ExpectSameEntity(const EntityRecord& a, const EntityRecord& b, std::size_t index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(testsupport::fields_of(a), testsupport::fields_of(b));
}

TEST(EntityRecordTest, ValueInitialisedRecordCarriesDefaults) {
    const EntityRecord r{};
    ExpectDefaults(r);
}

TEST(EntityRecordTest, SetDefaultsResetsEveryField) {
    EntityRecord r{};
    Scribble(r);
    set_entity_defaults(r);
    ExpectDefaults(r);
}

TEST(EntityListTest, CreateZeroGivesOneSpare) {
    const EntityList list = entity_list_create(0);
    EXPECT_EQ(list.size(), 1u);
}

TEST(EntityListTest, CreateGivesDefaultedRecordsAndSpare) {
    const EntityList list = entity_list_create(2);
    ASSERT_EQ(list.size(), 3u);
    ExpectDefaults(list[0]);
    ExpectDefaults(list[1]);
}

TEST(EntityListTest, GrowKeepsRecordsAndDefaultsTheNewSlots) {
    EntityList list = entity_list_create(2);
    Scribble(list[0]);
    Scribble(list[1]);
    Scribble(list[2]);
    entity_list_grow(list, 1, 2);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].id, 42);
    EXPECT_STREQ(list[0].text, "hello");
    ExpectDefaults(list[1]);
    ExpectDefaults(list[2]);
}

TEST(EntityListTest, ThreeAppendsToListOfTwo) {
    EntityList list = entity_list_create(2);
    int count = 0;
    const EntityRecord built[] = {
        make_line_entity("HoleChart", 3, "ByL", "ByL", "NO", 0, 0, Point{0, 0}, Point{10, 0}),
        make_text_entity("HoleChart", 3, "ByL", "ByL", "NO", 2.5, 0, "MC", Point{5, 5}, "NO"),
        make_line_entity("HoleChart", 3, "ByL", "ByL", "NO", 0, 0, Point{0, 0}, Point{0, 10}),
    };
    for (const EntityRecord& r : built) {
        list[static_cast<std::size_t>(count)] = r;
        ++count;
        entity_list_grow(list, count, 1);
        ASSERT_EQ(list.size(), static_cast<std::size_t>(count) + 2);
        ExpectDefaults(list[static_cast<std::size_t>(count)]);
    }
    ASSERT_EQ(list.size(), 5u);
    for (std::size_t i = 0; i < 3; ++i) {
        ExpectSameEntity(list[i], built[i], i);
    }
    ExpectDefaults(list[3]);
}

TEST(MakeLineEntityTest, SetsNamedFields) {
    const EntityRecord r =
        make_line_entity("Chart", 7, "Dash", "Thin", "T1", 1.5, -2.5, Point{0, 1}, Point{1, 3});
    // The fields the constructor leaves unnamed are not checked; the line
    // parameters are checked below.
    expect_fields(r, changed(entity_defaults(),
                             "layer=Chart, color=7, line_type=Dash, line_style=Thin, tag=T1, "
                             "seg_a=1.5, seg_b=-2.5, p1=0 1, p2=1 3",
                             {"sweep", "p5", "dim_box", "p6", "mark4", "extra_count",
                              "width_factor", "slope", "intercept", "angle"}));
    // Rising 2 per 1 from (0, 1).
    EXPECT_NEAR(r.slope, 2.0, 1e-12);
    EXPECT_EQ(r.intercept, 1.0);
    EXPECT_NEAR(r.angle, 63.43494882292201, 1e-12);
}

TEST(MakeLineEntityTest, SlopeAndInterceptRules) {
    struct Case {
        const char* name;
        Point p1, p2;
        double slope, intercept, angle;
    };
    const Case cases[] = {
        {"Horizontal", {1, 4}, {9, 4}, 0.0, 4.0, 0.0},
        {"HorizontalWest", {9, 4}, {1, 4}, 0.0, 4.0, 180.0},
        {"NearlyHorizontal", {1, 4}, {9, 4 + 4e-9}, 0.0, 4.0, 0.0},
        {"Vertical", {3, 1}, {3, 7}, 99999999.9, 3.0, 90.0},
        {"VerticalDown", {3, 7}, {3, 1}, 99999999.9, 3.0, 270.0},
        {"NearlyVertical", {3, 1}, {3 - 4e-9, 7}, 99999999.9, 3.0, 90.0},
    };
    for (const Case& c : cases) {
        const EntityRecord r = make_line_entity("0", 1, "ByL", "ByL", "NO", 0, 0, c.p1, c.p2);
        EXPECT_EQ(r.slope, c.slope) << c.name;
        EXPECT_EQ(r.intercept, c.intercept) << c.name;
        EXPECT_EQ(r.angle, c.angle) << c.name;
    }
}

TEST(MakeTextEntityTest, SetsNamedFieldsAndFixedFactors) {
    const EntityRecord r =
        make_text_entity("Notes", 4, "Cont", "Bold", "T2", 3.5, 30.0, "MC", Point{6, 7}, "12.500");
    expect_fields(r,
                  changed(entity_defaults(),
                          "layer=Notes, color=4, line_type=Cont, line_style=Bold, tag=T2, "
                          "kind=TEXT, shape=T, justify=MC, text=12.500, p1=6 7, text_height=3.5, "
                          "angle=30",
                          {"sweep", "p5", "dim_box", "p6", "mark4", "extra_count"}));
}

TEST(MakeTextEntityTest, WidthFactorAndScaleWhateverTheArguments) {
    for (double height : {0.0, 2.5, 100.0}) {
        for (double angle : {0.0, 90.0, 359.0}) {
            const EntityRecord r =
                make_text_entity("L", 0, "A", "B", "NO", height, angle, "BC", Point{-1, 1}, "x");
            EXPECT_EQ(r.width_factor, 0.8);
            EXPECT_EQ(r.scale, 1.0);
        }
    }
}

TEST(BoundedCopyTest, LongArgumentsAreCutToTheirFields) {
    const std::string layer(300, 'L');
    const std::string style(40, 'S');
    const std::string tag(100, 'G');
    const std::string justify(50, 'J');
    const std::string text(1000, 'T');

    const EntityRecord line = make_line_entity(layer.c_str(), 3, style.c_str(), style.c_str(),
                                               tag.c_str(), 0, 0, Point{0, 0}, Point{1, 0});
    EXPECT_EQ(std::string(line.layer), layer.substr(0, 51));
    EXPECT_EQ(std::string(line.line_type), style.substr(0, 19));
    EXPECT_EQ(std::string(line.line_style), style.substr(0, 19));
    EXPECT_EQ(std::string(line.tag), tag.substr(0, 49));
    // The fields right behind the cut ones keep their values.
    EXPECT_EQ(line.color, 3);
    EXPECT_STREQ(line.kind, "LINE");
    EXPECT_STREQ(line.justify, "BL");
    EXPECT_STREQ(line.text, "");

    const EntityRecord t =
        make_text_entity(layer.c_str(), 3, style.c_str(), style.c_str(), tag.c_str(), 2.5, 0,
                         justify.c_str(), Point{1, 2}, text.c_str());
    EXPECT_EQ(std::string(t.layer), layer.substr(0, 51));
    EXPECT_EQ(std::string(t.tag), tag.substr(0, 49));
    EXPECT_EQ(std::string(t.justify), justify.substr(0, 19));
    EXPECT_EQ(std::string(t.text), text.substr(0, 260));
    EXPECT_EQ(t.p1.x, 1.0);
    EXPECT_EQ(t.p1.y, 2.0);
    expect_fields(t, "p2=0 0, center=0 0");
    EXPECT_EQ(t.radius, 0.0);
    EXPECT_STREQ(t.dim_style, "");
    EXPECT_EQ(t.mark4, 0);
    EXPECT_EQ(t.intercept, 0.0);
}

TEST(BoundedCopyTest, TextsThatJustFitAreKept) {
    const std::string layer(51, 'L');
    const std::string text(260, 'T');
    const EntityRecord t = make_text_entity(layer.c_str(), 3, "ByL", "ByL", "NO", 2.5, 0, "BL",
                                            Point{0, 0}, text.c_str());
    EXPECT_EQ(std::string(t.layer), layer);
    EXPECT_EQ(std::string(t.text), text);
}

TEST(KeyAreaTest, RoundTrip) {
    const std::string keys[] = {
        "",
        "3_0_ByL_2.50000_360.00000",
        std::string(49, 'a'),
        std::string(50, 'b'),  // just past tag
        std::string(120, 'c'),
        std::string(330, 'd'),
    };
    for (const std::string& key : keys) {
        EntityRecord r{};
        store_key_area(r, key);
        EXPECT_EQ(read_key_area(r), key) << key.size();
    }
}

TEST(KeyAreaTest, LongKeyCutAt330AndNeighboursKept) {
    EntityRecord r{};
    r.p1 = Point{1.5, 2.5};
    std::string key;
    for (int i = 0; i < 400; ++i) {
        key.push_back(static_cast<char>('a' + i % 26));
    }
    store_key_area(r, key);
    EXPECT_EQ(read_key_area(r), key.substr(0, 330));
    EXPECT_STREQ(r.shape, "L");
    EXPECT_EQ(r.p1.x, 1.5);
    EXPECT_EQ(r.p1.y, 2.5);
}

TEST(KeyAreaTest, ShorterKeyReplacesLonger) {
    EntityRecord r{};
    store_key_area(r, std::string(330, 'z'));
    store_key_area(r, "3_0");
    EXPECT_EQ(read_key_area(r), "3_0");
    EXPECT_STREQ(r.tag, "3_0");
}

}  // namespace
