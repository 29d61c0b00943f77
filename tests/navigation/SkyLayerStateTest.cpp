#include "navigation/SkyLayerState.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using namespace std::chrono;

const system_clock::time_point kNow = sys_days{2026y / December / 9} + 21h + 30min + 15s;

SkyLayerState paris()
{
    SkyLayerState s;
    s.place = GeographicPlace{48.85, 2.35, 0};
    s.shown = true;
    return s;
}

TEST(SkyLayerState, FollowsTheClockUntilATimeIsFixed)
{
    SkyLayerState s = paris();
    EXPECT_EQ(layerMoment(s, kNow), (UtcTime{2026, 12, 9, 21, 30, 15.0}));
    ASSERT_TRUE(stepLayerTime(s, hours{1}, kNow));
    EXPECT_EQ(layerMoment(s, kNow + 10min), (UtcTime{2026, 12, 9, 22, 30, 15.0}))
        << "fixed: the clock no longer counts";
    ASSERT_TRUE(stepLayerTime(s, hours{24}, kNow));
    EXPECT_EQ(layerMoment(s, kNow), (UtcTime{2026, 12, 10, 22, 30, 15.0}));
    ASSERT_TRUE(stepLayerTime(s, hours{-48}, kNow));
    EXPECT_EQ(layerMoment(s, kNow), (UtcTime{2026, 12, 8, 22, 30, 15.0}));
    EXPECT_TRUE(followClock(s));
    EXPECT_EQ(layerMoment(s, kNow), (UtcTime{2026, 12, 9, 21, 30, 15.0}));
    EXPECT_FALSE(followClock(s)) << "already following";
}

TEST(SkyLayerState, StepsStopAtTheModelsYears)
{
    SkyLayerState s = paris();
    s.fixedTime = UtcTime{2100, 12, 31, 23, 30, 0.0};
    EXPECT_FALSE(stepLayerTime(s, hours{1}, kNow));
    EXPECT_EQ(s.fixedTime, (UtcTime{2100, 12, 31, 23, 30, 0.0})) << "unchanged";
    s.fixedTime = UtcTime{1900, 1, 1, 0, 30, 0.0};
    EXPECT_FALSE(stepLayerTime(s, hours{-1}, kNow));
    EXPECT_TRUE(stepLayerTime(s, hours{1}, kNow));
}

TEST(SkyLayerState, ALeapSecondStepsFromTheEndOfItsMinute)
{
    SkyLayerState s = paris();
    s.fixedTime = UtcTime{2016, 12, 31, 23, 59, 60.5};
    ASSERT_TRUE(stepLayerTime(s, hours{1}, kNow));
    EXPECT_EQ(s.fixedTime->year, 2017);
    EXPECT_EQ(s.fixedTime->hour, 0);
    EXPECT_EQ(s.fixedTime->minute, 59);
}

TEST(SkyLayerState, WithoutAPlaceNothingShowsOrMoves)
{
    SkyLayerState s;
    EXPECT_FALSE(toggleLayer(s));
    EXPECT_FALSE(s.shown);
    EXPECT_FALSE(stepLayerTime(s, hours{1}, kNow));
    EXPECT_FALSE(s.fixedTime);
}

TEST(SkyLayerState, TogglesWithAPlace)
{
    SkyLayerState s = paris();
    EXPECT_TRUE(toggleLayer(s));
    EXPECT_FALSE(s.shown);
    EXPECT_TRUE(toggleLayer(s));
    EXPECT_TRUE(s.shown);
}

TEST(SkyLayerState, WakesOnTheNextWholeMinute)
{
    EXPECT_EQ(untilNextMinute(kNow), milliseconds{45000});
    EXPECT_EQ(untilNextMinute(sys_days{2026y / December / 9} + 21h + 30min), milliseconds{60000});
    EXPECT_EQ(untilNextMinute(sys_days{2026y / December / 9} + 21h + 30min + 59999ms), milliseconds{1});
}

} // namespace
} // namespace dazed
