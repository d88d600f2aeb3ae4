// Exchange-file lines for entities taken from a DXF drawing, and the records
// that the project's own reader makes of them: building the line text and
// reading it back gives every record exactly the derived values (line
// parameters, swept angles) that a record read from "Object.fad" has.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "entity/entity_record.hpp"
#include "tools/holechart_dxf/dxf_geometry.hpp"

namespace holechart_dxf {

// The ten head tokens but kind, weight and shape, which the kind decides.
struct RecordHead {
    int id = 0;
    std::string handle = "0";
    std::string layer = "0";
    int color = 7;
    std::string line_type = "ByL";
    std::string line_style = "ByL";
    std::string tag = "NO";
};

// A text as one token of the format: every blank, tab, line end or other
// control character becomes an underscore; an empty text becomes
// empty_as.
std::string token_text(std::string_view text, std::string_view empty_as);

std::string line_record(const RecordHead& head, Point p1, Point p2);
std::string circle_record(const RecordHead& head, Point centre, double radius);
// Counter-clockwise from start to end.
std::string arc_record(const RecordHead& head, Point centre, double radius, double start,
                       double end);
// kind is "TEXT" or "MTEXT"; justify and text are tokens already.
std::string text_record(const RecordHead& head, const char* kind, Point at, double height,
                        double angle, const std::string& justify, const std::string& text);
std::string point_record(const RecordHead& head, Point at, int mode, double size);
std::string solid_record(const RecordHead& head, const Point corners[4]);
std::string polyline_line_record(const RecordHead& head, Point p1, Point p2);
std::string polyline_arc_record(const RecordHead& head, Point p1, Point p2, double bulge,
                                const BulgeArc& arc);

std::string dimension_record(const RecordHead& head, const DimensionValues& d);

// Reads the lines (one record each, without line ends) with the exchange
// file reader into a list made as the reader makes it: the first
// lines.size() records filled, ten defaulted records and a spare after them.
void read_exchange_lines(const std::vector<std::string>& lines, EntityList& list);

}  // namespace holechart_dxf
