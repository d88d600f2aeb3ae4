// The entity record's defaults, the list's create/grow/append pattern, the
// two constructors and the bounded copies into the fixed text fields. The
// copies are checked against their neighbours too: running past a field
// inside the record would not be caught by a sanitizer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "entity/entity_record.hpp"

namespace {

void ExpectZero(const Point& p, const char* what) {
    EXPECT_EQ(p.x, 0.0) << what;
    EXPECT_EQ(p.y, 0.0) << what;
}

// Every field against the table of defaults.
void ExpectDefaults(const EntityRecord& r) {
    EXPECT_EQ(r.id, 0);
    EXPECT_STREQ(r.handle, "0");
    EXPECT_STREQ(r.layer, "0");
    EXPECT_EQ(r.color, 1);
    EXPECT_STREQ(r.line_type, "ByL");
    EXPECT_STREQ(r.line_style, "ByL");
    EXPECT_STREQ(r.kind, "LINE");
    EXPECT_EQ(r.weight, 0.0);
    EXPECT_EQ(r.seg_a, 0.0);
    EXPECT_EQ(r.seg_b, 0.0);
    EXPECT_STREQ(r.shape, "L");
    EXPECT_STREQ(r.tag, "NO");
    EXPECT_STREQ(r.justify, "BL");
    EXPECT_STREQ(r.text, "");
    ExpectZero(r.p1, "p1");
    ExpectZero(r.p2, "p2");
    ExpectZero(r.center, "center");
    EXPECT_EQ(r.radius, 0.0);
    EXPECT_EQ(r.start_angle, 0.0);
    EXPECT_EQ(r.end_angle, 0.0);
    EXPECT_EQ(r.sweep, 0.0);
    EXPECT_EQ(r.text_height, 0.0);
    EXPECT_EQ(r.scale, 1.0);
    EXPECT_EQ(r.width_factor, 0.8);
    EXPECT_EQ(r.dim_type, 0);
    EXPECT_STREQ(r.dim_style, "");
    ExpectZero(r.p4, "p4");
    ExpectZero(r.p5, "p5");
    for (double v : r.dim_box) {
        EXPECT_EQ(v, 0.0);
    }
    ExpectZero(r.p6, "p6");
    EXPECT_EQ(r.mark, 0);
    EXPECT_EQ(r.mark2, 0);
    EXPECT_EQ(r.mark3, 0);
    EXPECT_EQ(r.point_mode, 0);
    EXPECT_EQ(r.mark4, 0);
    EXPECT_EQ(r.point_size, 0.0);
    EXPECT_EQ(r.extra_count, 0);
    EXPECT_EQ(r.angle, 0.0);
    EXPECT_EQ(r.slope, 0.0);
    EXPECT_EQ(r.intercept, 0.0);
}

// Changes every kind of field so that a reset can be seen.
void Scribble(EntityRecord& r) {
    r.id = 42;
    std::strcpy(r.handle, "1F");
    std::strcpy(r.layer, "Walls");
    r.color = 5;
    std::strcpy(r.kind, "ARC");
    std::strcpy(r.tag, "7_0");
    std::strcpy(r.text, "hello");
    r.p1 = Point{1, 2};
    r.center = Point{3, 4};
    r.sweep = 90;
    r.scale = 2;
    r.width_factor = 1;
    std::strcpy(r.dim_style, "ISO");
    r.dim_box[3] = 9;
    r.mark4 = 1;
    r.extra_count = 3;
    r.slope = 7;
}

// The fields in which the appended lines and text differ from each other and
// from a defaulted record.
void ExpectSameEntity(const EntityRecord& a, const EntityRecord& b, std::size_t index) {
    SCOPED_TRACE(index);
    EXPECT_STREQ(a.kind, b.kind);
    EXPECT_STREQ(a.shape, b.shape);
    EXPECT_STREQ(a.layer, b.layer);
    EXPECT_EQ(a.color, b.color);
    EXPECT_STREQ(a.justify, b.justify);
    EXPECT_STREQ(a.text, b.text);
    EXPECT_EQ(a.p1.x, b.p1.x);
    EXPECT_EQ(a.p1.y, b.p1.y);
    EXPECT_EQ(a.p2.x, b.p2.x);
    EXPECT_EQ(a.p2.y, b.p2.y);
    EXPECT_EQ(a.text_height, b.text_height);
    EXPECT_EQ(a.angle, b.angle);
    EXPECT_EQ(a.slope, b.slope);
    EXPECT_EQ(a.intercept, b.intercept);
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
    EXPECT_EQ(r.id, 0);
    EXPECT_STREQ(r.handle, "0");
    EXPECT_STREQ(r.layer, "Chart");
    EXPECT_EQ(r.color, 7);
    EXPECT_STREQ(r.line_type, "Dash");
    EXPECT_STREQ(r.line_style, "Thin");
    EXPECT_STREQ(r.tag, "T1");
    EXPECT_STREQ(r.kind, "LINE");
    EXPECT_EQ(r.weight, 0.0);
    EXPECT_EQ(r.seg_a, 1.5);
    EXPECT_EQ(r.seg_b, -2.5);
    EXPECT_STREQ(r.shape, "L");
    EXPECT_STREQ(r.justify, "BL");
    EXPECT_STREQ(r.text, "");
    EXPECT_EQ(r.p1.x, 0.0);
    EXPECT_EQ(r.p1.y, 1.0);
    EXPECT_EQ(r.p2.x, 1.0);
    EXPECT_EQ(r.p2.y, 3.0);
    ExpectZero(r.center, "center");
    EXPECT_EQ(r.radius, 0.0);
    EXPECT_EQ(r.start_angle, 0.0);
    EXPECT_EQ(r.end_angle, 0.0);
    EXPECT_EQ(r.text_height, 0.0);
    EXPECT_EQ(r.scale, 1.0);
    EXPECT_EQ(r.dim_type, 0);
    EXPECT_STREQ(r.dim_style, "");
    ExpectZero(r.p4, "p4");
    EXPECT_EQ(r.mark + r.mark2 + r.mark3 + r.point_mode, 0);
    EXPECT_EQ(r.point_size, 0.0);
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
    EXPECT_EQ(r.id, 0);
    EXPECT_STREQ(r.handle, "0");
    EXPECT_STREQ(r.layer, "Notes");
    EXPECT_EQ(r.color, 4);
    EXPECT_STREQ(r.line_type, "Cont");
    EXPECT_STREQ(r.line_style, "Bold");
    EXPECT_STREQ(r.tag, "T2");
    EXPECT_STREQ(r.kind, "TEXT");
    EXPECT_EQ(r.weight, 0.0);
    EXPECT_EQ(r.seg_a, 0.0);
    EXPECT_EQ(r.seg_b, 0.0);
    EXPECT_STREQ(r.shape, "T");
    EXPECT_STREQ(r.justify, "MC");
    EXPECT_STREQ(r.text, "12.500");
    EXPECT_EQ(r.p1.x, 6.0);
    EXPECT_EQ(r.p1.y, 7.0);
    EXPECT_EQ(r.text_height, 3.5);
    EXPECT_EQ(r.angle, 30.0);
    ExpectZero(r.p2, "p2");
    ExpectZero(r.center, "center");
    EXPECT_EQ(r.radius, 0.0);
    EXPECT_EQ(r.start_angle, 0.0);
    EXPECT_EQ(r.end_angle, 0.0);
    EXPECT_EQ(r.dim_type, 0);
    EXPECT_STREQ(r.dim_style, "");
    ExpectZero(r.p4, "p4");
    EXPECT_EQ(r.mark + r.mark2 + r.mark3 + r.point_mode, 0);
    EXPECT_EQ(r.point_size, 0.0);
    EXPECT_EQ(r.slope, 0.0);
    EXPECT_EQ(r.intercept, 0.0);
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
    ExpectZero(t.p2, "p2");
    ExpectZero(t.center, "center");
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
