// --place auto: which answers of the system are a place, the fall-back on the remembered place,
// and `dazed render --place auto` against a stand-in GeoClue on a private bus.

#include "app/AutoPlace.h"

#include "app/Cli.h"
#include "app/SettingsStore.h"
#include "tests/support/GeoClueMock.h"
#include "tests/support/ScratchFolder.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace dazed {
namespace {

namespace fs = std::filesystem;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

Result<SystemLocation> answer(double latitude, double longitude,
                              std::optional<double> altitude = std::nullopt)
{
    return SystemLocation{latitude, longitude, altitude, 100.0};
}

TEST(ChooseAutoPlace, APlaceOnTheEarthIsTaken)
{
    const AutoPlace found = chooseAutoPlace(answer(-33.87, 151.21, 58.0), GeographicPlace{48.85, 2.35});
    ASSERT_TRUE(found.place);
    EXPECT_TRUE(found.fromSystem);
    EXPECT_TRUE(found.note.empty());
    EXPECT_EQ(found.place->latitudeDegrees, -33.87);
    EXPECT_EQ(found.place->longitudeDegrees, 151.21);
    EXPECT_EQ(found.place->heightMetres, 58.0);
    // The poles and the date line are places.
    EXPECT_TRUE(chooseAutoPlace(answer(90, -180), std::nullopt).fromSystem);
    EXPECT_TRUE(chooseAutoPlace(answer(-90, 180), std::nullopt).fromSystem);
}

TEST(ChooseAutoPlace, AnAltitudeThatIsNoneIsDroppedNotThePlace)
{
    for (const double altitude : {kNaN, kInf, -1.7976931348623157e308, 20000.0, -600.0}) {
        const AutoPlace found = chooseAutoPlace(answer(10, 20, altitude), std::nullopt);
        ASSERT_TRUE(found.place) << altitude;
        EXPECT_EQ(found.place->heightMetres, 0.0) << altitude;
    }
}

TEST(ChooseAutoPlace, NonsenseFallsBackOnTheRememberedPlaceSayingWhy)
{
    const GeographicPlace paris{48.85, 2.35, 35};
    for (const auto& [lat, lon] : {std::pair{kNaN, 2.0}, std::pair{2.0, kNaN}, std::pair{91.0, 0.0},
                                   std::pair{0.0, -180.5}, std::pair{kInf, 0.0}, std::pair{1e300, 1e300}}) {
        const AutoPlace found = chooseAutoPlace(answer(lat, lon), paris);
        ASSERT_TRUE(found.place);
        EXPECT_FALSE(found.fromSystem);
        EXPECT_EQ(found.place->latitudeDegrees, 48.85);
        EXPECT_EQ(found.place->heightMetres, 35.0);
        EXPECT_EQ(found.note.rfind("GeoClue answered a place off the Earth (latitude ", 0), 0u) << found.note;
        EXPECT_NE(found.note.find("; using the remembered place 48.85, 2.35"), std::string::npos)
            << found.note;
    }
}

TEST(ChooseAutoPlace, AFailureWithoutARememberedPlaceGivesNoPlace)
{
    const AutoPlace found =
        chooseAutoPlace(failure("GeoClue is not running on the system bus"), std::nullopt);
    EXPECT_FALSE(found.place);
    EXPECT_EQ(found.note, "GeoClue is not running on the system bus, and no place is remembered");
}

TEST(ChooseAutoPlace, ThePlaceWrittenIntoTheChoiceReadsBackToTheSameBits)
{
    const GeographicPlace place{0.1 + 0.2, -179.99999999999997, 1e-300};
    CentreChoice choice;
    choice.place = "auto";
    const auto parsed = parsePlaceWithHeight(*withPlace(choice, place).place);
    ASSERT_TRUE(std::holds_alternative<GeographicPlace>(parsed));
    EXPECT_EQ(std::get<GeographicPlace>(parsed).latitudeDegrees, place.latitudeDegrees);
    EXPECT_EQ(std::get<GeographicPlace>(parsed).longitudeDegrees, place.longitudeDegrees);
    EXPECT_EQ(std::get<GeographicPlace>(parsed).heightMetres, place.heightMetres);
}

TEST(ChooseAutoPlace, TheTimeoutIsHeldToAnHour)
{
    EXPECT_EQ(placeTimeout(0.25).count(), 250);
    EXPECT_EQ(placeTimeout(1e12).count(), 3600 * 1000);
}

// `dazed render --place auto` end to end: each case starts its own bus and GeoClue (or none).
class RenderPlaceAuto : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::GeoClueMock::available())
            GTEST_SKIP() << "dbus-daemon or python3-dbusmock is missing";
        ::setenv("XDG_CONFIG_HOME", (m_scratch / "config").c_str(), 1);
        m_bus.emplace(m_scratch.path());
    }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

    void remember(const GeographicPlace& place)
    {
        Settings s;
        s.place = place;
        SettingsStore store(settingsPathFromEnvironment(), [](const std::string&) {});
        store.load();
        ASSERT_TRUE(store.save(s));
    }

    struct Run {
        int status;
        std::string err;
        std::string trace;
    };
    // Renders the trace of a frame of the place given (or auto) at a fixed moment.
    Run render(const std::string& place, const std::string& name, const std::string& timeout = "5")
    {
        const std::string path = (m_scratch / (name + ".jsonl")).string();
        std::ostringstream out;
        std::ostringstream err;
        const auto outcome = runCli({"dazed", "render", "--place", place, "--place-timeout", timeout,
                                     "--time", "2026-12-12T19:30:00+01:00", "--trace", path},
                                    out, err);
        std::ifstream in(path);
        std::stringstream trace;
        trace << in.rdbuf();
        return {std::get<int>(outcome), err.str(), trace.str()};
    }

    test::ScratchFolder m_scratch;
    std::optional<test::GeoClueMock> m_bus;
};

TEST_F(RenderPlaceAuto, AGoodAnswerDrawsThatPlacesSky)
{
    ASSERT_TRUE(m_bus->serve(R"({"latitude": 52.52, "longitude": 13.405, "altitude": 34.0})"));
    const Run automatic = render("auto", "auto");
    ASSERT_EQ(automatic.status, 0) << automatic.err;
    EXPECT_EQ(automatic.err, "");
    const Run typed = render("52.52,13.405,34", "typed");
    ASSERT_EQ(typed.status, 0) << typed.err;
    EXPECT_FALSE(typed.trace.empty());
    EXPECT_EQ(automatic.trace, typed.trace);
}

TEST_F(RenderPlaceAuto, NoGeoClueFallsBackOnTheRememberedPlaceInOneLine)
{
    remember({-33.87, 151.21, 0});
    const Run automatic = render("auto", "auto");
    ASSERT_EQ(automatic.status, 0) << automatic.err;
    EXPECT_EQ(automatic.err,
              "dazed render: --place auto: GeoClue is not running on the system bus; using the "
              "remembered place -33.87, 151.21\n");
    EXPECT_EQ(automatic.trace, render("-33.87,151.21", "typed").trace);
}

TEST_F(RenderPlaceAuto, ASlowGeoClueFallsBackAfterTheTimeout)
{
    ASSERT_TRUE(m_bus->serve(R"({"latitude": 10, "longitude": 10, "delay": 30})"));
    remember({48.85, 2.35, 35});
    const Run automatic = render("auto", "auto", "0.3");
    ASSERT_EQ(automatic.status, 0) << automatic.err;
    EXPECT_EQ(automatic.err, "dazed render: --place auto: GeoClue gave no answer within 0.3 s; using the "
                             "remembered place 48.85, 2.35\n");
    EXPECT_EQ(automatic.trace, render("48.85,2.35,35", "typed").trace);
}

TEST_F(RenderPlaceAuto, AccessDeniedWithoutARememberedPlaceIsABadOptionAndDrawsNothing)
{
    ASSERT_TRUE(m_bus->serve(R"({"mode": "deny"})"));
    const Run automatic = render("auto", "auto");
    EXPECT_EQ(automatic.status, 2);
    EXPECT_EQ(automatic.err,
              "dazed render: --place auto: GeoClue refused to say where this is (access denied), and "
              "no place is remembered; give --place LAT,LON\n");
    EXPECT_FALSE(fs::exists(m_scratch / "auto.jsonl"));
}

TEST_F(RenderPlaceAuto, NaNOrOutOfRangeAnswersAreNotUsed)
{
    ASSERT_TRUE(m_bus->serve(R"({"latitude": NaN, "longitude": 400})"));
    const Run none = render("auto", "none");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "dazed render: --place auto: GeoClue answered a place off the Earth (latitude nan, "
                        "longitude 400), and no place is remembered; give --place LAT,LON\n");
    remember({48.85, 2.35, 0});
    const Run remembered = render("auto", "remembered");
    EXPECT_EQ(remembered.status, 0) << remembered.err;
    EXPECT_EQ(remembered.trace, render("48.85,2.35", "typed").trace);
}

TEST_F(RenderPlaceAuto, ABadSettingsFileIsSaidAndCountsAsNoPlace)
{
    fs::create_directories(m_scratch / "config" / "dazed");
    std::ofstream(m_scratch / "config" / "dazed" / "settings.json") << "{\"place\": {\"latitude\": NaN}}";
    const Run automatic = render("auto", "auto", "0.2");
    EXPECT_EQ(automatic.status, 2);
    EXPECT_NE(automatic.err.find("settings.json: is not valid JSON; the settings start from their defaults"),
              std::string::npos)
        << automatic.err;
    EXPECT_NE(automatic.err.find("no place is remembered"), std::string::npos) << automatic.err;
}

TEST(RenderPlaceAutoOptions, OtherOptionsAreCheckedBeforeTheSystemIsAsked)
{
    std::ostringstream out;
    std::ostringstream err;
    const auto command = parseCli(
        {"dazed", "render", "--place", "auto", "--time", "2300-01-01T00:00:00Z", "-o", "x.png"}, out, err);
    EXPECT_EQ(std::get<int>(command), 2);
    EXPECT_EQ(err.str().rfind("dazed render: --time: ", 0), 0u) << err.str();
    std::ostringstream err2;
    EXPECT_EQ(
        std::get<int>(parseCli(
            {"dazed", "render", "--place", "auto", "--place-timeout", "nan", "-o", "x.png"}, out, err2)),
        2);
    const auto pending =
        parseCli({"dazed", "render", "--place", "auto", "--at", "Vega", "-o", "x.png"}, out, err);
    ASSERT_TRUE(std::holds_alternative<AutoPlaceRender>(pending));
    EXPECT_EQ(std::get<AutoPlaceRender>(pending).timeoutSeconds, kDefaultPlaceTimeoutSeconds);
}

} // namespace
} // namespace dazed
