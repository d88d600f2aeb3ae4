#include "driver/chart_settings.hpp"

#include <cstdio>
#include <string_view>

#include "entity/token_stream.hpp"
#include "util/fixed_text.hpp"
#include "util/number_text.hpp"
#include "util/safe_file.hpp"

namespace {

constexpr const char* kTooFewValues = "Invalid chart settings: fewer than five values...\n";
constexpr const char* kBadLayerMode = "Invalid chart settings: layer mode is not a number...\n";
constexpr const char* kBadLayerName =
    "Invalid chart settings: layer name must be 1 to 51 characters without control "
    "characters...\n";
constexpr const char* kBadLayerColor = "Invalid chart settings: layer colour is not a number...\n";
constexpr const char* kBadTextHeight =
    "Invalid chart settings: text height must be a number from 0.000001 to 1000000...\n";

// Whether the name fits the records' layer field whole and holds no control
// character: a NUL would end it early (an empty layer token breaks every
// line of the result), a line end would split a record.
bool usable_layer_name(std::string_view name) {
    if (name.empty() || name.size() > kLayerSize - 1) {
        return false;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

// Reads the five values from the open stream and closes it.
SettingsResult read_settings_stream(TokenStream& stream) {
    SettingsResult result;
    // A token stays valid only until the next read, so each value is taken
    // as soon as its token is read. A token too long to keep whole is no
    // value of the settings' form.
    ChartSettings& s = result.settings;
    std::string_view token;
    int found = 0;
    bool mode_ok = false;
    bool name_ok = false;
    bool color_ok = false;
    bool height_ok = false;
    for (; found < 5 && next_token(stream, token); ++found) {
        const bool whole = !stream.token_cut;
        switch (found) {
            case 0:
                mode_ok = whole && parse_int_token(token, s.layer_mode);
                break;
            case 1:
                copy_text(s.layer_name, token);
                name_ok = whole && usable_layer_name(token);
                break;
            case 2:
                color_ok = whole && parse_int_token(token, s.layer_color);
                break;
            case 3:
                copy_text(s.absolute_flag, token);
                break;
            default:
                height_ok = whole && parse_real_token(token, s.chart_text_height);
                break;
        }
    }
    token_stream_close(stream);

    if (found < 5) {
        result.problem = kTooFewValues;
    } else if (!mode_ok) {
        result.problem = kBadLayerMode;
    } else if (s.layer_mode != 1 && !name_ok) {
        // Layer mode 1 keeps the chart's own layer; the name is not used then.
        result.problem = kBadLayerName;
    } else if (!color_ok) {
        result.problem = kBadLayerColor;
    } else if (!height_ok || !(s.chart_text_height >= kLowestTextHeight) ||
               !(s.chart_text_height <= kHighestTextHeight)) {
        result.problem = kBadTextHeight;
    }
    return result;
}

}  // namespace

SettingsResult read_chart_settings(const char* path) {
    std::FILE* file = open_regular_file(path);
    if (file == nullptr) {
        SettingsResult result;
        result.problem = kTooFewValues;
        return result;
    }
    TokenStream stream;
    token_stream_open(stream, file);
    return read_settings_stream(stream);
}

SettingsResult read_chart_settings(const MemoryFile& memory) {
    TokenStream stream;
    token_stream_open(stream, memory);
    return read_settings_stream(stream);
}
