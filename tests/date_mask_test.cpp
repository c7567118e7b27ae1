#include "files/date_mask.h"

#include <gtest/gtest.h>

#include "scoped_time_zone.h"

#include <time.h>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr LocalMoment kJune2023{2023, 6, 1, 8, 4, 5};
constexpr LocalMoment kMarch2025{2025, 3, 3, 19, 5, 9};
constexpr const char* kLogMask = "Liste_%yyyy-%mm-%dd_%hh-%ii-%ss.csv";

struct MaskCase {
    const char* mask;
    std::optional<LocalMoment> moment;
    const char* expected;
};

TEST(ExpandDateMaskTest, ReplacesTokens) {
    const MaskCase cases[] = {
        // The log's own name, 24-hour clock.
        {kLogMask, kJune2023, "Liste_2023-06-01_08-04-05.csv"},
        {kLogMask, kMarch2025, "Liste_2025-03-03_19-05-09.csv"},
        // Letter case is ignored in every token.
        {"%YYYY|%MM|%DD|%HH|%II|%SS", kMarch2025, "2025|03|03|19|05|09"},
        {"%Yyyy|%Mm|%dD|%hH|%Ii|%sS", kMarch2025, "2025|03|03|19|05|09"},
        // Two-digit year; "%yyyy" is tried before "%yy".
        {"%yy", kJune2023, "23"},
        {"%yyy", kJune2023, "23y"},
        {"%yyyyy", kJune2023, "2023y"},
        {"%yy", LocalMoment{2007, 1, 1, 0, 0, 0}, "07"},
        {"%yy", LocalMoment{2000, 1, 1, 0, 0, 0}, "00"},
        // Zero padding at both ends of each two-digit range.
        {"%mm %dd %hh %ii %ss", LocalMoment{1970, 1, 1, 0, 0, 0}, "01 01 00 00 00"},
        {"%mm %dd %hh %ii %ss", LocalMoment{9999, 12, 31, 23, 59, 59}, "12 31 23 59 59"},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(ExpandDateMask(c.mask, c.moment), c.expected);
    }
}

TEST(ExpandDateMaskTest, CopiesPercentThatStartsNoToken) {
    const MaskCase cases[] = {
        {"log%", kJune2023, "log%"},
        {"%", kJune2023, "%"},
        {"%x", kJune2023, "%x"},
        {"%y", kJune2023, "%y"},
        {"%y-%m", kJune2023, "%y-%m"},
        {"%%yyyy", kJune2023, "%2023"},
        {"%%%", kJune2023, "%%%"},
        {"100% %ss", kJune2023, "100% 05"},
        {"plain.csv", kJune2023, "plain.csv"},
        {"", kJune2023, ""},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(ExpandDateMask(c.mask, c.moment), c.expected);
    }
}

TEST(ExpandDateMaskTest, GivesEmptyTextOutsideTheSpan) {
    const MaskCase cases[] = {
        {kLogMask, std::nullopt, ""},
        {"plain.csv", std::nullopt, ""},
        {kLogMask, LocalMoment{1969, 12, 31, 23, 59, 59}, ""},
        {kLogMask, LocalMoment{1970, 1, 1, 0, 0, 0}, "Liste_1970-01-01_00-00-00.csv"},
        {kLogMask, LocalMoment{9999, 12, 31, 23, 59, 59}, "Liste_9999-12-31_23-59-59.csv"},
        {kLogMask, LocalMoment{10000, 1, 1, 0, 0, 0}, ""},
        {kLogMask, LocalMoment{2023, 13, 1, 0, 0, 0}, ""},
        {kLogMask, LocalMoment{2023, 6, 1, 24, 0, 0}, ""},
        {kLogMask, LocalMoment{2023, 6, 1, 8, -1, 0}, ""},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.moment ? std::to_string(c.moment->year) : "nullopt");
        EXPECT_EQ(ExpandDateMask(c.mask, c.moment), c.expected);
    }
}

class LocalMomentTest : public ::testing::Test {
  protected:
    static void UseZone(const char* zone) { ScopedTimeZone::Use(zone); }

  private:
    ScopedTimeZone zone_{"UTC"};
};

struct MomentCase {
    const char* zone;
    std::int64_t seconds;
    const char* expected;  // ExpandDateMask of the moment; "" for nullopt
};

TEST_F(LocalMomentTest, ConvertsWithinTheSpanOnly) {
    const MomentCase cases[] = {
        // Lower bound, in UTC and where local time is off UTC.
        {"UTC", -1, ""},
        {"UTC", 0, "1970-01-01 00:00:00"},
        {"UTC+1", 3599, ""},
        {"UTC+1", 3600, "1970-01-01 00:00:00"},
        {"UTC-2", 0, "1970-01-01 02:00:00"},
        // The 32-bit limit is no limit here.
        {"UTC", 2147483647, "2038-01-19 03:14:07"},
        {"UTC", 2147483648, "2038-01-19 03:14:08"},
        {"UTC", 4102444800, "2100-01-01 00:00:00"},
        // Upper bound: the last second a four-digit year can name.
        {"UTC", 253402300799, "9999-12-31 23:59:59"},
        {"UTC", 253402300800, ""},
        {"UTC-1", 253402297199, "9999-12-31 23:59:59"},
        {"UTC-1", 253402297200, ""},
        {"UTC", -86400LL * 365 * 100, ""},
        {"UTC", INT64_MAX, ""},
        {"UTC", INT64_MIN, ""},
    };
    for (const MomentCase& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.seconds));
        UseZone(c.zone);
        const std::optional<LocalMoment> moment = LocalMomentOf(c.seconds);
        EXPECT_EQ(moment.has_value(), c.expected[0] != '\0');
        EXPECT_EQ(ExpandDateMask("%yyyy-%mm-%dd %hh:%ii:%ss", moment), c.expected);
    }
}

}  // namespace
