// The fast number conversions must give exactly what the C conversions give:
// append_fixed against snprintf("%.Nf") and parse_real_token against
// sscanf("%lf") on a whole token. Both are compared on a few million
// deterministic pseudo-random values that reach the awkward corners:
// subnormals, huge values, signed zeros and NaNs, infinities, exact halfway
// cases and decimals that lie one unit in the last place off a round number.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "util/number_text.hpp"

namespace {

using Limits = std::numeric_limits<double>;

// A token and the number it reads as.
template <typename Number>
struct TokenCase {
    const char* token;
    Number expected;
};

double FromBits(uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

uint64_t ToBits(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

std::string Printf(const char* format, double value) {
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    return std::string(buffer, static_cast<std::size_t>(n));
}

// What the fixed-point conversion must give: printf's text, where a NaN
// keeps its sign as the GNU C library writes it ("-nan"). MinGW's printf
// drops that sign; the tool writes the same text on every platform.
std::string PrintfFixed(const std::string& format, double value) {
    const std::string text = Printf(format.c_str(), value);
    if (std::isnan(value) && std::signbit(value) && text[0] != '-') {
        return "-" + text;
    }
    return text;
}

std::string Fixed(double value, int decimals) {
    std::string out;
    append_fixed(out, value, decimals);
    return out;
}

// Same double, or NaNs of the same sign (the payload is not part of what
// the conversions promise).
bool SameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    }
    return ToBits(a) == ToBits(b);
}

// Values that a drawing, a settings file or a bad file may hold.
class ValueSource {
  public:
    explicit ValueSource(uint64_t seed) : rng_(seed) {}

    double Next() {
        const uint64_t r = rng_();
        switch (r % 8) {
            case 0:  // any bit pattern at all
                return FromBits(rng_());
            case 1:  // subnormal, either sign
                return FromBits((rng_() & 0x800FFFFFFFFFFFFFull));
            case 2: {  // huge: integers far beyond 2^53
                const uint64_t exponent = 1076 + rng_() % 970;
                return FromBits((rng_() & 0x800FFFFFFFFFFFFFull) | (exponent << 52));
            }
            case 3: {  // coordinates: 53 random bits scaled to 1e-3 .. 1e9
                const double unit = static_cast<double>(rng_() >> 11) * 0x1p-53;
                return Sign() * unit * kPowers[rng_() % 13];
            }
            case 4:  // round decimals k / 10^d
                return Sign() * static_cast<double>(rng_() % 20000000) / kPowers[3 + rng_() % 7];
            case 5: {  // exact binary halfway cases (2k + 1) / 2^m
                const double odd = static_cast<double>(2 * (rng_() % 1000000) + 1);
                return Sign() * std::ldexp(odd, -static_cast<int>(1 + rng_() % 16));
            }
            case 6: {  // one unit off a round decimal or a halfway case
                double base = static_cast<double>(rng_() % 2000000) / kPowers[3 + rng_() % 7];
                if (rng_() & 1) {
                    base = (static_cast<double>(rng_() % 200000) + 0.5) / kPowers[3 + rng_() % 6];
                }
                const double toward = (rng_() & 1) ? Limits::infinity() : 0.0;
                return Sign() * std::nextafter(base, toward);
            }
            default:  // halves of integers: the %.0f ties
                return Sign() * (static_cast<double>(rng_() % 100000) + 0.5);
        }
    }

    uint64_t Raw() { return rng_(); }

  private:
    double Sign() { return (rng_() & 1) ? -1.0 : 1.0; }

    static constexpr double kPowers[13] = {1e-3, 1e-2, 1e-1, 1,   1e1, 1e2, 1e3,
                                           1e4,  1e5,  1e6,  1e7, 1e8, 1e9};
    std::mt19937_64 rng_;
};

const std::vector<double>& SpecialValues() {
    static const std::vector<double> values = {
        0.0,
        -0.0,
        Limits::infinity(),
        -Limits::infinity(),
        Limits::quiet_NaN(),
        -Limits::quiet_NaN(),
        Limits::max(),
        -Limits::max(),
        Limits::min(),
        Limits::denorm_min(),
        -Limits::denorm_min(),
        0.5,
        1.5,
        2.5,
        3.5,
        -0.5,
        -2.5,
        0.125,
        0.375,
        0.05,
        0.005,
        1.005,
        2.675,
        9.9999999999995,
        999999.5,
        0.49999999999999994,
        4503599627370495.5,
        4503599627370497.0,
        1e15 + 0.25,
        1e21,
        1e22,
        123456789.123456789,
        5e-13,
        4.9999999999999e-13,
        -5e-13,
    };
    return values;
}

TEST(AppendFixedTest, HandWorkedValues) {
    struct Case {
        double value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {2.5, 0, "2"},  // ties go to even
        {0.5, 0, "0"},
        {1.5, 0, "2"},
        {3.5, 0, "4"},
        {-0.5, 0, "-0"},
        {-0.0, 2, "-0.00"},
        {0.0, 0, "0"},
        {0.125, 2, "0.12"},
        {0.375, 2, "0.38"},
        {1.005, 2, "1.00"},  // 1.005 is stored a little below
        {2.5, 3, "2.500"},
        {10.0, 12, "10.000000000000"},
        {-40.0, 4, "-40.0000"},
        {1e21, 0, "1000000000000000000000"},
        {0.1, 12, "0.100000000000"},
        {Limits::infinity(), 3, "inf"},
        {-Limits::infinity(), 0, "-inf"},
        {Limits::quiet_NaN(), 12, "nan"},
        {-Limits::quiet_NaN(), 2, "-nan"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fixed(c.value, c.decimals), c.expected) << c.value << " / " << c.decimals;
    }
}

TEST(AppendFixedTest, AppendsToWhatIsThere) {
    std::string out = "x=";
    append_fixed(out, 2.5, 1);
    append_fixed(out, -1.0, 0);
    EXPECT_EQ(out, "x=2.5-1");
}

TEST(AppendFixedTest, LongestTextFitsTheDeclaredBound) {
    // -DBL_MAX with 12 decimals is the longest text; the buffer is exactly
    // the declared size so that a sanitizer sees any overrun.
    std::vector<char> buffer(kMaxFixedChars);
    char* end = write_fixed(buffer.data(), -Limits::max(), 12);
    const std::string text(buffer.data(), end);
    EXPECT_EQ(text.size(), kMaxFixedChars);
    EXPECT_EQ(text, Printf("%.12f", -Limits::max()));
}

TEST(AppendFixedTest, SpecialValuesMatchPrintf) {
    for (double v : SpecialValues()) {
        for (int decimals = 0; decimals <= 12; ++decimals) {
            const std::string format = "%." + std::to_string(decimals) + "f";
            EXPECT_EQ(Fixed(v, decimals), PrintfFixed(format, v)) << format << " of " << v;
        }
    }
}

// Compares one format on count values and stops at the first few failures so
// that a fault does not flood the log.
void CompareFixedWithPrintf(int decimals, int count, uint64_t seed) {
    const std::string format = "%." + std::to_string(decimals) + "f";
    ValueSource source(seed);
    int failures = 0;
    std::string mine;
    for (int i = 0; i < count && failures < 5; ++i) {
        const double v = source.Next();
        mine.clear();
        append_fixed(mine, v, decimals);
        const std::string expected = PrintfFixed(format, v);
        if (mine != expected) {
            ++failures;
            ADD_FAILURE() << format << " of bits 0x" << std::hex << ToBits(v) << std::dec
                          << ": got " << mine << ", printf gives " << expected;
        }
    }
}

TEST(AppendFixedTest, TwelveDecimalsMatchPrintfOnRandomValues) {
    CompareFixedWithPrintf(12, 1000000, 0x5eed0012);
}

TEST(AppendFixedTest, NoDecimalsMatchPrintfOnRandomValues) {
    CompareFixedWithPrintf(0, 1000000, 0x5eed0000);
}

TEST(AppendFixedTest, OneToFiveDecimalsMatchPrintfOnRandomValues) {
    for (int decimals = 1; decimals <= 5; ++decimals) {
        CompareFixedWithPrintf(decimals, 80000, 0x5eed0100 + static_cast<uint64_t>(decimals));
    }
}

// What sscanf("%lf") makes of the whole token, or false when it does not
// take all of it.
bool ScanWhole(const std::string& token, double& out) {
    int used = -1;
    double value = 0.0;
    if (std::sscanf(token.c_str(), "%lf%n", &value, &used) != 1) {
        return false;
    }
    if (used != static_cast<int>(token.size())) {
        return false;
    }
    out = value;
    return true;
}

// Tokens as files may hold them: printed doubles in several styles, short
// and long decimal strings, hexadecimal text and out-of-range exponents.
class TokenSource {
  public:
    explicit TokenSource(uint64_t seed) : values_(seed), rng_(seed ^ 0x9e3779b97f4a7c15ull) {}

    std::string Next() {
        switch (rng_() % 9) {
            case 0:
                return Printf("%.17g", values_.Next());
            case 1:
                return Printf("%.12f", Moderate());
            case 2:
                return Printf("%e", values_.Next());
            case 3:
                return Printf(rng_() & 1 ? "%a" : "%A", values_.Next());
            case 4:
                return Printf("%.17g", FromBits(rng_()));
            case 5:
                return Printf("%.12f", values_.Next());
            case 6:
                return LongDigits();
            default:
                return ShortDecimal();
        }
    }

  private:
    double Moderate() {
        double v = values_.Next();
        while (!(std::fabs(v) < 1e30)) {
            v = values_.Next();
        }
        return v;
    }

    // [sign] digits [. digits] [e [sign] digits], with at least one digit
    // before the exponent.
    std::string ShortDecimal() {
        std::string s;
        const uint64_t sign = rng_() % 3;
        if (sign == 1) {
            s += '-';
        } else if (sign == 2) {
            s += '+';
        }
        const int int_digits = static_cast<int>(rng_() % 7);
        const int frac_digits = static_cast<int>(rng_() % 7);
        AppendDigits(s, int_digits == 0 && frac_digits == 0 ? 1 : int_digits);
        if (frac_digits > 0 || (rng_() % 4 == 0)) {
            s += '.';
            AppendDigits(s, frac_digits);
        }
        if (rng_() % 3 == 0) {
            s += (rng_() & 1) ? 'e' : 'E';
            const uint64_t esign = rng_() % 3;
            if (esign == 1) {
                s += '-';
            } else if (esign == 2) {
                s += '+';
            }
            AppendDigits(s, 1 + static_cast<int>(rng_() % 3));
        }
        return s;
    }

    // 18 to 40 significant digits: more than a double holds, so the
    // rounding of the tail decides the result.
    std::string LongDigits() {
        std::string s = (rng_() & 1) ? "-" : "";
        s += static_cast<char>('1' + rng_() % 9);
        s += '.';
        AppendDigits(s, 17 + static_cast<int>(rng_() % 23));
        s += 'e';
        s += std::to_string(static_cast<int>(rng_() % 640) - 330);
        return s;
    }

    void AppendDigits(std::string& s, int n) {
        for (int i = 0; i < n; ++i) {
            s += static_cast<char>('0' + rng_() % 10);
        }
    }

    ValueSource values_;
    std::mt19937_64 rng_;
};

const char* const kSpecialTokens[] = {
    "0x1.8p3",
    "0X1.8P+3",
    "+0x1p-1074",
    "-0x1.fffffffffffffp+1023",
    "inf",
    "+inf",
    "INF",
    "-Infinity",
    "InFiNiTy",
    "nan",
    "NAN",
    "-nan",
    "1e999",
    "-1e999",
    "1e-400",
    "-1e-400",
    "4.9e-324",
    "2.4703282292062327e-324",
    "2.4703282292062328e-324",
    "2.2250738585072011e-308",
    "1.7976931348623157e308",
    "1.7976931348623158e308",
    "1.7976931348623159e308",
    "-0",
    "+0",
    "0",
    "-0.0e5",
    ".5",
    "5.",
    "+.5e1",
    "007",
    "9007199254740993",
    "0.1000000000000000055511151231257827",
    "2.5000000000000000000000000000000000000000000001",
};

TEST(ParseRealTokenTest, HandWorkedValues) {
    const TokenCase<double> cases[] = {
        {"0x1.8p3", 12.0},
        {"1e999", Limits::infinity()},
        {"-1e999", -Limits::infinity()},
        {"1e-400", 0.0},
        {"-1e-400", -0.0},
        {"4.9e-324", Limits::denorm_min()},
        {"-0", -0.0},
        {"+2.5", 2.5},
        {"inf", Limits::infinity()},
        {"-Infinity", -Limits::infinity()},
        {"1.7976931348623157e308", Limits::max()},
        {"1.7976931348623159e308", Limits::infinity()},
        {"2.4703282292062327e-324", 0.0},
        {"0.1", 0.1},
        {"-12.000000000000", -12.0},
    };
    for (const TokenCase<double>& c : cases) {
        double out = 7.0;
        ASSERT_TRUE(parse_real_token(c.token, out)) << c.token;
        EXPECT_TRUE(SameDouble(out, c.expected)) << c.token << " gave " << out;
    }
    double out = 7.0;
    ASSERT_TRUE(parse_real_token("nan", out));
    EXPECT_TRUE(std::isnan(out));
    EXPECT_FALSE(std::signbit(out));
    ASSERT_TRUE(parse_real_token("-nan", out));
    EXPECT_TRUE(std::isnan(out));
    EXPECT_TRUE(std::signbit(out));
}

TEST(ParseRealTokenTest, SpecialTokensMatchSscanf) {
    for (const char* token : kSpecialTokens) {
        double expected = 0.0;
        ASSERT_TRUE(ScanWhole(token, expected)) << token;
        double out = 7.0;
        ASSERT_TRUE(parse_real_token(token, out)) << token;
        EXPECT_TRUE(SameDouble(out, expected))
            << token << ": got " << out << ", sscanf gives " << expected;
    }
}

TEST(ParseRealTokenTest, MatchesSscanfOnRandomTokens) {
#ifdef _WIN32
    GTEST_SKIP() << "MinGW's sscanf rounds some decimals to the wrong neighbour; the tool's own "
                    "conversion is the same on every platform and is checked on Linux";
#endif
    TokenSource source(0x70ce45);
    int failures = 0;
    for (int i = 0; i < 1000000 && failures < 5; ++i) {
        const std::string token = source.Next();
        double expected = 0.0;
        if (!ScanWhole(token, expected)) {
            ++failures;
            ADD_FAILURE() << "the generator made a token sscanf does not take: " << token;
            continue;
        }
        double out = 0.0;
        if (!parse_real_token(token, out) || !SameDouble(out, expected)) {
            ++failures;
            ADD_FAILURE() << token << ": got " << Printf("%a", out) << ", sscanf gives "
                          << Printf("%a", expected);
        }
    }
}

TEST(ParseRealTokenTest, ExactHalfwayTokensRoundToEven) {
    // The decimal text of the midpoint of two neighbouring doubles, printed
    // exactly through long double where that type has room for it.
    if (std::numeric_limits<long double>::digits < 54) {
        GTEST_SKIP() << "long double cannot hold the midpoints";
    }
    std::mt19937_64 rng(0x4a1f);
    for (int i = 0; i < 20000; ++i) {
        const double low = std::ldexp(static_cast<double>((rng() >> 11) | (1ull << 52)),
                                      -52 + static_cast<int>(rng() % 40) - 20);
        const double high = std::nextafter(low, Limits::infinity());
        const long double mid = (static_cast<long double>(low) + high) / 2;
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, "%.80Lf", mid);
        double expected = 0.0;
        ASSERT_TRUE(ScanWhole(buffer, expected)) << buffer;
        const double even = (ToBits(low) & 1) == 0 ? low : high;
        ASSERT_EQ(ToBits(expected), ToBits(even)) << buffer;
        double out = 0.0;
        ASSERT_TRUE(parse_real_token(buffer, out)) << buffer;
        ASSERT_EQ(ToBits(out), ToBits(expected)) << buffer;
    }
}

TEST(ParseRealTokenTest, RejectsTokensThatAreNotWhollyANumber) {
    // Listed by hand rather than checked against sscanf: the C library's
    // scanf takes a dangling exponent such as "1e", "1e+" or "0x1p" whole and
    // reports a number, where such a token is no number at all.
    const std::string rejected[] = {
        "12abc",
        "1e",
        "1e+",
        "",
        "abc",
        "1.5.5",
        "0x",
        "0x1p",
        "0x1.8p",
        "+",
        "-",
        ".",
        "e5",
        " 1",
        "1 ",
        "1\n",
        "1,5",
        "--1",
        "+-1",
        "infinit",
        "nanx",
        "inf0",
        "1e5.",
        "0x1.8p3q",
        "\t2.5",
        std::string("1\0", 2),
        std::string("\0", 1),
    };
    for (const std::string& token : rejected) {
        double out = 123.25;
        EXPECT_FALSE(parse_real_token(token, out)) << '"' << token << '"';
        EXPECT_EQ(out, 123.25) << '"' << token << '"';
    }
}

TEST(ParseRealTokenTest, NanWithPayloadIsOneNumber) {
    double out = 0.0;
    ASSERT_TRUE(parse_real_token("nan(123)", out));
    EXPECT_TRUE(std::isnan(out));
}

TEST(ParseIntTokenTest, WholeDecimalIntegersOnly) {
    const TokenCase<int32_t> good[] = {
        {"+7", 7},
        {"-0", 0},
        {"0", 0},
        {"007", 7},
        {"-12", -12},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
    };
    for (const TokenCase<int32_t>& g : good) {
        int32_t out = 99;
        ASSERT_TRUE(parse_int_token(g.token, out)) << g.token;
        EXPECT_EQ(out, g.expected) << g.token;
    }
    const char* const bad[] = {
        "2147483648",
        "-2147483649",
        "99999999999999999999",
        "3.5",
        "",
        "+",
        "-",
        "+-7",
        "-+7",
        "++7",
        " 7",
        "7 ",
        "0x10",
        "1e3",
        "7a",
        "a7",
    };
    for (const char* token : bad) {
        int32_t out = 99;
        EXPECT_FALSE(parse_int_token(token, out)) << '"' << token << '"';
        EXPECT_EQ(out, 99) << '"' << token << '"';
    }
}

TEST(ParseIntTokenTest, RoundTripsEveryRangeAndRejectsBeyond) {
    std::mt19937_64 rng(0x1a7);
    for (int i = 0; i < 100000; ++i) {
        const auto value = static_cast<int32_t>(static_cast<uint32_t>(rng()));
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, value >= 0 && (i & 1) ? "+%" PRId32 : "%" PRId32,
                      value);
        int32_t out = 0;
        ASSERT_TRUE(parse_int_token(buffer, out)) << buffer;
        ASSERT_EQ(out, value) << buffer;

        std::string text;
        append_int(text, value);
        std::snprintf(buffer, sizeof buffer, "%" PRId32, value);
        ASSERT_EQ(text, buffer);

        const int64_t beyond = (rng() & 1)
                                   ? int64_t{2147483648} + static_cast<int64_t>(rng() % 1000000)
                                   : int64_t{-2147483649} - static_cast<int64_t>(rng() % 1000000);
        std::snprintf(buffer, sizeof buffer, "%" PRId64, beyond);
        out = 5;
        ASSERT_FALSE(parse_int_token(buffer, out)) << buffer;
        ASSERT_EQ(out, 5);
    }
}

TEST(LeadingNumberTest, ReadsLeadingNumberLikeTheCLibrary) {
    EXPECT_EQ(leading_int("12abc"), 12);
    EXPECT_EQ(leading_int("  -3x"), -3);
    EXPECT_EQ(leading_int("+7"), 7);
    EXPECT_EQ(leading_int("abc"), 0);
    EXPECT_EQ(leading_int(""), 0);
    EXPECT_EQ(leading_int("99999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(leading_int("-99999999999"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(leading_real("2.5mm"), 2.5);
    EXPECT_EQ(leading_real("  -1e3x"), -1000.0);
    EXPECT_EQ(leading_real("x1"), 0.0);
    EXPECT_EQ(leading_real(""), 0.0);
}

}  // namespace
