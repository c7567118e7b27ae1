#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A local wall-clock date and time, to the second.
struct LocalMoment {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

// Converts seconds since 1970-01-01 00:00:00 UTC to local time (the process's TZ). Result:
// nullopt when the conversion fails or the local moment lies outside 1970-01-01 00:00:00 ..
// 9999-12-31 23:59:59, the span a four-digit year can name.
std::optional<LocalMoment> LocalMomentOf(std::int64_t secondsSinceEpoch);

// Copies the mask, replacing the tokens %yyyy, %yy, %mm, %dd, %hh, %ii and %ss (any letter case)
// by the moment's parts, zero-padded; any other "%" is copied as it is. Result: empty text when
// the moment is nullopt, its year lies outside 1970..9999, or a part is out of its range.
std::string ExpandDateMask(std::string_view mask, const std::optional<LocalMoment>& moment);
