#include "chart/hole_reading.hpp"

#include "chart/hole_collection.hpp"
#include "entity/entity_file.hpp"
#include "entity/token_stream.hpp"

void read_stream_holes(TokenStream& stream, int records, EntityList& holes, int& count) {
    holes.records.clear();
    EntityRecord record;
    for (int i = 0; i < records; ++i) {
        default_entity_head(record);
        read_entity_head(stream, record);
        // Only a record of shape "C" or "A" can be a hole: the body of any
        // other is passed over unread.
        if (!has_shape(record, "C") && !has_shape(record, "A")) {
            skip_entity_body(stream, record);
            continue;
        }
        default_entity_body(record);
        read_entity_body(stream, record);
        if (is_hole(record)) {
            reserve_for_appends(holes.records, holes.records.size() + 1);
            allocate_or_fail("Memori ERROR\n", [&] { holes.records.push_back(record); });
        }
    }
    token_stream_close(stream);
    count = static_cast<int>(holes.records.size());
    // The defaulted slot after the records and the spare, as in every list.
    allocate_or_fail("Memori ERROR\n", [&] { holes.records.resize(holes.records.size() + 2); });
}
