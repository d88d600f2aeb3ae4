#include "entity/entity_record.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "geometry/geometry.hpp"
#include "util/fixed_text.hpp"

void store_key_area(EntityRecord& record, std::string_view key) {
    char area[kKeyAreaSize];
    copy_text(area, key);
    // The record is trivially copyable and the three fields lie back to back
    // (checked above), so the area may be written as bytes.
    unsigned char* start = reinterpret_cast<unsigned char*>(&record) + offsetof(EntityRecord, tag);
    std::memcpy(start, area, std::strlen(area) + 1);
}

std::string read_key_area(const EntityRecord& record) {
    char area[kKeyAreaSize];
    const unsigned char* start =
        reinterpret_cast<const unsigned char*>(&record) + offsetof(EntityRecord, tag);
    std::memcpy(area, start, kKeyAreaSize);
    area[kKeyAreaSize - 1] = '\0';
    return std::string(area);
}

void reserve_for_appends(std::vector<EntityRecord>& records, std::size_t size) {
    if (size <= records.capacity()) {
        return;
    }
    // Eightfold, so that a long run of appends stays linear overall and
    // copies and touches fresh memory less often than doubling would: pages
    // of the capacity that are never written are never backed. When so much
    // cannot be had, the append asks for just what it needs.
    try {
        records.reserve(std::max(size, 8 * records.capacity()));
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

void set_entity_defaults(EntityRecord& record) {
    record = EntityRecord{};
}

namespace {

// Chosen once at the start of main, before any list exists.
AllocationFailure allocation_failure = AllocationFailure::end_process;

}  // namespace

void set_allocation_failure(AllocationFailure choice) {
    allocation_failure = choice;
}

void fail_allocation(const char* message) {
    if (allocation_failure == AllocationFailure::throw_bad_alloc) {
        throw std::bad_alloc();
    }
    std::fputs(message, stdout);
    std::fflush(stdout);
    std::exit(0);
}

EntityList entity_list_create(int n) {
    EntityList list;
    entity_list_reset(list, n);
    return list;
}

void entity_list_reset(EntityList& list, int n) {
    if (n < 0) {
        n = 0;
    }
    // Value-initialised records carry the defaults; the spare at index n is
    // simply a defaulted record too.
    list.records.clear();
    allocate_or_fail("Memori ERROR\n",
                     [&] { list.records.resize(static_cast<std::size_t>(n) + 1); });
}

void entity_list_grow(EntityList& list, int index, int count) {
    if (index < 0 || count < 0) {
        fail_allocation("Memori Append ERROR\n");
    }
    const std::size_t first = static_cast<std::size_t>(index);
    const std::size_t new_size = first + static_cast<std::size_t>(count) + 1;
    reserve_for_appends(list.records, new_size);
    const std::size_t old_size = list.records.size();
    allocate_or_fail("Memori Append ERROR\n", [&] { list.records.resize(new_size); });
    // Records the resize added are defaulted already.
    const std::size_t last = std::min(first + static_cast<std::size_t>(count), old_size);
    for (std::size_t i = first; i < last; ++i) {
        set_entity_defaults(list.records[i]);
    }
}

namespace {

void set_common_fields(EntityRecord& r, const char* layer, int32_t color, const char* line_type,
                       const char* line_style, const char* tag) {
    copy_text(r.layer, layer);
    r.color = color;
    copy_text(r.line_type, line_type);
    copy_text(r.line_style, line_style);
    copy_text(r.tag, tag);
}

}  // namespace

EntityRecord make_line_entity(const char* layer, int32_t color, const char* line_type,
                              const char* line_style, const char* tag, double seg_a, double seg_b,
                              Point p1, Point p2) {
    // Start from the defaults: id 0, handle "0", kind "LINE", shape "L",
    // justify "BL", empty text, zero geometry, scale 1.
    EntityRecord r{};
    set_common_fields(r, layer, color, line_type, line_style, tag);
    r.seg_a = seg_a;
    r.seg_b = seg_b;
    r.p1 = p1;
    r.p2 = p2;
    const LineParams params = compute_line_params(p1.x, p1.y, p2.x, p2.y);
    r.angle = params.angle;
    r.slope = params.slope;
    r.intercept = params.intercept;
    return r;
}

EntityRecord make_text_entity(const char* layer, int32_t color, const char* line_type,
                              const char* line_style, const char* tag, double text_height,
                              double angle, const char* justify, Point p1, const char* text) {
    EntityRecord r{};
    set_common_fields(r, layer, color, line_type, line_style, tag);
    copy_text(r.kind, "TEXT");
    copy_text(r.shape, "T");
    copy_text(r.justify, justify);
    copy_text(r.text, text);
    r.p1 = p1;
    r.text_height = text_height;
    r.angle = angle;
    r.scale = 1.0;
    r.width_factor = 0.8;
    return r;
}
