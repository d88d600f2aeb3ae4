#include "tools/holechart_dxf/exchange_lines.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "entity/entity_file.hpp"
#include "entity/token_stream.hpp"
#include "geometry/geometry.hpp"

namespace holechart_dxf {

namespace {

// The shortest text that the reader reads back as the very double written.
void put_real(std::string& out, double value) {
    char buffer[40];
    buffer[0] = ' ';
    const std::to_chars_result written = std::to_chars(buffer + 1, buffer + sizeof buffer, value);
    out.append(buffer, written.ptr);
}

void put_point(std::string& out, Point p) {
    put_real(out, p.x);
    put_real(out, p.y);
}

void put_token(std::string& out, const std::string& token) {
    out.push_back(' ');
    out += token;
}

std::string head_text(const RecordHead& h, const char* kind, const char* shape) {
    std::string out = std::to_string(h.id);
    put_token(out, h.handle);
    put_token(out, h.layer);
    put_token(out, std::to_string(h.color));
    put_token(out, h.line_type);
    put_token(out, h.line_style);
    put_token(out, kind);
    put_token(out, "0");
    put_token(out, h.tag);
    put_token(out, shape);
    return out;
}

Point polar(Point centre, double radius, double angle) {
    return Point{centre.x + radius * std::cos(angle * kDegreesToRadians),
                 centre.y + radius * std::sin(angle * kDegreesToRadians)};
}

// What a circle's and an arc's records hold after the head: the two ends,
// the centre, the radius and the angles.
void put_round(std::string& out, Point first, Point last, Point centre, double radius, double start,
               double end) {
    put_point(out, first);
    put_point(out, last);
    put_point(out, centre);
    put_real(out, radius);
    put_real(out, start);
    put_real(out, end);
}

}  // namespace

std::string token_text(std::string_view text, std::string_view empty_as) {
    if (text.empty()) {
        return std::string(empty_as);
    }
    std::string token(text);
    for (char& c : token) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            c = '_';
        }
    }
    return token;
}

std::string line_record(const RecordHead& head, Point p1, Point p2) {
    std::string out = head_text(head, "LINE", "L");
    put_point(out, p1);
    put_point(out, p2);
    return out;
}

std::string circle_record(const RecordHead& head, Point centre, double radius) {
    // A circle starts and ends at angle 0, on the right of its centre.
    std::string out = head_text(head, "CIRCLE", "C");
    const Point start{centre.x + radius, centre.y};
    put_round(out, start, start, centre, radius, 0.0, 360.0);
    return out;
}

std::string arc_record(const RecordHead& head, Point centre, double radius, double start,
                       double end) {
    std::string out = head_text(head, "ARC", "A");
    put_round(out, polar(centre, radius, start), polar(centre, radius, end), centre, radius, start,
              end);
    return out;
}

std::string text_record(const RecordHead& head, const char* kind, Point at, double height,
                        double angle, const std::string& justify, const std::string& text) {
    std::string out = head_text(head, kind, "T");
    put_point(out, at);
    put_real(out, height);
    put_real(out, angle);
    put_token(out, justify);
    put_token(out, text);
    return out;
}

std::string point_record(const RecordHead& head, Point at, int mode, double size) {
    std::string out = head_text(head, "POINT", "L");
    put_point(out, at);
    put_token(out, std::to_string(mode));
    put_real(out, size);
    return out;
}

std::string solid_record(const RecordHead& head, const Point corners[4]) {
    std::string out = head_text(head, "SOLID", "L");
    for (int i = 0; i < 4; ++i) {
        put_point(out, corners[i]);
    }
    return out;
}

std::string polyline_line_record(const RecordHead& head, Point p1, Point p2) {
    std::string out = head_text(head, "PLINE", "L");
    put_point(out, p1);
    put_point(out, p2);
    put_real(out, 0.0);
    put_real(out, 0.0);
    return out;
}

std::string polyline_arc_record(const RecordHead& head, Point p1, Point p2, double bulge,
                                const BulgeArc& arc) {
    // p1 and p2 keep the polyline's own order; the angles run
    // counter-clockwise whichever way the segment turns.
    std::string out = head_text(head, "PLINE", "A");
    put_point(out, p1);
    put_point(out, p2);
    put_real(out, bulge);
    put_real(out, 0.0);
    put_point(out, arc.centre);
    put_real(out, arc.radius);
    put_real(out, arc.start);
    put_real(out, arc.end);
    return out;
}

std::string dimension_record(const RecordHead& head, const DimensionValues& d) {
    std::string out = head_text(head, "DIMENSION", "L");
    put_token(out, std::to_string(d.type));
    put_token(out, d.style);
    put_point(out, d.p1);
    put_point(out, d.p2);
    put_point(out, d.p4);
    put_point(out, d.p5);
    put_real(out, d.value);
    put_real(out, d.text_height);
    put_real(out, 0.0);
    put_real(out, 0.0);
    put_point(out, d.text_at);
    put_real(out, d.angle);
    put_token(out, d.text);
    return out;
}

void read_exchange_lines(const std::vector<std::string>& lines, EntityList& list) {
    std::string text;
    for (const std::string& line : lines) {
        text.append(line).push_back('\n');
    }
    const int count = static_cast<int>(lines.size());
    list = entity_list_create(count + 10);
    TokenStream stream;
    token_stream_open(stream, MemoryFile{text});
    for (int i = 0; i < count; ++i) {
        read_entity_record(stream, list[static_cast<std::size_t>(i)]);
    }
    token_stream_close(stream);
}

}  // namespace holechart_dxf
