#include "tools/every_float/exact_decimal.h"

#include <bit>
#include <cstdint>

namespace {

// __extension__ keeps -Wpedantic quiet about the 128-bit type that GCC and clang both provide.
__extension__ typedef unsigned __int128 Wide;

struct Binary {
    bool negative;
    std::uint32_t significand;  // m, below 2^24
    int exponent;               // e, from -149 to 104
};

Binary Decompose(float value) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const auto biased = static_cast<int>((bits >> 23) & 0xffu);
    const std::uint32_t fraction = bits & 0x7fffffu;
    const bool negative = (bits >> 31) != 0;
    if (biased == 0) {
        return {negative, fraction, -149};  // subnormal: no hidden bit
    }
    return {negative, fraction | 0x800000u, biased - 150};
}

// Decimal digits of a 128-bit integer; the float's integer part never needs more.
std::string IntegerDigits(Wide value) {
    if (value == 0) {
        return "0";
    }
    std::string reversed;
    while (value != 0) {
        reversed.push_back(static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    }
    return {reversed.rbegin(), reversed.rend()};
}

// Adds one unit of the last digit, carrying to the left; a carry out of the first digit adds a
// new leading "1".
void IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string ExactFixed(float value, int decimals) {
    const Binary binary = Decompose(value);
    std::string integer;
    std::string fraction;
    bool roundUp = false;
    if (binary.exponent >= 0) {
        // 1. An integer below 2^128: no fraction at all, nothing to round.
        integer = IntegerDigits(static_cast<Wide>(binary.significand) << binary.exponent);
        fraction.assign(static_cast<std::size_t>(decimals), '0');
    } else {
        // 2. value = integer + rest / 2^k. The rest starts below 2^24 and each decimal multiplies
        //    it by at most 10, so after 30 decimals it is still below 2^124: no overflow.
        const int k = -binary.exponent;
        const Wide significand = binary.significand;
        integer = IntegerDigits(k < 32 ? significand >> k : 0);
        Wide rest = k < 32 ? significand & ((Wide{1} << k) - 1) : significand;
        for (int i = 0; i < decimals; ++i) {
            rest *= 10;
            // 2^k with k >= 128 exceeds every rest, so such a digit is 0 and the rest stays.
            const Wide digit = k < 128 ? rest >> k : 0;
            rest -= k < 128 ? digit << k : 0;
            fraction.push_back(static_cast<char>('0' + static_cast<int>(digit)));
        }
        // 3. Half to even: compare twice the rest with 2^k, the unit of the last decimal.
        if (k < 127) {
            const Wide twice = rest * 2;
            const Wide unit = Wide{1} << k;
            const char last = decimals > 0 ? fraction.back() : integer.back();
            roundUp = twice > unit || (twice == unit && (last - '0') % 2 == 1);
        }
    }
    std::string digits = integer + fraction;
    if (roundUp) {
        IncrementDigits(digits);
    }
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    std::string text = (binary.negative && binary.significand != 0) ? "-" : "";
    text.append(digits, 0, integerLength);
    if (decimals > 0) {
        text += '.';
        text.append(digits, integerLength, std::string::npos);
    }
    return text;
}
