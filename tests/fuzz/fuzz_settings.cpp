// Arbitrary bytes as the chart settings file: either a clear problem or five
// values that make a usable chart unit, the same however the bytes arrive.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "chart/chart_dimensions.hpp"
#include "driver/chart_settings.hpp"
#include "tests/fuzz/fuzz_support.hpp"

namespace {

bool same_settings(const SettingsResult& a, const SettingsResult& b) {
    const ChartSettings& s = a.settings;
    const ChartSettings& t = b.settings;
    return a.problem == b.problem && s.layer_mode == t.layer_mode &&
           s.layer_color == t.layer_color && std::strcmp(s.layer_name, t.layer_name) == 0 &&
           std::strcmp(s.absolute_flag, t.absolute_flag) == 0 &&
           std::memcmp(&s.chart_text_height, &t.chart_text_height, sizeof(double)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes = bytes_of(data, size);
    const SettingsResult result = read_chart_settings(MemoryFile{bytes});
    if (!same_settings(result, read_chart_settings(in_pieces(bytes)))) {
        std::abort();
    }
    const ChartSettings& s = result.settings;
    if (std::strlen(s.layer_name) >= sizeof s.layer_name ||
        std::strlen(s.absolute_flag) >= sizeof s.absolute_flag) {
        std::abort();
    }
    if (result.problem != nullptr) {
        // One line of the user's language.
        const std::size_t n = std::strlen(result.problem);
        if (n < 2 || result.problem[n - 1] != '\n' ||
            std::strchr(result.problem, '\n') != result.problem + n - 1) {
            std::abort();
        }
        return 0;
    }
    const double unit = chart_unit_factor(s.chart_text_height);
    if (!(s.chart_text_height >= kLowestTextHeight && s.chart_text_height <= kHighestTextHeight) ||
        !std::isfinite(unit)) {
        std::abort();
    }
    // The layer the chart moves to is a usable record field.
    const std::size_t name = std::strlen(s.layer_name);
    if (s.layer_mode != 1 && (name == 0 || name >= kLayerSize)) {
        std::abort();
    }
    for (std::size_t i = 0; s.layer_mode != 1 && i < name; ++i) {
        const auto byte = static_cast<unsigned char>(s.layer_name[i]);
        if (byte < 0x20 || byte == 0x7F) {
            std::abort();
        }
    }
    return 0;
}
