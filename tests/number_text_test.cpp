#include "conversion/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A value "entered as shown and stored as 32-bit", widened for FormatFixed.
double Stored(double entered) {
    return static_cast<double>(static_cast<float>(entered));
}

float Up(float value) {
    return std::nextafter(value, kInf);
}
float Down(float value) {
    return std::nextafter(value, -kInf);
}

// Bitwise equality, so that -0 differs from +0; any two NaNs count as equal.
::testing::AssertionResult SameFloat(float actual, float expected) {
    if (std::isnan(actual) && std::isnan(expected)) {
        return ::testing::AssertionSuccess();
    }
    if (std::bit_cast<std::uint32_t>(actual) == std::bit_cast<std::uint32_t>(expected)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got " << std::hexfloat << actual << ", expected " << expected;
}

// Makes a readable trace label even for texts with control characters or NUL inside.
std::string Printable(std::string_view text) {
    std::string label = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f) {
            label.push_back(c);
        } else {
            static constexpr char kHex[] = "0123456789abcdef";
            label += "\\x";
            label.push_back(kHex[byte >> 4]);
            label.push_back(kHex[byte & 0xf]);
        }
    }
    return label + "\"";
}

struct FixedCase {
    double value;
    int decimals;
    std::string_view decimalPoint;
    std::string_view separator;
    std::string expected;
};

struct DecimalsCase {
    float value;
    int decimals;
    std::string expected;
};

struct ShortestCase {
    float value;
    std::string_view expected;
};

struct ParseCase {
    std::string_view text;
    float expected;
};

struct ReplaceCase {
    std::string_view text;
    std::string_view find;
    std::string_view replacement;
    std::string_view expected;
};

// ---- FormatFixed tables -------------------------------------------------------------------------

std::vector<FixedCase> FixedSpecRows() {
    return {
        {Stored(1), 1, ",", "", "1,0"},
        {Stored(87), 1, ",", "", "87,0"},
        {Stored(1.15), 1, ",", "", "1,1"},
        {Stored(0.1), 2, ",", "", "0,10"},
        {Stored(2.675), 2, ",", "", "2,67"},
        {Stored(0.045), 2, ",", "", "0,05"},
        {Stored(1.005), 2, ",", "", "1,00"},
        {Stored(1.0 / 87.0), 2, ",", "", "0,01"},
        {Stored(1234567), 2, ",", "", "1234567,00"},
        {Stored(123456789), 2, ",", "", "123456792,00"},
        {Stored(0.0), 2, ",", "", "0,00"},
        {Stored(-0.0), 2, ",", "", "0,00"},
        {Stored(-5), 2, ",", "", "-5,00"},
        {Stored(-0.001), 2, ",", "", "-0,00"},
        {Stored(1234567), 2, ",", ".", "1.234.567,00"},
        {Stored(-1234.5), 1, ",", ".", "-1.234,5"},
        {Stored(2.4), 0, ",", "", "2"},
        {Stored(1.5), 1, "", "", "15"},
    };
}

std::vector<FixedCase> FixedNonFiniteRows() {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {
        {inf, 2, ",", "", "+Infinity"},
        {-inf, 2, ",", "", "-Infinity"},
        {nan, 2, ",", "", "NaN"},
        {-nan, 2, ",", "", "NaN"},
        {inf, -7, "dp", ".", "+Infinity"},
        {-inf, 1000, "", "'", "-Infinity"},
        {nan, 0, "", "", "NaN"},
        {Stored(1.0f / 0.0f), 1, ",", "", "+Infinity"},
        {std::sqrt(-1.0), 2, ",", "", "NaN"},
    };
}

std::vector<FixedCase> FixedGroupingRows() {
    return {
        {1, 0, ",", ".", "1"},
        {12, 0, ",", ".", "12"},
        {123, 0, ",", ".", "123"},
        {1234, 0, ",", ".", "1.234"},
        {12345, 0, ",", ".", "12.345"},
        {123456, 0, ",", ".", "123.456"},
        {1234567, 0, ",", ".", "1.234.567"},
        {-1, 1, ",", ".", "-1,0"},
        {-12, 1, ",", ".", "-12,0"},
        {-123, 1, ",", ".", "-123,0"},
        {-1234, 1, ",", ".", "-1.234,0"},
        {-12345, 1, ",", ".", "-12.345,0"},
        {-123456, 1, ",", ".", "-123.456,0"},
        {-1234567, 1, ",", ".", "-1.234.567,0"},
        {0.5, 2, ",", ".", "0,50"},
        {-0.5, 2, ",", ".", "-0,50"},
        {999.999, 2, ",", ".", "1.000,00"},
        {1234567, 2, "<point>", "ab", "1ab234ab567<point>00"},
        {1234567.25, 2, "\xc2\xb7", "\xe2\x80\xaf",
         "1\xe2\x80\xaf"
         "234\xe2\x80\xaf"
         "567\xc2\xb7"
         "25"},
        {1e15, 0, ".", ",", "1,000,000,000,000,000"},
    };
}

// Exact halfway values round to the even neighbour.
std::vector<FixedCase> FixedTiesToEvenRows() {
    return {
        {0.125, 2, ".", "", "0.12"},   {0.375, 2, ".", "", "0.38"},
        {22.25, 1, ".", "", "22.2"},   {22.75, 1, ".", "", "22.8"},
        {1.125, 2, ".", "", "1.12"},   {10.375, 2, ".", "", "10.38"},
        {-0.125, 2, ".", "", "-0.12"}, {-10.375, 2, ".", "", "-10.38"},
        {0.5, 0, ".", "", "0"},        {1.5, 0, ".", "", "2"},
        {2.5, 0, ".", "", "2"},        {-0.5, 0, ".", "", "-0"},
    };
}

// Pairs just below and just above a half of the second decimal.
std::vector<FixedCase> FixedRoundingBoundaryRows() {
    return {
        {std::nextafter(0.125, 0.0), 2, ".", "", "0.12"},
        {std::nextafter(0.125, 1.0), 2, ".", "", "0.13"},
        {std::nextafter(0.375, 0.0), 2, ".", "", "0.37"},
        {std::nextafter(0.375, 1.0), 2, ".", "", "0.38"},
        {Stored(2.675), 2, ".", "", "2.67"},
        {static_cast<double>(Up(2.675f)), 2, ".", "", "2.68"},
        {Stored(1.005), 2, ".", "", "1.00"},
        {static_cast<double>(Up(1.005f)), 2, ".", "", "1.01"},
        {static_cast<double>(Down(0.995f)), 2, ".", "", "0.99"},
        {Stored(0.995), 2, ".", "", "1.00"},
        {Stored(9.995), 2, ".", "", "9.99"},
        {static_cast<double>(Up(9.995f)), 2, ".", "", "10.00"},
        {Stored(0.005), 2, ".", "", "0.00"},
        {static_cast<double>(Up(0.005f)), 2, ".", "", "0.01"},
        {Stored(-0.005), 2, ".", "", "-0.00"},
        {static_cast<double>(Down(-0.005f)), 2, ".", "", "-0.01"},
        {static_cast<double>(Down(0.045f)), 2, ".", "", "0.04"},
        {Stored(0.045), 2, ".", "", "0.05"},
    };
}

std::vector<FixedCase> FixedClampRows() {
    return {
        {2.4, -5, ",", "", "2"},
        {2.4, -1, ",", "", "2"},
        {2.4, std::numeric_limits<int>::min(), ",", "", "2"},
        {1, 1000, ",", "", "1," + std::string(512, '0')},
        {1, 512, ",", "", "1," + std::string(512, '0')},
        {1, std::numeric_limits<int>::max(), ".", "", "1." + std::string(512, '0')},
        {1, 511, ".", "", "1." + std::string(511, '0')},
        {-0.0, 1000, ".", "", "0." + std::string(512, '0')},
        {static_cast<double>(0x1p-149f), 1000, ".", "",
         "0." + std::string(44, '0') +
             "140129846432481707092372958328991613128026194187651577175706828388979108268586060"
             "148663818836212158203125" +
             std::string(512 - 149, '0')},
    };
}

void CheckFixedRows(const std::vector<FixedCase>& rows) {
    for (const FixedCase& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << std::hexfloat << row.value << " decimals " << row.decimals << " point "
                     << Printable(row.decimalPoint) << " separator " << Printable(row.separator));
        EXPECT_EQ(FormatFixed(row.value, row.decimals, row.decimalPoint, row.separator),
                  row.expected);
    }
}

// ---- FormatDecimals and FormatShortest tables ---------------------------------------------------

std::vector<DecimalsCase> DecimalsRows() {
    return {
        // The documented examples.
        {87.0f, 1, "87.0"},
        {1.0f, 1, "1.0"},
        {0.1f, 2, "0.10"},
        {2.675f, 2, "2.67"},
        {1234567.0f, 2, "1234567.00"},
        {-0.0f, 1, "0.0"},
        // Ties to even, as in FormatFixed.
        {0.125f, 2, "0.12"},
        {0.375f, 2, "0.38"},
        {22.25f, 1, "22.2"},
        {10.375f, 2, "10.38"},
        // Signs, non-finite values and the decimals clamp; -1 selects the shortest form.
        {-0.001f, 2, "-0.00"},
        {kInf, 2, "+Infinity"},
        {-kInf, 2, "-Infinity"},
        {kNaN, 2, "NaN"},
        {0.1f, -1, "0.1000000015"},
        {2.5f, -2, "2"},
        {3.5f, -5, "4"},
        {1.0f, 1000, "1." + std::string(512, '0')},
        {FLT_MAX, 0, "340282346638528859811704183484516925440"},
    };
}

void CheckDecimalsRows(const std::vector<DecimalsCase>& rows) {
    for (const DecimalsCase& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << std::hexfloat << row.value << " decimals " << row.decimals);
        EXPECT_EQ(FormatDecimals(row.value, row.decimals), row.expected);
    }
}

std::vector<ShortestCase> ShortestRows() {
    return {
        // The documented examples.
        {1.0f, "1"},
        {87.0f, "87"},
        {0.5f, "0.5"},
        {87.5f, "87.5"},
        {100.0f, "100"},
        {160.0f, "160"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {-1.5f, "-1.5"},
        {0.1f, "0.1000000015"},
        {1.1f, "1.1000000238"},
        {0.00001f, "0.00001"},
        {1.0f / 87.0f, "0.0114942528"},
        {123456.789f, "123456.7890625"},
        {0.00000000001f, "0"},
        {-0.00000000001f, "-0"},
        {kInf, "+Infinity"},
        {-kInf, "-Infinity"},
        {kNaN, "NaN"},
        {-kNaN, "NaN"},
        // Ties to even at the tenth decimal: 2^-11 = 0.00048828125, 3 * 2^-11 = 0.00146484375.
        {0x1p-11f, "0.0004882812"},
        {0x3p-11f, "0.0014648438"},
        {-0x1p-11f, "-0.0004882812"},
        // Just below and above the smallest value written as non-zero, 0.00000000005.
        {Down(5e-11f), "0"},
        {Up(5e-11f), "0.0000000001"},
        // Large values keep their integer zeros and are written exactly.
        {1e10f, "10000000000"},
        {FLT_MAX, "340282346638528859811704183484516925440"},
        {-FLT_MAX, "-340282346638528859811704183484516925440"},
        {0x1p-10f, "0.0009765625"},
    };
}

void CheckShortestRows(const std::vector<ShortestCase>& rows) {
    for (const ShortestCase& row : rows) {
        SCOPED_TRACE(::testing::Message() << std::hexfloat << row.value);
        EXPECT_EQ(FormatShortest(row.value), row.expected);
    }
}

// ---- ParseDecimal tables ------------------------------------------------------------------------

std::vector<ParseCase> ParseSpecRows() {
    return {
        {"", 0.0f},          {"abc", 0.0f},       {"12abc", 12.0f},    {"1,5", 1.0f},
        {" 7", 7.0f},        {"-2.5", -2.5f},     {"+3", 3.0f},        {".5", 0.5f},
        {"5.", 5.0f},        {"1.5.3", 1.5f},     {"1.234.5", 1.234f}, {"1e3", 1000.0f},
        {"0.1", 0.1f},       {"1e39", kInf},      {"-1e39", -kInf},    {"1e-50", 0.0f},
        {"+infinity", kInf}, {"+INFINITY", kInf}, {"nan", kNaN},       {"-", 0.0f},
        {".", 0.0f},         {"+-1", 0.0f},
    };
}

std::vector<ParseCase> ParseWordRows() {
    return {
        {"+Infinity", kInf},
        {"+iNfInItY", kInf},
        {"-Infinity", -kInf},
        {"-infinity", -kInf},
        {"-INFINITY", -kInf},
        {"NaN", kNaN},
        {"NAN", kNaN},
        {"nAn", kNaN},
        // Not the whole text, or another form: read as in step 2, which finds no number.
        {" NaN", 0.0f},
        {"NaN ", 0.0f},
        {"+Infinity ", 0.0f},
        {" +Infinity", 0.0f},
        {"Infinity", 0.0f},
        {"inf", 0.0f},
        {"-nan", 0.0f},
        {"NaN\0"sv, 0.0f},
        {"+Inf", 0.0f},
        {"+Infinityy", 0.0f},
    };
}

std::vector<ParseCase> ParseStartsWithJunkRows() {
    return {
        {",5", 0.0f},
        {"x1", 0.0f},
        {"e5", 0.0f},
        {"--1", 0.0f},
        {"-+1", 0.0f},
        {"+ 1", 0.0f},
        {". 5", 0.0f},
        {"\0"
         "12"sv,
         0.0f},
        {"\xc2\xa0"
         "1",
         0.0f},  // No-break space in UTF-8 is not white space.
        {"\x85"
         "1",
         0.0f},  // Neither is a lone NEL byte.
        {"\xa0"
         "1",
         0.0f},                  // Nor Latin-1's no-break space.
        {"\xef\xbc\x91", 0.0f},  // A fullwidth "1" is not a digit.
        {"\xd9\xa1", 0.0f},      // An Arabic-Indic "1" neither.
        {"\t\n\v\f\r 7", 7.0f},  // The six white-space characters are skipped.
        {"   -2.5", -2.5f},
        {" \t+.25", 0.25f},
        {"\x1c"
         "1",
         0.0f},  // Other control characters are not white space.
    };
}

std::vector<ParseCase> ParseEndsWithJunkRows() {
    return {
        {"12abc", 12.0f},
        {"7 8", 7.0f},
        {"2.5,7", 2.5f},
        {"0x1A", 0.0f},
        {"12\0"
         "34"sv,
         12.0f},
        {"1.5\0"
         "9"sv,
         1.5f},
        {"12\xc2\xb2", 12.0f},
        {"3\xef\xbc\x91", 3.0f},
        {"12e", 12.0f},
        {"12E", 12.0f},
        {"1e+", 1.0f},
        {"1e-", 1.0f},
        {"2.5e", 2.5f},
        {"2.5ex", 2.5f},
        {"1e+x", 1.0f},
        {"1E3x", 1000.0f},
        {"1e3.5", 1000.0f},
        {"1e3e4", 1000.0f},
        {"1e 3", 1.0f},
        {"1e--3", 1.0f},
    };
}

std::vector<ParseCase> ParseExponentRows() {
    return {
        {"1E3", 1000.0f},
        {"1e+3", 1000.0f},
        {"2.5e-1", 0.25f},
        {".5e1", 5.0f},
        {"5.e1", 50.0f},
        {"1e0", 1.0f},
        {"1e-0", 1.0f},
        {"-1.5E+2", -150.0f},
        {"0.001e3", 1.0f},
        {"1000e-3", 1.0f},
        {"1e00000000000000000003", 1000.0f},
    };
}

// Long texts for the string_view rows live as long as the program.
const std::string& OneWith400Zeros() {
    static const std::string text = "1" + std::string(400, '0');
    return text;
}

const std::string& OneWith400ZerosTimes1eMinus800() {
    static const std::string text = OneWith400Zeros() + "e-800";
    return text;
}

std::vector<ParseCase> ParseOverflowRows() {
    return {
        {"1e39", kInf},
        {"-1e39", -kInf},
        {"1e400", kInf},
        {"-1e400", -kInf},
        {"1e99999999999999999999", kInf},
        {"-1e99999999999999999999", -kInf},
        {"0.0000001e400", kInf},
        {OneWith400Zeros(), kInf},
        // FLT_MAX is finite; FLT_MAX + half an ulp = 2^128 - 2^103 is the tie and rounds to
        // infinity, because FLT_MAX's significand is odd.
        {"3.4028235e38", FLT_MAX},
        {"3.4028236e38", kInf},
        {"-3.4028235e38", -FLT_MAX},
        {"-3.4028236e38", -kInf},
        {"340282346638528859811704183484516925440", FLT_MAX},
        // Read to double first, as step 4 says: one below the tie is the tie as a double, and so
        // rounds to infinity too; the double just below the tie gives FLT_MAX.
        {"340282356779733661637539395458142568447", kInf},
        {"340282356779733623858607532500980858880", FLT_MAX},
        {"340282356779733661637539395458142568448", kInf},
        {"1.7976931348623157e308", kInf},
    };
}

std::vector<ParseCase> ParseUnderflowRows() {
    return {
        {"1e-50", 0.0f},
        {"-1e-50", -0.0f},
        {"1e-400", 0.0f},
        {"-1e-400", -0.0f},
        {"1e-99999999999999999999", 0.0f},
        {"-1e-99999999999999999999", -0.0f},
        {"1000e-400", 0.0f},
        {"100000e-310", 0.0f},
        {OneWith400ZerosTimes1eMinus800(), 0.0f},
        {"0e99999999999999999999", 0.0f},
        {"-0e99999999999999999999", -0.0f},
        // Subnormal floats: 2^-149 is the smallest, half of it (about 7.006e-46) the boundary.
        {"1e-45", 0x1p-149f},
        {"1.4e-45", 0x1p-149f},
        {"-1e-45", -0x1p-149f},
        {"7e-46", 0.0f},
        {"7.1e-46", 0x1p-149f},
        {"1e-40", 0x1.16c2p-133f},
        {"1.17549435e-38", FLT_MIN},
    };
}

std::vector<ParseCase> ParseSignOfZeroRows() {
    return {
        {"0", 0.0f},    {"-0", -0.0f},      {"+0", 0.0f},    {"-0.0e5", -0.0f},
        {"-.0", -0.0f}, {"-0.", -0.0f},     {"-", 0.0f},     {"-x", 0.0f},
        {"", 0.0f},     {"-1e-400", -0.0f}, {"-000", -0.0f},
    };
}

void CheckParseRows(const std::vector<ParseCase>& rows) {
    for (const ParseCase& row : rows) {
        SCOPED_TRACE(Printable(row.text));
        EXPECT_TRUE(SameFloat(ParseDecimal(row.text), row.expected));
    }
}

// ---- ReplaceAll table ---------------------------------------------------------------------------

std::vector<ReplaceCase> ReplaceRows() {
    return {
        {"1,5", ",", ".", "1.5"},
        {"1,,5", ",", ".", "1..5"},
        {"12", ",", ".", "12"},
        {"1,5", "", ".", "1,5"},
        {"", "", "x", ""},
        {"", ",", ".", ""},
        {"aaa", "aa", "b", "ba"},
        {"aaaa", "aa", "a", "aa"},
        {"abc", "b", "bb", "abbc"},
        {"abab", "ab", "", ""},
        {"AbAa", "a", "x", "AbAx"},
        {"1.234,5", ".", ",", "1,234,5"},
        {"1\t2.5\t3.0", ".", ",", "1\t2,5\t3,0"},
        {"a\0b\0"sv, "\0"sv, "-", "a-b-"},
        {"ab", "abc", "x", "ab"},
    };
}

void CheckReplaceRows(const std::vector<ReplaceCase>& rows) {
    for (const ReplaceCase& row : rows) {
        SCOPED_TRACE(::testing::Message() << Printable(row.text) << " find " << Printable(row.find)
                                          << " replacement " << Printable(row.replacement));
        EXPECT_EQ(ReplaceAll(row.text, row.find, row.replacement), row.expected);
    }
}

// Every table, so the locale test runs exactly the rows of the other tests.
void CheckAllTables() {
    CheckFixedRows(FixedSpecRows());
    CheckFixedRows(FixedNonFiniteRows());
    CheckFixedRows(FixedGroupingRows());
    CheckFixedRows(FixedTiesToEvenRows());
    CheckFixedRows(FixedRoundingBoundaryRows());
    CheckFixedRows(FixedClampRows());
    CheckDecimalsRows(DecimalsRows());
    CheckShortestRows(ShortestRows());
    CheckParseRows(ParseSpecRows());
    CheckParseRows(ParseWordRows());
    CheckParseRows(ParseStartsWithJunkRows());
    CheckParseRows(ParseEndsWithJunkRows());
    CheckParseRows(ParseExponentRows());
    CheckParseRows(ParseOverflowRows());
    CheckParseRows(ParseUnderflowRows());
    CheckParseRows(ParseSignOfZeroRows());
    CheckReplaceRows(ReplaceRows());
}

// ---- Tests --------------------------------------------------------------------------------------

TEST(FormatFixedTest, DocumentedExamples) {
    CheckFixedRows(FixedSpecRows());
}
TEST(FormatFixedTest, NonFiniteWordsIgnoreOtherArguments) {
    CheckFixedRows(FixedNonFiniteRows());
}
TEST(FormatFixedTest, GroupsIntegerDigitsOnly) {
    CheckFixedRows(FixedGroupingRows());
}
TEST(FormatFixedTest, TiesRoundToEven) {
    CheckFixedRows(FixedTiesToEvenRows());
}
TEST(FormatFixedTest, RoundingBoundaryPairs) {
    CheckFixedRows(FixedRoundingBoundaryRows());
}
TEST(FormatFixedTest, DecimalsClampedTo0Through512) {
    CheckFixedRows(FixedClampRows());
}

TEST(FormatFixedTest, LargestMagnitudesFitWith512Decimals) {
    // 309 integer digits, the point and 512 decimals: the longest text there is.
    EXPECT_EQ(FormatFixed(DBL_MAX, 1000, ".", "").size(), 309u + 1u + 512u);
    EXPECT_EQ(FormatFixed(-DBL_MAX, 512, ".", "").size(), 1u + 309u + 1u + 512u);
    const std::string grouped = FormatFixed(-DBL_MAX, 512, "<>", "''");
    EXPECT_EQ(grouped.size(), 1u + 309u + 2u * 102u + 2u + 512u);
    EXPECT_EQ(grouped.substr(0, 8), "-179''76");
}

TEST(FormatDecimalsTest, ExamplesTiesAndClamp) {
    CheckDecimalsRows(DecimalsRows());
}
TEST(FormatShortestTest, ExamplesTiesAndBoundaries) {
    CheckShortestRows(ShortestRows());
}

TEST(ParseDecimalTest, DocumentedExamples) {
    CheckParseRows(ParseSpecRows());
}
TEST(ParseDecimalTest, NonFiniteWordsAreTheWholeTextAnyCase) {
    CheckParseRows(ParseWordRows());
}
TEST(ParseDecimalTest, StartsWithJunk) {
    CheckParseRows(ParseStartsWithJunkRows());
}
TEST(ParseDecimalTest, EndsWithJunk) {
    CheckParseRows(ParseEndsWithJunkRows());
}
TEST(ParseDecimalTest, Exponents) {
    CheckParseRows(ParseExponentRows());
}
TEST(ParseDecimalTest, Overflow) {
    CheckParseRows(ParseOverflowRows());
}
TEST(ParseDecimalTest, Underflow) {
    CheckParseRows(ParseUnderflowRows());
}
TEST(ParseDecimalTest, SignOfZero) {
    CheckParseRows(ParseSignOfZeroRows());
    EXPECT_TRUE(std::signbit(ParseDecimal("-0")));
    EXPECT_TRUE(std::signbit(ParseDecimal("-1e-400")));
    EXPECT_FALSE(std::signbit(ParseDecimal("1e-400")));
    EXPECT_FALSE(std::signbit(ParseDecimal("-")));
}

TEST(ParseDecimalTest, NaNIsQuiet) {
    const float nan = ParseDecimal("NaN");
    ASSERT_TRUE(std::isnan(nan));
    EXPECT_NE(std::bit_cast<std::uint32_t>(nan) & 0x00400000u, 0u);
}

TEST(ReplaceAllTest, ScansLeftToRightWithoutOverlap) {
    CheckReplaceRows(ReplaceRows());
}

// Switches to a German locale (decimal comma) for one test and back to "C" at the end.
class GermanLocale {
  public:
    GermanLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                name_ = name;
                return;
            }
        }
    }
    ~GermanLocale() { std::setlocale(LC_ALL, "C"); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    const char* name() const { return name_; }

  private:
    const char* name_ = nullptr;
};

TEST(NumberTextLocaleTest, AllTablesGiveTheSameUnderAGermanLocale) {
    const GermanLocale locale;
    ASSERT_NE(locale.name(), nullptr)
        << "No German locale could be set. The de_DE.UTF-8 locale must be generated (the "
           "install step does it; by hand: enable de_DE.UTF-8 in /etc/locale.gen and run "
           "locale-gen).";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",")
        << "locale " << locale.name() << " does not use a decimal comma, so it proves nothing";
    CheckAllTables();
}

// Every finite float of magnitude 2^-10 or more reads back bitwise from its shortest text.
void CheckRoundTrip(std::uint64_t stride, std::uint64_t minimumChecked) {
    const std::uint32_t smallestBits = std::bit_cast<std::uint32_t>(0x1p-10f);
    const std::uint32_t infinityBits = std::bit_cast<std::uint32_t>(kInf);
    std::uint64_t checked = 0;
    int failures = 0;
    for (std::uint64_t bits = 0; bits <= 0xffffffffu && failures < 10; bits += stride) {
        const auto pattern = static_cast<std::uint32_t>(bits);
        const std::uint32_t magnitudeBits = pattern & 0x7fffffffu;
        if (magnitudeBits < smallestBits || magnitudeBits >= infinityBits) {
            continue;
        }
        const float value = std::bit_cast<float>(pattern);
        const std::string text = FormatShortest(value);
        const float back = ParseDecimal(text);
        if (std::bit_cast<std::uint32_t>(back) != pattern) {
            ++failures;
            ADD_FAILURE() << std::hexfloat << value << " -> \"" << text << "\" -> " << back;
        }
        ++checked;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GE(checked, minimumChecked);
}

TEST(NumberTextRoundTripTest, ShortestTextReadsBackBitwise) {
    // A prime stride visits about 2.1 million patterns spread evenly over every exponent.
    CheckRoundTrip(2003, 1'000'000);
    EXPECT_TRUE(SameFloat(ParseDecimal(FormatShortest(kInf)), kInf));
    EXPECT_TRUE(SameFloat(ParseDecimal(FormatShortest(-kInf)), -kInf));
    EXPECT_TRUE(std::isnan(ParseDecimal(FormatShortest(kNaN))));
    EXPECT_EQ(FormatShortest(ParseDecimal("NaN")), "NaN");
}

// All 2^32 patterns take minutes; run with --gtest_also_run_disabled_tests.
TEST(NumberTextRoundTripTest, DISABLED_ShortestTextReadsBackBitwiseExhaustive) {
    CheckRoundTrip(1, 2'300'000'000);
}

}  // namespace
