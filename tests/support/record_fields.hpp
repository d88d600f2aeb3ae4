// Entity records as tables in the tests: each field by its name, so that a
// test states the fields it means in one table (to check them or to set
// them) and a mismatch names the field; and lists of records as the reader
// leaves them.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "entity/entity_record.hpp"

namespace testsupport {

// A field's value as text: a real with 17 digits (equal texts are equal
// doubles), a point as its x and y, an array of reals element by element.
inline std::string field_text(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}
inline std::string field_text(int value) {
    return std::to_string(value);
}
inline std::string field_text(const char* text) {
    return text;
}
inline std::string field_text(Point p) {
    return field_text(p.x) + " " + field_text(p.y);
}
inline std::string field_text(const double (&values)[4]) {
    std::string out;
    for (double value : values) {
        out += (out.empty() ? "" : " ") + field_text(value);
    }
    return out;
}

// Stores a value given as text in a field: numbers are read as a reader of
// source code reads them ("0.8" is the double 0.8), texts copied.
template <typename Field>
void assign_field(Field& field, const std::string& value) {
    const char* text = value.c_str();
    if constexpr (std::is_same_v<Field, double>) {
        field = std::strtod(text, nullptr);
    } else if constexpr (std::is_same_v<Field, int32_t>) {
        field = static_cast<int32_t>(std::strtol(text, nullptr, 10));
    } else if constexpr (std::is_same_v<Field, Point>) {
        char* end = nullptr;
        field.x = std::strtod(text, &end);
        field.y = std::strtod(end, nullptr);
    } else if constexpr (std::is_same_v<Field, double[4]>) {
        for (double& element : field) {
            char* end = nullptr;
            element = std::strtod(text, &end);
            text = end;
        }
    } else {
        std::snprintf(field, sizeof field, "%s", text);
    }
}

// Fields by name with their values as text, written "name=value" and
// separated by ", ", e.g. "kind=PLINE, p1=1 2, text=".
using FieldTable = std::vector<std::pair<std::string, std::string>>;

inline FieldTable field_table(const std::string& text) {
    FieldTable table;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(", ", start);
        end = end == std::string::npos ? text.size() : end;
        const std::string entry = text.substr(start, end - start);
        const std::size_t equals = entry.find('=');
        table.emplace_back(entry.substr(0, equals), entry.substr(equals + 1));
        start = end + 2;
    }
    return table;
}

// Calls visit(name, member) for every field of the record that a test can
// see (the side block only by its count), in the record's order.
template <typename Visit>
void for_each_field(Visit&& visit) {
    using R = EntityRecord;
    // One name per member, in the same order.
    std::istringstream names(
        "id handle layer color line_type line_style kind weight seg_a seg_b shape tag justify "
        "text p1 p2 center radius start_angle end_angle sweep text_height scale width_factor "
        "dim_type dim_style p4 p5 dim_box p6 mark mark2 mark3 point_mode mark4 point_size "
        "extra_count angle slope intercept");
    const auto members = std::make_tuple(
        &R::id, &R::handle, &R::layer, &R::color, &R::line_type, &R::line_style, &R::kind,
        &R::weight, &R::seg_a, &R::seg_b, &R::shape, &R::tag, &R::justify, &R::text, &R::p1, &R::p2,
        &R::center, &R::radius, &R::start_angle, &R::end_angle, &R::sweep, &R::text_height,
        &R::scale, &R::width_factor, &R::dim_type, &R::dim_style, &R::p4, &R::p5, &R::dim_box,
        &R::p6, &R::mark, &R::mark2, &R::mark3, &R::point_mode, &R::mark4, &R::point_size,
        &R::extra_count, &R::angle, &R::slope, &R::intercept);
    std::apply(
        [&](auto... member) {
            std::string name;
            ((names >> name, visit(name.c_str(), member)), ...);
        },
        members);
}

// Every field of the record as text, by name.
inline std::map<std::string, std::string> fields_of(const EntityRecord& record) {
    std::map<std::string, std::string> out;
    for_each_field([&](const char* name, auto member) { out[name] = field_text(record.*member); });
    return out;
}

// The entity defaults, field by field.
inline const FieldTable& entity_defaults() {
    static const FieldTable table = field_table(
        "id=0, handle=0, layer=0, color=1, line_type=ByL, line_style=ByL, kind=LINE, weight=0, "
        "seg_a=0, seg_b=0, shape=L, tag=NO, justify=BL, text=, p1=0 0, p2=0 0, center=0 0, "
        "radius=0, start_angle=0, end_angle=0, sweep=0, text_height=0, scale=1, "
        "width_factor=0.8, dim_type=0, dim_style=, p4=0 0, p5=0 0, dim_box=0 0 0 0, p6=0 0, "
        "mark=0, mark2=0, mark3=0, point_mode=0, mark4=0, point_size=0, extra_count=0, angle=0, "
        "slope=0, intercept=0");
    return table;
}

// The table with the given fields changed and the dropped ones left out.
inline FieldTable changed(const FieldTable& table, const std::string& changes,
                          std::initializer_list<const char*> dropped = {}) {
    FieldTable out;
    for (auto entry : table) {
        for (const auto& change : field_table(changes)) {
            entry.second = change.first == entry.first ? change.second : entry.second;
        }
        bool drop = false;
        for (const char* name : dropped) {
            drop = drop || entry.first == name;
        }
        if (!drop) {
            out.push_back(entry);
        }
    }
    return out;
}

// Checks the fields the table names, each against its value read as the
// field's type.
inline void expect_fields(const EntityRecord& record, const FieldTable& expected) {
    for (const auto& entry : expected) {
        bool known = false;
        for_each_field([&](const char* name, auto member) {
            if (entry.first == name) {
                EntityRecord wanted;
                assign_field(wanted.*member, entry.second);
                EXPECT_EQ(field_text(record.*member), field_text(wanted.*member)) << name;
                known = true;
            }
        });
        EXPECT_TRUE(known) << "no field " << entry.first;
    }
}
inline void expect_fields(const EntityRecord& record, const std::string& expected) {
    expect_fields(record, field_table(expected));
}

// Sets the fields the table names.
inline void set_fields(EntityRecord& record, const std::string& values) {
    for (const auto& entry : field_table(values)) {
        for_each_field([&](const char* name, auto member) {
            if (entry.first == name) {
                assign_field(record.*member, entry.second);
            }
        });
    }
}

// The list as the reader leaves it: the records, then a defaulted slot.
inline EntityList list_of(const std::vector<EntityRecord>& records) {
    EntityList list;
    list.records = records;
    list.records.emplace_back();
    return list;
}

// The entity numbers of the first n records, in list order.
inline std::vector<int> ids_of(const EntityList& list, int n) {
    std::vector<int> ids;
    for (int i = 0; i < n; ++i) {
        ids.push_back(list[static_cast<std::size_t>(i)].id);
    }
    return ids;
}

}  // namespace testsupport
