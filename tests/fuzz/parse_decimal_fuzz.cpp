// ParseDecimal on arbitrary bytes: it must not crash, and it must give bitwise the value that a
// plain reading of its form gives, computed here apart from the code under test.

#include <locale.h>
#include <stdlib.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "conversion/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSkippedWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool SameLettersAs(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lowerWord[i]) {
            return false;
        }
    }
    return true;
}

// The number at the start of the text, rewritten as significant digits and a power of ten.
struct CanonicalNumber {
    bool found = false;
    bool negative = false;
    std::string digits;  // no leading zeros; empty for a zero
    long long exponent = 0;
};

// Exponent digits beyond this many give a power far outside any double: the value is decided.
constexpr std::size_t kLongestExponentRead = 12;

CanonicalNumber Scan(std::string_view text) {
    CanonicalNumber number;
    std::size_t i = 0;
    while (i < text.size() && IsSkippedWhiteSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    std::string integerDigits;
    std::string fractionDigits;
    while (i < text.size() && IsDigit(text[i])) {
        integerDigits.push_back(text[i++]);
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            fractionDigits.push_back(text[i++]);
        }
    }
    if (integerDigits.empty() && fractionDigits.empty()) {
        return number;
    }
    number.found = true;
    long long written = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        std::string exponentDigits;
        while (j < text.size() && IsDigit(text[j])) {
            if (!(exponentDigits.empty() && text[j] == '0')) {
                exponentDigits.push_back(text[j]);
            }
            ++j;
        }
        if (exponentDigits.size() > kLongestExponentRead) {
            exponentDigits = std::string(kLongestExponentRead, '9');
        }
        if (!exponentDigits.empty()) {
            written = std::stoll(exponentDigits);
        }
        written = negativeExponent ? -written : written;
    }
    const std::string all = integerDigits + fractionDigits;
    const std::size_t firstNonZero = all.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return number;  // a zero, whatever its exponent
    }
    number.digits = all.substr(firstNonZero);
    number.exponent = written - static_cast<long long>(fractionDigits.size());
    // Past these bounds the value is beyond any double either way; clamping keeps strtod's input
    // short and its exponent well inside the range it reads exactly.
    const auto digitCount = static_cast<long long>(number.digits.size());
    if (number.exponent > 400) {
        number.exponent = 400;
    } else if (number.exponent < -(digitCount + 400)) {
        number.exponent = -(digitCount + 400);
    }
    return number;
}

// glibc's strtod rounds correctly; under the "C" locale its point is "." whatever the process's
// locale says.
double ReadDouble(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

float NearestFloat(double value) {
    // Halfway between FLT_MAX and the next power of two: from there on the nearest is infinity
    // (the tie goes up, since FLT_MAX's significand is odd).
    const double overflow =
        static_cast<double>(std::numeric_limits<float>::max()) + std::ldexp(1.0, 103);
    if (std::fabs(value) >= overflow) {
        const float infinity = std::numeric_limits<float>::infinity();
        return std::signbit(value) ? -infinity : infinity;
    }
    return static_cast<float>(value);
}

float ReferenceReading(std::string_view text) {
    if (SameLettersAs(text, "+infinity")) {
        return std::numeric_limits<float>::infinity();
    }
    if (SameLettersAs(text, "-infinity")) {
        return -std::numeric_limits<float>::infinity();
    }
    if (SameLettersAs(text, "nan")) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    const CanonicalNumber number = Scan(text);
    if (!number.found) {
        return 0.0f;
    }
    double magnitude = 0.0;
    if (!number.digits.empty()) {
        magnitude = ReadDouble(number.digits + "e" + std::to_string(number.exponent));
    }
    return NearestFloat(number.negative ? -magnitude : magnitude);
}

bool Same(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = InputText(data, size);
    const float parsed = ParseDecimal(text);
    const float expected = ReferenceReading(text);
    Require(Same(parsed, expected), "ParseDecimal differs from the reference reading",
            Printable(text) + " gave " + Describe(parsed) + ", expected " + Describe(expected));
    if (std::isnan(parsed)) {
        // The one NaN it gives is quiet.
        Require((std::bit_cast<std::uint32_t>(parsed) & 0x00400000u) != 0, "NaN is not quiet",
                Printable(text));
    }
    return 0;
}
