#include "tools/holechart_dxf/chart_dxf.hpp"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/holechart_dxf/chart_marks.hpp"
#include "tools/holechart_dxf/dxf_values.hpp"
#include "util/number_text.hpp"

namespace holechart_dxf {

namespace {

// The justification codes of the chart's texts as DXF's horizontal (72)
// and vertical (73) alignment.
struct Alignment {
    const char* code;
    int horizontal;
    int vertical;
};
constexpr Alignment kAlignments[] = {
    {"BL", 0, 0}, {"BC", 1, 0}, {"BR", 2, 0}, {"ML", 0, 2}, {"MC", 1, 2},
    {"MR", 2, 2}, {"TL", 0, 3}, {"TC", 1, 3}, {"TR", 2, 3},
};

Alignment alignment_of(const char* justify) {
    for (const Alignment& a : kAlignments) {
        if (std::strcmp(a.code, justify) == 0) {
            return a;
        }
    }
    return kAlignments[0];
}

class DxfText {
  public:
    DxfText(std::string& out, const DxfLayout& layout) : out_(out), eol_(layout.line_end) {}

    void pair(int code, const std::string& value) {
        // Group codes right-aligned in three places, as most writers do.
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%3d", code);
        out_ += buffer;
        out_ += eol_;
        out_ += value;
        out_ += eol_;
    }
    void real(int code, double value) { pair(code, dxf_real(value)); }
    void integer(int code, int value) { pair(code, std::to_string(value)); }
    void point(int code, Point p) {
        real(code, p.x);
        real(code + 10, p.y);
        real(code + 20, 0.0);
    }

  private:
    std::string& out_;
    const std::string& eol_;
};

std::string hex_handle(unsigned long long handle) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%llX", handle);
    return buffer;
}

// Type, handle, owner and the common entity part up to the subclass marker
// of the entity's own data.
void entity_start(DxfText& dxf, DxfLayout& layout, const char* type, const EntityRecord& r) {
    dxf.pair(0, type);
    if (layout.handles) {
        dxf.pair(5, hex_handle(layout.next_handle++));
    }
    if (layout.subclass_markers) {
        if (!layout.model_space_handle.empty()) {
            dxf.pair(330, layout.model_space_handle);
        }
        dxf.pair(100, "AcDbEntity");
    }
    dxf.pair(8, r.layer);
    // The chart's line type is "ByL": BYLAYER, which DXF gives by leaving
    // group 6 out. Colour 0 is written as 1, as the exchange format does.
    dxf.integer(62, r.color == 0 ? 1 : r.color);
}

// The mark that makes the entity the chart's own, so that a later run
// replaces it; the number at a hole records its row there.
void chart_mark(DxfText& dxf, const ListedHole* row) {
    dxf.pair(1001, kChartApplication);
    for (const auto& pair : chart_mark_pairs(row)) {
        dxf.pair(pair.first, pair.second);
    }
}

void write_line(DxfText& dxf, DxfLayout& layout, const EntityRecord& r) {
    entity_start(dxf, layout, "LINE", r);
    if (layout.subclass_markers) {
        dxf.pair(100, "AcDbLine");
    }
    dxf.point(10, r.p1);
    dxf.point(11, r.p2);
    chart_mark(dxf, nullptr);
}

void write_text(DxfText& dxf, DxfLayout& layout, const EntityRecord& r, const ListedHole* row) {
    const Alignment a = alignment_of(r.justify);
    entity_start(dxf, layout, "TEXT", r);
    if (layout.subclass_markers) {
        dxf.pair(100, "AcDbText");
    }
    // An aligned text is placed by its second point; readers recompute the
    // first from it, so both carry the chart's point.
    dxf.point(10, r.p1);
    dxf.real(40, r.text_height);
    dxf.pair(1, r.text);
    if (r.angle != 0.0) {
        dxf.real(50, r.angle);
    }
    dxf.real(41, r.width_factor);
    if (a.horizontal != 0) {
        dxf.integer(72, a.horizontal);
    }
    if (a.horizontal != 0 || a.vertical != 0) {
        dxf.point(11, r.p1);
    }
    if (layout.subclass_markers) {
        dxf.pair(100, "AcDbText");
    }
    if (a.vertical != 0) {
        dxf.integer(73, a.vertical);
    }
    chart_mark(dxf, row);
}

// The start of a table record: its type, its handle, and where the file
// has them, the owning table and the subclass markers.
void start_table_record(DxfText& dxf, DxfLayout& layout, const char* type,
                        const std::string& table_handle, const char* subclass) {
    dxf.pair(0, type);
    if (layout.handles) {
        dxf.pair(5, hex_handle(layout.next_handle++));
    }
    if (layout.subclass_markers) {
        if (!table_handle.empty()) {
            dxf.pair(330, table_handle);
        }
        dxf.pair(100, "AcDbSymbolTableRecord");
        dxf.pair(100, subclass);
    }
}

void write_layer(DxfText& dxf, DxfLayout& layout, const char* name, int color) {
    start_table_record(dxf, layout, "LAYER", layout.layer_table_handle, "AcDbLayerTableRecord");
    dxf.pair(2, name);
    dxf.integer(70, 0);
    dxf.integer(62, color == 0 ? 1 : color);
    dxf.pair(6, kNewLayerLineType);
    // Readers from R2000 on want every layer to name a plot style.
    if (!layout.plot_style_handle.empty()) {
        dxf.pair(390, layout.plot_style_handle);
    }
}

void write_appid(DxfText& dxf, DxfLayout& layout) {
    start_table_record(dxf, layout, "APPID", layout.appid_table_handle, "AcDbRegAppTableRecord");
    dxf.pair(2, kChartApplication);
    dxf.integer(70, 0);
}

bool has_name(const std::vector<std::string>& names, const char* name) {
    return std::find(names.begin(), names.end(), dxf_upper(name)) != names.end();
}

}  // namespace

std::string dxf_real(double value) {
    std::string text;
    append_fixed(text, value, 12);
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        std::size_t last = text.find_last_not_of('0');
        if (last == point) {
            last += 1;  // keep one decimal: "2.0"
        }
        text.erase(last + 1);
    }
    return text == "-0.0" ? "0.0" : text;
}

bool format_chart_dxf(const RunState& state, DxfLayout& layout, ChartInsertions& insertions,
                      std::string& error) {
    insertions = ChartInsertions{};
    if (state.chart_count <= 0) {
        return true;
    }
    // Every chart entity, a layer and an application name may each take a
    // handle, and the seed after them must still be one.
    const unsigned long long needed = static_cast<unsigned long long>(state.chart_count) + 3;
    if (layout.handles && (layout.next_handle == 0 || layout.next_handle > ULLONG_MAX - needed)) {
        error = std::string(kHandlesExhausted) + ": none are left for the chart's " +
                std::to_string(state.chart_count) + " entities";
        return false;
    }
    const EntityRecord& first = state.chart_list[0];
    if (layout.layer_table_end != kNoOffset && !has_name(layout.layer_names, first.layer)) {
        DxfText dxf(insertions.layer_record, layout);
        write_layer(dxf, layout, first.layer, first.color);
    }
    if (layout.appid_table_end != kNoOffset && !has_name(layout.appid_names, kChartApplication)) {
        DxfText dxf(insertions.appid_record, layout);
        write_appid(dxf, layout);
    }
    // The number at each hole, by its place in the chart list.
    std::vector<const ListedHole*> rows(static_cast<std::size_t>(state.chart_count), nullptr);
    for (const ListedHole& hole : state.listing.holes) {
        if (hole.mark >= 0 && hole.mark < state.chart_count) {
            rows[static_cast<std::size_t>(hole.mark)] = &hole;
        }
    }
    DxfText dxf(insertions.entities, layout);
    for (int i = 0; i < state.chart_count; ++i) {
        const EntityRecord& r = state.chart_list[static_cast<std::size_t>(i)];
        if (has_kind(r, "TEXT")) {
            write_text(dxf, layout, r, rows[static_cast<std::size_t>(i)]);
        } else {
            write_line(dxf, layout, r);
        }
    }
    if (layout.handles && layout.handseed_begin != kNoOffset) {
        DxfText seed(insertions.handseed, layout);
        seed.pair(5, hex_handle(layout.next_handle));
    }
    return true;
}

std::string splice_chart(const std::string& bytes, const DxfLayout& layout,
                         const ChartInsertions& insertions) {
    struct Splice {
        std::size_t begin;
        std::size_t end;
        const std::string* text;
    };
    std::vector<Splice> splices;
    if (!insertions.handseed.empty()) {
        splices.push_back({layout.handseed_begin, layout.handseed_end, &insertions.handseed});
    }
    if (!insertions.layer_record.empty()) {
        splices.push_back(
            {layout.layer_table_end, layout.layer_table_end, &insertions.layer_record});
    }
    if (!insertions.appid_record.empty()) {
        splices.push_back(
            {layout.appid_table_end, layout.appid_table_end, &insertions.appid_record});
    }
    static const std::string nothing;
    for (const auto& range : layout.earlier_chart) {
        splices.push_back({range.first, range.second, &nothing});
    }
    if (!insertions.entities.empty()) {
        splices.push_back({layout.entities_end, layout.entities_end, &insertions.entities});
    }
    std::stable_sort(splices.begin(), splices.end(),
                     [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
    std::string out;
    out.reserve(bytes.size() + insertions.entities.size() + insertions.layer_record.size() +
                insertions.appid_record.size() + insertions.handseed.size());
    std::size_t copied = 0;
    for (const Splice& s : splices) {
        if (s.begin < copied || s.end > bytes.size()) {
            continue;
        }
        out.append(bytes, copied, s.begin - copied);
        out += *s.text;
        copied = s.end;
    }
    out.append(bytes, copied, std::string::npos);
    return out;
}

}  // namespace holechart_dxf
