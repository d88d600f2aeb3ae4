// Reading a DXF drawing: its bytes, checked to be an ASCII DXF file, read
// pair by pair into the drawing the bridge charts (entity_mapper).
#pragma once

#include <string>

#include "tools/holechart_dxf/dxf_drawing.hpp"

namespace holechart_dxf {

// Reads the file at path ("-": standard input). Returns false with a
// one-line reason when it cannot be read or is not a complete, sound ASCII
// DXF file.
bool read_dxf_drawing(const std::string& path, DxfDrawing& drawing, std::string& error);

// The same for a file's bytes, already read; path names it in messages.
bool read_dxf_bytes(const std::string& path, std::string bytes, DxfDrawing& drawing,
                    std::string& error);

}  // namespace holechart_dxf
