#include "files/date_mask.h"

#include <time.h>

#include <array>
#include <cstdio>

namespace {

constexpr int kFirstYear = 1970;
constexpr int kLastYear = 9999;

static_assert(sizeof(time_t) >= 8, "moments past 2038 need a 64-bit time_t");

bool InSpan(const LocalMoment& m) {
    return m.year >= kFirstYear && m.year <= kLastYear && m.month >= 1 && m.month <= 12 &&
           m.day >= 1 && m.day <= 31 && m.hour >= 0 && m.hour <= 23 && m.minute >= 0 &&
           m.minute <= 59 && m.second >= 0 && m.second <= 60;  // 60: a leap second
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerToken) {
    if (text.size() < lowerToken.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lowerToken.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lowerToken[i]) {
            return false;
        }
    }
    return true;
}

void AppendPadded(std::string& out, int value, int digits) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%0*d", digits, value);
    out += text.data();
}

struct Token {
    std::string_view name;
    int LocalMoment::*part;
    int digits;
    int modulus;
};

// Tried in this order, so that "%yyyy" wins over "%yy".
constexpr std::array<Token, 7> kTokens{{
    {"yyyy", &LocalMoment::year, 4, 10000},
    {"yy", &LocalMoment::year, 2, 100},
    {"mm", &LocalMoment::month, 2, 100},
    {"dd", &LocalMoment::day, 2, 100},
    {"hh", &LocalMoment::hour, 2, 100},
    {"ii", &LocalMoment::minute, 2, 100},
    {"ss", &LocalMoment::second, 2, 100},
}};

}  // namespace

std::optional<LocalMoment> LocalMomentOf(std::int64_t secondsSinceEpoch) {
    const auto clock = static_cast<time_t>(secondsSinceEpoch);
    struct tm local {};
    if (localtime_r(&clock, &local) == nullptr) {
        return std::nullopt;
    }
    const LocalMoment moment{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                             local.tm_hour,        local.tm_min,     local.tm_sec};
    if (!InSpan(moment)) {
        return std::nullopt;
    }
    return moment;
}

std::string ExpandDateMask(std::string_view mask, const std::optional<LocalMoment>& moment) {
    std::string out;
    if (!moment || !InSpan(*moment)) {
        return out;
    }
    std::size_t pos = 0;
    while (pos < mask.size()) {
        const Token* match = nullptr;
        if (mask[pos] == '%') {
            for (const Token& token : kTokens) {
                if (StartsWithIgnoringCase(mask.substr(pos + 1), token.name)) {
                    match = &token;
                    break;
                }
            }
        }
        if (match == nullptr) {
            out += mask[pos++];
            continue;
        }
        AppendPadded(out, (*moment).*(match->part) % match->modulus, match->digits);
        pos += 1 + match->name.size();
    }
    return out;
}
