// One drawing entity in a flat record of fixed size, the growable list of
// such records, and the two constructors with which the chart is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "geometry/point.hpp"

// Field capacities count the terminator.
constexpr std::size_t kHandleSize = 20;
constexpr std::size_t kLayerSize = 52;
constexpr std::size_t kStyleSize = 20;
constexpr std::size_t kKindSize = 16;
constexpr std::size_t kShapeSize = 5;
constexpr std::size_t kTagSize = 50;
constexpr std::size_t kJustifySize = 20;
constexpr std::size_t kTextSize = 261;
constexpr std::size_t kDimStyleSize = 52;
constexpr std::size_t kExtraSize = 16;

// One entity of any kind: a record uses the fields of its kind and carries
// the defaults in the rest. The field names are those of the exchange file;
// the members carry the entity defaults, so a value-initialised record is a
// defaulted record. "Derived" fields are not in the file: the reader computes
// them. The hole chart reads the hole fields (centre, radius, sweep, tag,
// line style); the companions read the rest to draw or translate the entity.
struct EntityRecord {
    int32_t id = 0;  // the entity number, first token of a line; the companions number by it
    char handle[kHandleSize] = "0";  // the drawing's handle text, carried through
    char layer[kLayerSize] = "0";    // layer name; the layer override sets it
    int32_t color = 1;               // colour number; a 0 is written as 1
    // Two style names. line_style is the hole's style: the hole type table
    // and the position key read it.
    char line_type[kStyleSize] = "ByL";
    char line_style[kStyleSize] = "ByL";
    // "LINE", "ARC", "CIRCLE", "TEXT", "MTEXT", "DIMENSION", "POINT", "SOLID"
    // or "PLINE": chooses the body that is read and written.
    char kind[kKindSize] = "LINE";
    double weight = 0.0;  // a number of the head, written without decimals
    double seg_a = 0.0;   // the two values of a polyline segment
    double seg_b = 0.0;
    // "L" straight, "A" arc, "C" full circle, "T" text; on a polyline line
    // the segment's shape. A hole is a "C", or an "A" over a half turn.
    char shape[kShapeSize] = "L";
    // tag, justify and text follow each other without a gap: on a hole
    // position record the three form one text area for the position key.
    // A hole's tag "DECIMALS_DEPTH" gives its row in the type table; "NO" and
    // "NONE" mean untagged.
    char tag[kTagSize] = "NO";
    char justify[kJustifySize] = "BL";  // text justification ("BL", "BC", "MC" in the chart)
    char text[kTextSize] = "";          // the text of a text, multi-line text or dimension
    // Line start and end, arc start and end as read, text insertion point,
    // solid corners 1 and 2, dimension points 1 and 2.
    Point p1;
    Point p2;
    Point center;                        // arc or circle centre, solid corner 3: where a hole is
    double radius = 0.0;                 // arc or circle radius: the hole's size
    double start_angle = 0.0;            // degrees
    double end_angle = 0.0;              // degrees; the writer recomputes it from the sweep
    double sweep = 0.0;                  // derived: degrees from start to end angle, in (0, 360]
    double text_height = 0.0;            // text height; the chart texts take the settings' one
    double scale = 1.0;                  // not in the file; nothing reads it
    double width_factor = 0.8;           // not in the file; the companions draw texts this wide
    int32_t dim_type = 0;                // dimension type number
    char dim_style[kDimStyleSize] = "";  // dimension style name
    Point p4;                            // dimension point 3, solid corner 4
    Point p5;                            // dimension point 4
    double dim_box[4] = {0.0, 0.0, 0.0, 0.0};  // four dimension values
    Point p6;                                  // dimension point 5
    // Flags, not in the file. The reader clears mark, mark2 and mark4 on
    // every record; mark3 keeps whatever it held.
    int32_t mark = 0;
    int32_t mark2 = 0;
    int32_t mark3 = 0;
    int32_t point_mode = 0;  // point display mode
    int32_t mark4 = 0;
    // Point display size. A hole position record reuses it for the sweep of
    // the position's first hole, which orders the positions.
    double point_size = 0.0;
    // The side block is held by value: it travels with the record when the
    // record is copied and never needs releasing. Nothing reads it.
    unsigned char extra[kExtraSize] = {};
    int32_t extra_count = 0;
    // Derived for lines, arcs, circles and polyline segments: the direction
    // from p1 to p2 in degrees. Read from the file for a text (its rotation)
    // and a dimension (its text angle).
    double angle = 0.0;
    // Derived: the line through p1 and p2 as compute_line_params gives it.
    double slope = 0.0;
    double intercept = 0.0;
};

static_assert(std::is_standard_layout<EntityRecord>::value, "EntityRecord must stay flat");
static_assert(std::is_trivially_copyable<EntityRecord>::value, "EntityRecord is copied whole");

// The position key area: from the start of tag to the end of text.
constexpr std::size_t kKeyAreaSize = kTagSize + kJustifySize + kTextSize;
static_assert(offsetof(EntityRecord, justify) == offsetof(EntityRecord, tag) + kTagSize);
static_assert(offsetof(EntityRecord, text) == offsetof(EntityRecord, justify) + kJustifySize);
static_assert(kKeyAreaSize == 331);

// Stores a text of at most kKeyAreaSize - 1 characters over tag, justify and
// text (longer text is cut), and reads it back.
void store_key_area(EntityRecord& record, std::string_view key);
std::string read_key_area(const EntityRecord& record);

// An array of records. Its owner keeps the record count beside it; after
// creation and after each append, the slot at index count holds the entity
// defaults and a spare slot follows it.
struct EntityList {
    std::vector<EntityRecord> records;

    EntityRecord& operator[](std::size_t i) { return records[i]; }
    const EntityRecord& operator[](std::size_t i) const { return records[i]; }
    std::size_t size() const { return records.size(); }
};

void set_entity_defaults(EntityRecord& record);

// Makes room for at least size records ahead of a run of appends, growing
// the capacity eightfold; does nothing when that cannot be had (the append
// itself then reports running out of memory).
void reserve_for_appends(std::vector<EntityRecord>& records, std::size_t size);

// Whether the record's kind or shape code is exactly the given text.
inline bool has_kind(const EntityRecord& record, const char* kind) {
    return std::strcmp(record.kind, kind) == 0;
}
inline bool has_shape(const EntityRecord& record, const char* shape) {
    return std::strcmp(record.shape, shape) == 0;
}

// What fail_allocation does, for the whole process. holechart's front end
// reads the message on standard output and takes exit status 0 as the end
// of the run (end_process, the default). The companion programs report
// running out of memory as an error of their own, so they choose
// throw_bad_alloc at their start and catch it around their run.
enum class AllocationFailure { end_process, throw_bad_alloc };

void set_allocation_failure(AllocationFailure choice);

// How a list that cannot be allocated ends the run: by the process-wide
// choice, either prints the message on standard output and ends the process
// with exit status 0, or throws std::bad_alloc without printing anything.
[[noreturn]] void fail_allocation(const char* message);

// Runs the allocation; when memory cannot be had, ends the run through
// fail_allocation with the message.
template <typename Allocation>
void allocate_or_fail(const char* message, Allocation&& allocation) {
    try {
        allocation();
    } catch (const std::bad_alloc&) {
        fail_allocation(message);
    } catch (const std::length_error&) {
        fail_allocation(message);
    }
}

// n + 1 records: 0 to n - 1 defaulted, n a spare. On allocation failure
// ends the run through fail_allocation with "Memori ERROR\n".
EntityList entity_list_create(int n);

// The same in place: a list used before keeps its storage.
void entity_list_reset(EntityList& list, int n);

// Resizes the list to index + count + 1 records, keeping what was there;
// records index to index + count - 1 receive the defaults, index + count is a
// spare. On failure ends the run through fail_allocation with
// "Memori Append ERROR\n".
void entity_list_grow(EntityList& list, int index, int count);

EntityRecord make_line_entity(const char* layer, int32_t color, const char* line_type,
                              const char* line_style, const char* tag, double seg_a, double seg_b,
                              Point p1, Point p2);

EntityRecord make_text_entity(const char* layer, int32_t color, const char* line_type,
                              const char* line_style, const char* tag, double text_height,
                              double angle, const char* justify, Point p1, const char* text);
