// The group code and value pairs of an ASCII DXF file, read as the widely
// used readers read them: blanks, tabs and a carriage return around a group
// code are ignored, and so are those around a value, except in the values
// that hold text (codes 1, 3, 999 and 1000), which lose only their line end.
// Lines may be of any length.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace holechart_dxf {

struct DxfPair {
    int code = 0;
    std::string_view value;  // into the file's bytes
    std::size_t begin = 0;   // the first byte of the code line
    std::size_t end = 0;     // past the value line and its line end
    std::size_t line = 0;    // of the code line, from 1
};

// The largest group code DXF defines.
constexpr int kLargestGroupCode = 1071;

class DxfPairScanner {
  public:
    explicit DxfPairScanner(const std::string& bytes) : bytes_(bytes) {}

    enum class Result { pair, end, bad_code };
    // The next pair. At the end of the file, or when only a code line is
    // left, returns end. A code line that is no group code gives bad_code,
    // with pair.line and pair.value telling which line and what it holds.
    Result next(DxfPair& pair);

  private:
    // The next line without its line end; false at the end of the bytes.
    bool take_line(std::string_view& line);

    const std::string& bytes_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
};

}  // namespace holechart_dxf
