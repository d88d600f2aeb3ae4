// The DXF drawing as the bridge reads it: the file's bytes, one exchange
// line per model-space entity, the geometry of model space and its blocks,
// and the places in the file where the chart's entities, its layer, its
// application name and a new handle seed go. Shared by every part of the
// bridge; it depends on none of them but the geometry.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "chart/run_state.hpp"
#include "tools/holechart_dxf/drawing_geometry.hpp"

namespace holechart_dxf {

constexpr std::size_t kNoOffset = std::string::npos;

// The application name under which a hole's tag is kept in extended data.
constexpr const char* kTagApplication = "HOLECHART";

// The application name under whose extended data the chart's own entities
// are marked, so that a later run finds and replaces them.
constexpr const char* kChartApplication = "HOLECHART_CHART";

// The line type of a layer that names none, or that the drawing uses without
// defining it: what CAD programs give a layer they create, and what the
// chart's own layer is written with. Holes on such a layer then keep their
// type when the chart adds its layer to the table.
constexpr const char* kNewLayerLineType = "Continuous";

// What adding entities to the file needs to know about it. Offsets are byte
// offsets into the file as read.
struct DxfLayout {
    // R13 and later: entities carry subclass markers and their owner.
    bool subclass_markers = false;
    // New entities get handles (every file from R13 on, and R12 files that
    // use handles).
    bool handles = false;
    std::string line_end = "\n";
    // Where the pair that closes the ENTITIES section starts.
    std::size_t entities_end = kNoOffset;
    // Where the pair that closes the LAYER table starts, and the APPID table.
    std::size_t layer_table_end = kNoOffset;
    std::size_t appid_table_end = kNoOffset;
    // The pair that holds the value of $HANDSEED.
    std::size_t handseed_begin = kNoOffset;
    std::size_t handseed_end = kNoOffset;
    std::string layer_table_handle;
    std::string appid_table_handle;
    std::string model_space_handle;
    // The plot style of an existing layer, which a new layer shares.
    std::string plot_style_handle;
    // Above every handle the file uses, and not below its seed. 0 when the
    // file's handles leave none above them.
    unsigned long long next_handle = 1;
    // The names in the LAYER and APPID tables, upper-cased: DXF names
    // ignore case.
    std::vector<std::string> layer_names;
    std::vector<std::string> appid_names;
    // The entities of a chart this program wrote into the file before
    // (marked with kChartApplication): byte ranges, in file order, that a
    // new chart replaces.
    std::vector<std::pair<std::size_t, std::size_t>> earlier_chart;
};

struct DxfDrawing {
    std::string bytes;  // the file as read
    // One exchange line per entity, one per segment of a polyline.
    std::vector<std::string> lines;
    DxfLayout layout;
    // Entities left out because they do not lie in the drawing plane.
    int tilted = 0;
    // The geometry of model space and the blocks.
    DrawingGeometry geometry;
    // The rows of the earlier chart (the numbers at its holes), and the first
    // fault of its marks: when it is not empty, the rows cannot be trusted.
    std::vector<EarlierRow> earlier_rows;
    std::string earlier_rows_fault;
    // $INSUNITS (0 when not set) and $MEASUREMENT (-1 when not set).
    int insertion_units = 0;
    int measurement = -1;
};

}  // namespace holechart_dxf
