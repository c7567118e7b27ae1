// FormatFixed, FormatDecimals and FormatShortest on arbitrary bit patterns, counts of decimals
// and point and separator texts: no crash, only the characters the form allows, exactly the
// count of decimals asked for, a value within half a unit of the last decimal, and a shortest
// text that reads back as the same float wherever that is promised.
//
// Input layout: 8 bytes of a double, 4 of a float, 4 of an int for the decimals, one byte for the
// length of the point text (0 to 4), that text, and up to 4 bytes of separator text. Missing
// bytes count as zero.

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "conversion/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct FormatInput {
    double wide = 0.0;
    float narrow = 0.0f;
    int decimals = 0;
    std::string point;
    std::string separator;
};

constexpr std::size_t kLongestText = 4;

FormatInput Decode(std::string_view bytes) {
    unsigned char fixed[17] = {};
    if (!bytes.empty()) {
        std::memcpy(fixed, bytes.data(), std::min(bytes.size(), sizeof fixed));
    }
    FormatInput input;
    std::memcpy(&input.wide, fixed, 8);
    std::memcpy(&input.narrow, fixed + 8, 4);
    std::memcpy(&input.decimals, fixed + 12, 4);
    const std::string_view rest = bytes.size() > sizeof fixed ? bytes.substr(sizeof fixed) : "";
    const std::size_t pointLength =
        std::min<std::size_t>(fixed[16] % (kLongestText + 1), rest.size());
    input.point = std::string(rest.substr(0, pointLength));
    input.separator = std::string(rest.substr(pointLength, kLongestText));
    return input;
}

int DecimalsUsed(int decimals) {
    return std::clamp(decimals, 0, 512);
}

bool IsDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const char* WordFor(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value > 0 ? "+Infinity" : "-Infinity";
}

double ReadDouble(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// The plain form: "-" exactly for a value below zero, integer digits without leading zeros, and
// "." with exactly `decimals` digits when there are any.
void CheckPlainForm(std::string_view text, double value, int decimals, std::string_view context) {
    std::string_view rest = text;
    const bool minus = !rest.empty() && rest.front() == '-';
    Require(minus == (value < 0), "the sign is wrong", context);
    rest.remove_prefix(minus ? 1 : 0);
    const std::size_t point = rest.find('.');
    const std::string_view integer = rest.substr(0, point);
    Require(!integer.empty() && IsDigits(integer) && (integer.size() == 1 || integer[0] != '0'),
            "the integer digits are malformed", context);
    if (decimals == 0) {
        Require(point == std::string_view::npos, "a point without decimals", context);
        return;
    }
    Require(point != std::string_view::npos, "no point", context);
    const std::string_view fraction = rest.substr(point + 1);
    Require(fraction.size() == static_cast<std::size_t>(decimals) && IsDigits(fraction),
            "not exactly the decimals asked for", context);
}

// The text's value lies within half a unit of its last decimal from the value written (with
// room for the rounding of the check itself).
void CheckNearest(const std::string& text, double value, int decimals, std::string_view context) {
    const double read = ReadDouble(text);
    const double halfUnit = 0.5 * std::pow(10.0, -decimals) * (1 + 0x1p-50);
    const double larger = std::max(std::fabs(read), std::fabs(value));
    const double slack = larger == 0 ? 0 : std::ldexp(1.0, std::ilogb(larger) - 51);
    Require(std::fabs(read - value) <= halfUnit + slack, "not the nearest text", context);
}

// Groups of three integer digits from the right, `separator` between them.
std::string Grouped(std::string_view digits, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

void CheckFormatFixed(double value, int decimalsAsked, std::string_view pointText,
                      std::string_view separator) {
    char bits[32];
    std::snprintf(bits, sizeof bits, "%a", value);
    const std::string context = std::string("FormatFixed(") + bits + ", " +
                                std::to_string(decimalsAsked) + ", " + Printable(pointText) + ", " +
                                Printable(separator) + ")";
    const std::string text = FormatFixed(value, decimalsAsked, pointText, separator);
    if (!std::isfinite(value)) {
        Require(text == WordFor(value), "not the word", context + " gave " + Printable(text));
        return;
    }
    const int decimals = DecimalsUsed(decimalsAsked);
    const std::string plain = FormatFixed(value, decimalsAsked, ".", "");
    CheckPlainForm(plain, value, decimals, context + " plain " + Printable(plain));
    CheckNearest(plain, value, decimals, context + " plain " + Printable(plain));
    const std::string_view view(plain);
    const std::size_t sign = view.front() == '-' ? 1 : 0;
    const std::size_t point = std::min(view.find('.'), view.size());
    std::string expected(view.substr(0, sign));
    expected += Grouped(view.substr(sign, point - sign), separator);
    if (decimals > 0) {
        expected += pointText;
        expected += view.substr(point + 1);
    }
    Require(text == expected, "the point or the separators are misplaced",
            context + " gave " + Printable(text) + ", expected " + Printable(expected));
}

// Trailing zeros go, then a trailing point: the shortest form built from ten decimals.
std::string Trimmed(std::string text) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

void CheckShortest(float value) {
    const std::string context = "FormatShortest(" + Describe(value) + ")";
    const std::string text = FormatShortest(value);
    if (!std::isfinite(value)) {
        Require(text == WordFor(static_cast<double>(value)), "not the word", context);
        const float back = ParseDecimal(text);
        Require(std::isnan(value) ? std::isnan(back) : back == value, "the word does not read back",
                context);
        return;
    }
    const double wide = static_cast<double>(value);
    Require(text == Trimmed(FormatFixed(wide, 10, ".", "")), "not ten decimals trimmed",
            context + " gave " + Printable(text));
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        Require(text.size() - point - 1 <= 10 && text.back() != '0', "trailing zeros or too long",
                context + " gave " + Printable(text));
    }
    const float back = ParseDecimal(text);
    if (std::fabs(value) >= 0x1p-10f) {
        Require(std::bit_cast<std::uint32_t>(back) == std::bit_cast<std::uint32_t>(value),
                "the shortest text does not read back",
                context + " gave " + Printable(text) + ", read back as " + Describe(back));
    } else {
        const double ulp =
            static_cast<double>(std::nextafter(std::fabs(value), 1.0f) - std::fabs(value));
        Require(std::fabs(static_cast<double>(back) - wide) <= 0.5e-10 + ulp,
                "a small value does not read back to ten decimals",
                context + " gave " + Printable(text) + ", read back as " + Describe(back));
    }
}

void CheckFormatDecimals(float value, int decimals) {
    const std::string context =
        "FormatDecimals(" + Describe(value) + ", " + std::to_string(decimals) + ")";
    const std::string text = FormatDecimals(value, decimals);
    const std::string expected = decimals == -1
                                     ? FormatShortest(value)
                                     : FormatFixed(static_cast<double>(value), decimals, ".", "");
    Require(text == expected, "differs from FormatFixed or FormatShortest",
            context + " gave " + Printable(text) + ", expected " + Printable(expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FormatInput input = Decode(InputText(data, size));
    CheckFormatFixed(input.wide, input.decimals, input.point, input.separator);
    CheckFormatDecimals(input.narrow, input.decimals);
    // The calls the program itself makes, whatever the input's count and texts.
    for (const int decimals : {1, 2}) {
        CheckFormatFixed(static_cast<double>(input.narrow), decimals, ",", "");
        CheckFormatDecimals(input.narrow, decimals);
    }
    CheckFormatDecimals(input.narrow, -1);
    CheckShortest(input.narrow);
    return 0;
}
