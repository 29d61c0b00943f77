#include "sky/UtcTime.h"

#include <gtest/gtest.h>
#include <ostream>

namespace dazed {

void PrintTo(const UtcTime& t, std::ostream* os)
{
    *os << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":" << t.second
        << " UTC";
}

namespace {

UtcTime parsed(const std::string& text)
{
    const auto result = parseIsoTime(text);
    if (const auto* message = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << text << ": " << *message;
        return {};
    }
    return std::get<UtcTime>(result);
}

std::string refusal(const std::string& text)
{
    const auto result = parseIsoTime(text);
    if (std::holds_alternative<UtcTime>(result)) {
        ADD_FAILURE() << text << " was read as a time";
        return {};
    }
    return std::get<std::string>(result);
}

TEST(IsoTime, UtcAndOffsetsGiveTheSameMoment)
{
    const UtcTime expected{2026, 12, 8, 21, 30, 0.0};
    EXPECT_EQ(parsed("2026-12-08T21:30:00Z"), expected);
    EXPECT_EQ(parsed("2026-12-08T21:30Z"), expected);
    EXPECT_EQ(parsed("2026-12-08t21:30:00z"), expected);
    EXPECT_EQ(parsed("2026-12-08 21:30:00Z"), expected);
    EXPECT_EQ(parsed("2026-12-08T22:30:00+01:00"), expected);
    EXPECT_EQ(parsed("2026-12-08T22:30:00+0100"), expected);
    EXPECT_EQ(parsed("2026-12-08T22:30+01"), expected);
    EXPECT_EQ(parsed("2026-12-08T16:00:00-05:30"), expected);
    EXPECT_EQ(parsed("2026-12-08T21:30:00+00:00"), expected);
    EXPECT_EQ(parsed("2026-12-08T21:30:12.25Z"), (UtcTime{2026, 12, 8, 21, 30, 12.25}));
    EXPECT_EQ(parsed("2026-12-08T21:30:12,5Z"), (UtcTime{2026, 12, 8, 21, 30, 12.5}));
}

TEST(IsoTime, OffsetsCarryAcrossDaysMonthsYearsAndLeapDays)
{
    EXPECT_EQ(parsed("2026-12-31T23:30:00-01:00"), (UtcTime{2027, 1, 1, 0, 30, 0.0}));
    EXPECT_EQ(parsed("2027-01-01T00:10:00+00:30"), (UtcTime{2026, 12, 31, 23, 40, 0.0}));
    EXPECT_EQ(parsed("2024-03-01T01:00:00+02:00"), (UtcTime{2024, 2, 29, 23, 0, 0.0}));
    EXPECT_EQ(parsed("2023-03-01T01:00:00+02:00"), (UtcTime{2023, 2, 28, 23, 0, 0.0}));
}

TEST(IsoTime, ALeapSecondIsReadOnlyOnADayThatHasOne)
{
    EXPECT_EQ(parsed("2016-12-31T23:59:60Z"), (UtcTime{2016, 12, 31, 23, 59, 60.0}));
    // The same second seen from Central Europe.
    EXPECT_EQ(parsed("2017-01-01T00:59:60.5+01:00"), (UtcTime{2016, 12, 31, 23, 59, 60.5}));
    EXPECT_NE(refusal("2026-12-31T23:59:60Z").find("leap second"), std::string::npos);

    EXPECT_TRUE(isRealUtc({2016, 12, 31, 23, 59, 60.5}));
    EXPECT_TRUE(isRealUtc({2012, 6, 30, 23, 59, 60.0}));
    EXPECT_FALSE(isRealUtc({2012, 6, 29, 23, 59, 60.0}));
    EXPECT_FALSE(isRealUtc({2026, 12, 31, 23, 59, 60.0}));
    EXPECT_FALSE(isRealUtc({2026, 2, 29, 12, 0, 0.0}));
    EXPECT_FALSE(isRealUtc({2026, 12, 8, 21, 30, -1.0}));
    // Before UTC began and beyond ERFA's leap-second table, times are still taken.
    EXPECT_TRUE(isRealUtc({1950, 1, 1, 0, 0, 0.0}));
    EXPECT_TRUE(isRealUtc({2090, 1, 1, 0, 0, 0.0}));
}

TEST(IsoTime, UnreadableOrImpossibleTimesGetOneLineQuotingThem)
{
    for (const char* text : {"",
                             "tomorrow",
                             "2026-12-08",
                             "2026-12-08T21",
                             "2026-12-08T21:30:00",
                             "2026-12-08T21:30:00 Z",
                             "2026-12-08T21:30:00+1",
                             "2026-12-08T21:30:00+01:",
                             "26-12-08T21:30Z",
                             "2026/12/08T21:30Z",
                             "2026-12-08T21:30:00.Z",
                             "2026-12-08T21:30:00Zjunk",
                             "2026-02-30T12:00Z",
                             "2026-13-01T12:00Z",
                             "2026-12-08T24:00Z",
                             "2026-12-08T21:60Z",
                             "2026-12-08T21:30:61Z",
                             "2026-12-08T21:30+24:00",
                             "2026-12-08T21:30+01:60",
                             "2026-12-08T21:30\n:00Z"}) {
        const std::string message = refusal(text);
        EXPECT_FALSE(message.empty()) << text;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        EXPECT_EQ(message.rfind("'", 0), 0u) << message; // it opens with the text as typed
    }
    EXPECT_NE(refusal("2026-12-08T21:30:00").find("time zone"), std::string::npos);
}

TEST(IsoTime, TheSystemClockIsReadAsUtc)
{
    using namespace std::chrono;
    const sys_days day = 2026y / December / 8;
    EXPECT_EQ(utcFromSystemClock(day + 21h + 30min + 15s + 250ms), (UtcTime{2026, 12, 8, 21, 30, 15.25}));
    EXPECT_EQ(utcFromSystemClock(sys_days{1970y / January / 1}), (UtcTime{1970, 1, 1, 0, 0, 0.0}));
    // Whatever the clock says now reads back as a real UTC date and time.
    const UtcTime now = utcFromSystemClock(system_clock::now());
    EXPECT_GE(now.year, 2024);
    EXPECT_LT(now.second, 60.0);
}

} // namespace
} // namespace dazed
