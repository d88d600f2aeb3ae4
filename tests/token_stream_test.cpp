// The token stream reads plain numbers in one pass while it scans them; the
// result must be exactly what the whole-token conversion gives, wherever the
// token lies in the stream's chunks.
#include "entity/token_stream.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "entity/entity_file.hpp"
#include "tests/support/test_support.hpp"
#include "util/number_text.hpp"

namespace {

std::string random_token(std::mt19937_64& rng) {
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_real_distribution<double> value(-5000.0, 5000.0);
    char buffer[64];
    switch (pick(rng)) {
        case 0:
            std::snprintf(buffer, sizeof buffer, "%.12f", value(rng));
            return buffer;
        case 1:
            std::snprintf(buffer, sizeof buffer, "%.17g", value(rng));
            return buffer;
        case 2:
            std::snprintf(buffer, sizeof buffer, "%.0f", value(rng));
            return buffer;
        case 3:  // too many digits for the one-pass path
            std::snprintf(buffer, sizeof buffer, "%.20f", value(rng));
            return buffer;
        case 4:
            std::snprintf(buffer, sizeof buffer, "%.6e", value(rng));
            return buffer;
        case 5: {
            static const char* odd[] = {"-0",
                                        ".5",
                                        "5.",
                                        "-.25",
                                        "+3",
                                        "0x1p3",
                                        "inf",
                                        "nan",
                                        "1e999",
                                        "12abc",
                                        "1.2.3",
                                        "-",
                                        ".",
                                        "--1",
                                        "1-",
                                        "00000000000000000000001.5",
                                        "9007199254740993",
                                        "9007199254740992.5",
                                        "0.0000000000000000000001"};
            return odd[rng() % (sizeof odd / sizeof odd[0])];
        }
        case 6:
            return "word";
        default:
            std::snprintf(buffer, sizeof buffer, "%.12f", value(rng) / 1000.0);
            return buffer;
    }
}

std::string random_space(std::mt19937_64& rng) {
    static const char* spaces[] = {" ", " ", " ", "\n", "\r\n", "\t", "  ", "\v", "\f"};
    return spaces[rng() % (sizeof spaces / sizeof spaces[0])];
}

TEST(TokenStream, OnePassNumbersEqualTheWholeTokenConversion) {
    std::mt19937_64 rng(20261207);
    std::vector<std::string> tokens;
    std::string text;
    // Well over one 64 KiB chunk, so tokens straddle the chunk boundaries.
    while (text.size() < 600000) {
        tokens.push_back(random_token(rng));
        text += tokens.back();
        text += random_space(rng);
    }
    testsupport::TempDrive drive;
    const std::string path = (drive.work / "tokens.txt").string();
    testsupport::write_file(path, text);

    TokenStream stream;
    token_stream_open(stream, std::fopen(path.c_str(), "rb"));
    int mismatches = 0;
    for (std::size_t i = 0; i < tokens.size() && mismatches < 5; ++i) {
        double expected = -7.25;
        parse_real_token(tokens[i], expected);
        double got = -7.25;
        read_real_field(stream, got);
        if (std::memcmp(&expected, &got, sizeof got) != 0 &&
            !(std::isnan(expected) && std::isnan(got))) {
            ++mismatches;
            ADD_FAILURE() << "token " << i << " \"" << tokens[i] << "\": " << got << " instead of "
                          << expected;
        }
    }
    std::string_view rest;
    EXPECT_FALSE(next_token(stream, rest));
    token_stream_close(stream);
}

// Bytes in memory read as the file holding them, however few bytes each
// read hands over: the same tokens, cut flags and record counts.
TEST(TokenStream, BytesInMemoryReadAsTheFile) {
    std::mt19937_64 rng(20261208);
    std::string text = "\xEF\xBB\xBF";
    while (text.size() < 150000) {
        text += random_token(rng) + random_space(rng);
    }
    testsupport::TempDrive drive;
    const std::string path = (drive.work / "tokens.txt").string();
    testsupport::write_file(path, text);
    for (std::size_t piece : {SIZE_MAX, std::size_t{1}, std::size_t{7}, std::size_t{4099}}) {
        SCOPED_TRACE(piece);
        const MemoryFile memory{text, piece};
        EXPECT_EQ(count_entity_lines(memory), count_entity_lines(path.c_str()));
        TokenStream file;
        TokenStream bytes;
        token_stream_open(file, std::fopen(path.c_str(), "rb"));
        token_stream_open(bytes, memory);
        std::string_view a;
        std::string_view b;
        std::size_t n = 0;
        for (bool more = true; more; ++n) {
            // Every third token through the one-pass number path.
            double x = 0.5;
            double y = 0.5;
            if (n % 3 == 0) {
                read_real_field(file, x);
                read_real_field(bytes, y);
                ASSERT_EQ(std::memcmp(&x, &y, sizeof x), 0) << "token " << n;
                continue;
            }
            more = next_token(file, a);
            ASSERT_EQ(next_token(bytes, b), more) << "token " << n;
            ASSERT_TRUE(!more || a == b) << "token " << n << ": " << a << " and " << b;
        }
        token_stream_close(file);
        token_stream_close(bytes);
    }
}

TEST(TokenStream, NumberAtTheVeryEndWithoutLineEnd) {
    testsupport::TempDrive drive;
    const std::string path = (drive.work / "end.txt").string();
    testsupport::write_file(path,
                            "\xEF\xBB\xBF"
                            "12.5 -3.25");
    TokenStream stream;
    token_stream_open(stream, std::fopen(path.c_str(), "rb"));
    double a = 0.0;
    double b = 0.0;
    double c = 99.0;
    read_real_field(stream, a);
    read_real_field(stream, b);
    read_real_field(stream, c);
    token_stream_close(stream);
    EXPECT_EQ(a, 12.5);  // the byte order mark is skipped before the first number
    EXPECT_EQ(b, -3.25);
    EXPECT_EQ(c, 99.0);  // past the end: the field keeps its value
}

TEST(TokenStream, TokensBeyondTheLimitAreCutAndTheirNumbersUnreadable) {
    // Zeros before "2.5": read whole the number would be 2.5, read from its
    // cut start it would silently be 0.
    const std::string exact(kMaxTokenChars, 'x');
    const std::string long_number = std::string(kMaxTokenChars + 70000, '0') + "2.5";
    testsupport::TempDrive drive;
    const std::string path = (drive.work / "long.txt").string();
    testsupport::write_file(path, exact + " " + long_number + " 7 " + long_number + " 1.5");
    TokenStream stream;
    token_stream_open(stream, std::fopen(path.c_str(), "rb"));
    std::string_view token;
    ASSERT_TRUE(next_token(stream, token));
    EXPECT_EQ(token.size(), kMaxTokenChars);
    EXPECT_FALSE(stream.token_cut);
    double real = 1.0;
    read_real_field(stream, real);
    EXPECT_TRUE(std::isnan(real));
    int32_t whole = 0;
    read_int_field(stream, whole);
    EXPECT_EQ(whole, 7);
    read_int_field(stream, whole);
    EXPECT_EQ(whole, 7);  // cut: keeps its value
    read_real_field(stream, real);
    EXPECT_EQ(real, 1.5);  // the parse goes on after a cut token
    token_stream_close(stream);
}

}  // namespace
