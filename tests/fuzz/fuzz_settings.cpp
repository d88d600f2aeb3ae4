// Arbitrary bytes as the chart settings file: either a clear problem or five
// values that make a usable chart unit.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "driver/chart_settings.hpp"
#include "tests/fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string path = write_scratch_file("infoHoleTable.dat", data, size);
    const SettingsResult result = read_chart_settings(path.c_str());
    if (result.problem != nullptr) {
        return 0;
    }
    const ChartSettings& s = result.settings;
    const double unit = 2.5 / s.chart_text_height;
    if (!(s.chart_text_height > 0.0) || !std::isfinite(unit) || !(unit > 0.0)) {
        std::abort();
    }
    if (std::strlen(s.layer_name) >= sizeof s.layer_name ||
        std::strlen(s.absolute_flag) >= sizeof s.absolute_flag) {
        std::abort();
    }
    return 0;
}
