#include "driver/chart_settings.hpp"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "entity/token_stream.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"

namespace {

constexpr const char* kTooFewValues = "Invalid chart settings: fewer than five values...\n";
constexpr const char* kBadLayerMode = "Invalid chart settings: layer mode is not a number...\n";
constexpr const char* kBadLayerColor = "Invalid chart settings: layer colour is not a number...\n";
constexpr const char* kBadTextHeight =
    "Invalid chart settings: text height must be a positive number...\n";

}  // namespace

SettingsResult read_chart_settings(const char* path) {
    SettingsResult result;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        result.problem = kTooFewValues;
        return result;
    }
    TokenStream stream;
    token_stream_open(stream, file);
    // A token stays valid only until the next read, so each value is taken
    // as soon as its token is read.
    ChartSettings& s = result.settings;
    std::string_view token;
    int found = 0;
    bool mode_ok = false;
    bool color_ok = false;
    bool height_ok = false;
    for (; found < 5 && next_token(stream, token); ++found) {
        switch (found) {
            case 0:
                mode_ok = parse_int_token(token, s.layer_mode);
                break;
            case 1:
                copy_text(s.layer_name, token);
                break;
            case 2:
                color_ok = parse_int_token(token, s.layer_color);
                break;
            case 3:
                copy_text(s.absolute_flag, token);
                break;
            default:
                height_ok = parse_real_token(token, s.chart_text_height);
                break;
        }
    }
    token_stream_close(stream);

    if (found < 5) {
        result.problem = kTooFewValues;
    } else if (!mode_ok) {
        result.problem = kBadLayerMode;
    } else if (!color_ok) {
        result.problem = kBadLayerColor;
    } else if (!height_ok || !(s.chart_text_height > 0.0) || !std::isfinite(s.chart_text_height) ||
               !std::isfinite(2.5 / s.chart_text_height)) {
        // Zero, negative, infinite or so small a height that the chart unit
        // overflows would put the chart at infinite or mirrored coordinates.
        result.problem = kBadTextHeight;
    }
    return result;
}
