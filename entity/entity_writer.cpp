#include <cstdio>
#include <cstring>
#include <system_error>

#include "entity/entity_file.hpp"
#include "entity/record_layout.hpp"
#include "geometry/geometry.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"
#include "util/safe_file.hpp"

namespace {

// Output goes to the file in blocks of about this size.
constexpr std::size_t kFlushSize = 1 << 20;

}  // namespace

void format_entity_record(EntityRecord& r, std::string& out) {
    // Colour 0 is never written out: it has always gone out as 1.
    if (r.color == 0) {
        r.color = 1;
    }
    record_layout::visit_body(r, [&](auto body) {
        using Written = typename decltype(body)::Written;
        record_layout::Head::write(r, out);
        Written::write(r, out);
    });
    // The last token of a line is followed by the line end instead of a
    // blank; a record of an unknown kind ends after its head.
    out.back() = '\n';
}

namespace {

int records_to_write(const EntityList& list, int count) {
    return count < static_cast<int>(list.size()) ? count : static_cast<int>(list.size());
}

}  // namespace

std::string format_entity_records(EntityList& list, int count) {
    std::string out;
    const int last = records_to_write(list, count);
    out.reserve(static_cast<std::size_t>(last) * 160);
    for (int i = 0; i < last; ++i) {
        format_entity_record(list[static_cast<std::size_t>(i)], out);
    }
    return out;
}

namespace {

bool flush_block(std::FILE* file, std::string& block) {
    const bool ok = std::fwrite(block.data(), 1, block.size(), file) == block.size();
    block.clear();
    return ok;
}

}  // namespace

bool write_entity_file(EntityList& list, int count, const char* path) {
    if (is_read_only_file(path)) {
        return false;
    }
    const int last = records_to_write(list, count);
    const auto write_records = [&list, last](std::FILE* file) {
        std::string block;
        block.reserve(kFlushSize + 4096);
        for (int i = 0; i < last; ++i) {
            format_entity_record(list[static_cast<std::size_t>(i)], block);
            if (block.size() >= kFlushSize && !flush_block(file, block)) {
                return false;
            }
        }
        return flush_block(file, block);
    };
    // Text mode, so that line ends are what the platform's front end expects.
    std::error_code error;
    return replace_file_atomically(path, true, write_records, error);
}

void override_layer(EntityList& list, int n, const char* layer_name, int32_t color) {
    for (int i = 0; i < n; ++i) {
        EntityRecord& r = list[static_cast<std::size_t>(i)];
        copy_text(r.layer, layer_name);
        r.color = color;
    }
}
