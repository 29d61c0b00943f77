// The GeoClue client against a stand-in GeoClue on a private bus that each test starts and stops.

#include "platform/location/SystemLocation.h"
#include "tests/support/GeoClueMock.h"
#include "tests/support/ScratchFolder.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <stop_token>
#include <thread>

namespace dazed {
namespace {

using namespace std::chrono_literals;

class GeoClueLocation : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::GeoClueMock::available())
            GTEST_SKIP() << "dbus-daemon or python3-dbusmock is missing";
        m_bus.emplace(m_scratch.path());
    }
    bool serve(const std::string& parameters) { return m_bus->serve(parameters); }

    test::ScratchFolder m_scratch;
    std::optional<test::GeoClueMock> m_bus;
};

TEST_F(GeoClueLocation, AGoodAnswerGivesThePlaceItSent)
{
    ASSERT_TRUE(serve(R"({"latitude": 52.52, "longitude": 13.405, "altitude": 34.0, "accuracy": 2000.0})"));
    const auto location = askSystemLocation(5s);
    ASSERT_TRUE(location) << location.error().message;
    EXPECT_EQ(location->latitudeDegrees, 52.52);
    EXPECT_EQ(location->longitudeDegrees, 13.405);
    ASSERT_TRUE(location->altitudeMetres);
    EXPECT_EQ(*location->altitudeMetres, 34.0);
    EXPECT_EQ(location->accuracyMetres, 2000.0);
}

TEST_F(GeoClueLocation, AnAnswerAfterADelayWithinTheTimeoutIsTaken)
{
    ASSERT_TRUE(serve(R"({"latitude": -33.87, "longitude": 151.21, "delay": 0.3})"));
    const auto location = askSystemLocation(5s);
    ASSERT_TRUE(location) << location.error().message;
    EXPECT_EQ(location->latitudeDegrees, -33.87);
    // GeoClue's "unknown" altitude (the most negative double) is no altitude.
    EXPECT_FALSE(location->altitudeMetres);
}

TEST_F(GeoClueLocation, NoAnswerWithinTheTimeoutIsSaidAndTheWaitEndsOnTime)
{
    ASSERT_TRUE(serve(R"({"delay": 30})"));
    const auto start = std::chrono::steady_clock::now();
    const auto location = askSystemLocation(400ms);
    const auto waited = std::chrono::steady_clock::now() - start;
    ASSERT_FALSE(location);
    EXPECT_EQ(location.error().message, "GeoClue gave no answer within 0.4 s");
    EXPECT_GE(waited, 400ms);
    EXPECT_LT(waited, 3s);
}

TEST_F(GeoClueLocation, AServiceThatNeverAnswersIsNoAnswer)
{
    ASSERT_TRUE(serve(R"({"mode": "silent"})"));
    const auto location = askSystemLocation(300ms);
    ASSERT_FALSE(location);
    EXPECT_EQ(location.error().message, "GeoClue gave no answer within 0.3 s");
}

// Asks with a 20 s timeout and stops the question from another thread after 0.2 s.
Result<SystemLocation> askAndStopSoon(std::chrono::steady_clock::duration& waited)
{
    std::stop_source stop;
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(200ms);
        stop.request_stop();
    });
    const auto start = std::chrono::steady_clock::now();
    auto location = askSystemLocation(20s, stop.get_token());
    waited = std::chrono::steady_clock::now() - start;
    stopper.join();
    return location;
}

TEST_F(GeoClueLocation, AStopFromAnotherThreadEndsTheWaitAtOnce)
{
    ASSERT_TRUE(serve(R"({"mode": "silent"})"));
    std::chrono::steady_clock::duration waited{};
    const auto location = askAndStopSoon(waited);
    ASSERT_FALSE(location);
    EXPECT_EQ(location.error().message, "the question to GeoClue was withdrawn");
    EXPECT_LT(waited, 5s) << "the wait ran on towards its 20 s";
}

TEST_F(GeoClueLocation, AQuestionStoppedBeforeItIsAskedAsksNothing)
{
    ASSERT_TRUE(serve(R"({"latitude": 52.52, "longitude": 13.405})"));
    std::stop_source stop;
    stop.request_stop();
    const auto location = askSystemLocation(5s, stop.get_token());
    ASSERT_FALSE(location);
    EXPECT_EQ(location.error().message, "the question to GeoClue was withdrawn");
}

TEST_F(GeoClueLocation, AccessDeniedIsSaid)
{
    ASSERT_TRUE(serve(R"({"mode": "deny"})"));
    const auto location = askSystemLocation(5s);
    ASSERT_FALSE(location);
    EXPECT_EQ(location.error().message, "GeoClue refused to say where this is (access denied)");
}

TEST_F(GeoClueLocation, NoGeoClueOnTheBusIsSaid)
{
    const auto start = std::chrono::steady_clock::now();
    const auto location = askSystemLocation(5s);
    ASSERT_FALSE(location);
    EXPECT_EQ(location.error().message, "GeoClue is not running on the system bus");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "an absent service is known at once";
}

TEST_F(GeoClueLocation, NoSystemBusIsSaidInOneLine)
{
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + (m_scratch / "no-bus").string()).c_str(), 1);
    const auto location = askSystemLocation(1s);
    ASSERT_FALSE(location);
    EXPECT_EQ(location.error().message.rfind("no system bus to ask GeoClue on (", 0), 0u)
        << location.error().message;
    EXPECT_EQ(location.error().message.find('\n'), std::string::npos);
}

// The client passes on what it was sent; whether it is a place is the caller's to judge.
TEST_F(GeoClueLocation, NumbersThatAreNoPlaceComeBackAsTheyCame)
{
    ASSERT_TRUE(serve(R"({"latitude": NaN, "longitude": 1000.0})"));
    const auto location = askSystemLocation(5s);
    ASSERT_TRUE(location) << location.error().message;
    EXPECT_TRUE(std::isnan(location->latitudeDegrees));
    EXPECT_EQ(location->longitudeDegrees, 1000.0);
}

TEST_F(GeoClueLocation, ItCanBeAskedAgain)
{
    ASSERT_TRUE(serve(R"({"latitude": 10.0, "longitude": 20.0})"));
    for (int i = 0; i < 3; ++i) {
        const auto location = askSystemLocation(5s);
        ASSERT_TRUE(location) << location.error().message;
        EXPECT_EQ(location->longitudeDegrees, 20.0);
    }
}

} // namespace
} // namespace dazed
