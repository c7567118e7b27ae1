#include "conversion/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <system_error>

namespace {

constexpr int kMaxDecimals = 512;
constexpr int kShortestDecimals = 10;
// "-", the 309 integer digits of the largest double, ".", and the most decimals allowed.
constexpr std::size_t kFixedBufferSize = 1 + 309 + 1 + kMaxDecimals;
// Exponents are only needed to tell overflow from underflow; beyond this bound every decimal
// magnitude is out of range anyway, so saturating here keeps the sums below from overflowing.
constexpr long long kExponentLimit = 1'000'000'000;
// FLT_MAX plus half an ulp (2^128 - 2^103): from here on round-to-nearest gives infinity (the tie
// goes to infinity because FLT_MAX has an odd significand). Checking it ourselves keeps the
// double-to-float conversion inside the range where the language defines it.
constexpr double kFloatOverflowThreshold = 0x1.ffffffp127;

int ClampDecimals(int decimals) {
    if (decimals < 0) {
        return 0;
    }
    return decimals > kMaxDecimals ? kMaxDecimals : decimals;
}

// The word for a non-finite value, or nullptr for a finite one.
const char* NonFiniteWord(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "+Infinity" : "-Infinity";
    }
    return nullptr;
}

// The digit text P for a finite value and 0 <= decimals <= 512: optional "-", the
// integer digits, and "." plus exactly `decimals` digits when decimals > 0.
std::string BuildFixed(double value, int decimals) {
    // 1. Both zeros are written "0...", so -0 becomes +0; any other negative value keeps its
    //    "-" even when it rounds to zero, as std::to_chars does.
    if (value == 0.0) {
        value = 0.0;
    }
    // 2. std::to_chars in fixed format with a precision writes the exact decimal expansion of the
    //    binary value, rounded half to even, and never looks at the locale.
    std::array<char, kFixedBufferSize> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        return "0";  // Unreachable: the buffer holds the longest possible text.
    }
    return std::string(buffer.data(), result.ptr);
}

// Inserts `separator` between groups of three digits, counted from the right.
std::string GroupDigits(std::string_view digits, std::string_view separator) {
    if (separator.empty()) {
        return std::string(digits);
    }
    std::string grouped;
    grouped.reserve(digits.size() + (digits.size() / 3) * separator.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped.append(separator);
        }
        grouped.push_back(digits[i]);
    }
    return grouped;
}

// Own ASCII tests: the <cctype> ones depend on the locale and are undefined for negative chars.
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAsciiWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lowerWord[i]) {
            return false;
        }
    }
    return true;
}

// A number found by ScanNumber: its text without the sign, in the form std::from_chars reads.
struct ScannedNumber {
    bool negative = false;
    std::string_view unsignedText;
    bool hasNonZeroDigit = false;
    // Power of ten of the first non-zero digit, exponent included (saturated).
    long long decimalMagnitude = 0;
};

// Reads the saturated value of the exponent digits from text[pos]; advances pos past them.
long long ReadExponentDigits(std::string_view text, std::size_t& pos) {
    long long exponent = 0;
    while (pos < text.size() && IsAsciiDigit(text[pos])) {
        if (exponent < kExponentLimit) {
            exponent = exponent * 10 + (text[pos] - '0');
        }
        ++pos;
    }
    return exponent;
}

// Finds the number of step 2 of ParseDecimal at the start of the text, or nothing.
std::optional<ScannedNumber> ScanNumber(std::string_view text) {
    ScannedNumber number;
    std::size_t pos = 0;
    // 1. Only the six ASCII white-space characters are skipped, whatever the locale says.
    while (pos < text.size() && IsAsciiWhiteSpace(text[pos])) {
        ++pos;
    }
    // 2. The sign is taken here because std::from_chars rejects a leading "+".
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.negative = text[pos] == '-';
        ++pos;
    }
    // 3. Digits with at most one ".", noting where the first non-zero digit stands relative to
    //    the point so that an out-of-range result can be classified without guessing.
    const std::size_t start = pos;
    long long digitCount = 0;
    long long integerDigits = 0;
    long long firstNonZeroIndex = 0;
    bool seenPoint = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!IsAsciiDigit(c)) {
            break;
        }
        if (c != '0' && !number.hasNonZeroDigit) {
            number.hasNonZeroDigit = true;
            firstNonZeroIndex = digitCount;
        }
        ++digitCount;
        integerDigits += seenPoint ? 0 : 1;
    }
    if (digitCount == 0) {
        return std::nullopt;  // A lone sign or point, or no digit at all.
    }
    // The digit at index k (counted over all digits, the point skipped) stands for
    // 10^(integerDigits - 1 - k): "0.05" has its "5" at k = 2, power 1 - 1 - 2 = -2.
    const long long firstNonZeroPower = integerDigits - 1 - firstNonZeroIndex;
    // 4. An exponent counts only when at least one digit follows "e", its sign included:
    //    "12e" and "1e+" end before the "e".
    long long exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponentPos = pos + 1;
        bool negativeExponent = false;
        if (exponentPos < text.size() && (text[exponentPos] == '+' || text[exponentPos] == '-')) {
            negativeExponent = text[exponentPos] == '-';
            ++exponentPos;
        }
        if (exponentPos < text.size() && IsAsciiDigit(text[exponentPos])) {
            exponent = ReadExponentDigits(text, exponentPos);
            exponent = negativeExponent ? -exponent : exponent;
            pos = exponentPos;
        }
    }
    number.unsignedText = text.substr(start, pos - start);
    number.decimalMagnitude = firstNonZeroPower + exponent;
    return number;
}

// The double for a number std::from_chars found out of range: it leaves the value unset, so the
// scanned magnitude decides between infinity (at least 1) and zero (below 1).
double OutOfRangeMagnitude(const ScannedNumber& number) {
    if (number.hasNonZeroDigit && number.decimalMagnitude >= 0) {
        return std::numeric_limits<double>::infinity();
    }
    return 0.0;
}

// Rounds to the nearest float, ties to even, overflow to infinity with the sign.
float RoundToFloat(double value) {
    if (std::fabs(value) >= kFloatOverflowThreshold) {
        const float infinity = std::numeric_limits<float>::infinity();
        return std::signbit(value) ? -infinity : infinity;
    }
    return static_cast<float>(value);
}

}  // namespace

std::string FormatFixed(double value, int decimals, std::string_view decimalPoint,
                        std::string_view separator) {
    // 1. The words stand alone: the other arguments play no part.
    if (const char* word = NonFiniteWord(value)) {
        return word;
    }
    // 2. Build P, then split it into sign, integer digits and decimals.
    const std::string fixed = BuildFixed(value, ClampDecimals(decimals));
    const std::size_t signLength = (fixed.front() == '-') ? 1 : 0;
    const std::size_t point = fixed.find('.');
    const std::size_t integerEnd = (point == std::string::npos) ? fixed.size() : point;
    const std::string_view fixedView(fixed);
    // 3. Group the integer digits only, so the separator never precedes the "-".
    std::string result(fixedView.substr(0, signLength));
    result += GroupDigits(fixedView.substr(signLength, integerEnd - signLength), separator);
    // 4. The caller's point text replaces "." and is left out with 0 decimals.
    if (point != std::string::npos) {
        result.append(decimalPoint);
        result.append(fixedView.substr(point + 1));
    }
    return result;
}

std::string FormatDecimals(float value, int decimals) {
    if (decimals == -1) {
        return FormatShortest(value);
    }
    // Widening to double is exact, so the rounding works on the exact 32-bit value.
    return FormatFixed(static_cast<double>(value), decimals, ".", "");
}

std::string FormatShortest(float value) {
    const double wide = static_cast<double>(value);
    if (const char* word = NonFiniteWord(wide)) {
        return word;
    }
    std::string fixed = BuildFixed(wide, kShortestDecimals);
    // Only decimals are removed: P always has a "." here, so the integer zeros of "100" stay.
    const std::size_t lastKept = fixed.find_last_not_of('0');
    fixed.erase(fixed[lastKept] == '.' ? lastKept : lastKept + 1);
    return fixed;
}

float ParseDecimal(std::string_view text) {
    // 1. The special words must be the whole text; nothing is trimmed.
    if (EqualsIgnoringAsciiCase(text, "+infinity")) {
        return std::numeric_limits<float>::infinity();
    }
    if (EqualsIgnoringAsciiCase(text, "-infinity")) {
        return -std::numeric_limits<float>::infinity();
    }
    if (EqualsIgnoringAsciiCase(text, "nan")) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    // 2. Find the number ourselves, so that std::from_chars only ever sees that exact form (it
    //    would also take "inf", "nan" and would reject "+").
    const std::optional<ScannedNumber> number = ScanNumber(text);
    if (!number) {
        return 0.0f;
    }
    // 3. Correctly rounded to the nearest double, locale-independent.
    double magnitude = 0.0;
    const std::string_view digits = number->unsignedText;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        magnitude = OutOfRangeMagnitude(*number);
    } else if (result.ec != std::errc()) {
        magnitude = 0.0;  // Unreachable: the scanned text always has the accepted form.
    }
    // 4. The sign is applied last so that "-0" and underflows keep it; then double to float.
    return RoundToFloat(number->negative ? -magnitude : magnitude);
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Resuming behind the occurrence keeps matches apart and never rescans a replacement.
        if (text.compare(pos, find.size(), find) == 0) {
            result.append(replacement);
            pos += find.size();
        } else {
            result.push_back(text[pos]);
            ++pos;
        }
    }
    return result;
}
