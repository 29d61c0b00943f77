// How the window's start meets the remembered settings: the command line wins and is remembered,
// the view is never remembered, and --place auto in the window.

#include "app/WindowStart.h"

#include "app/ChartWindow.h"
#include "app/SettingsStore.h"
#include "render/SkyCentre.h"
#include "tests/support/GeoClueMock.h"
#include "tests/support/ScratchFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace dazed {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;

const system_clock::time_point kNow = sys_days{2026y / December / 9} + 21h + 30min;
const GeographicPlace kParis{48.85, 2.35, 35};
const GeographicPlace kSydney{-33.87, 151.21, 0};

Settings remembering(const GeographicPlace& place, bool shown)
{
    Settings s;
    s.place = place;
    s.layerShown = shown;
    return s;
}

SkyChoice typed(const GeographicPlace& place)
{
    SkyChoice sky;
    sky.place = place;
    return sky;
}

TEST(StartingSky, TheCommandLinesPlaceWinsOverTheRememberedOne)
{
    const auto sky = startingSky(typed(kSydney), remembering(kParis, false), kNow);
    ASSERT_TRUE(sky);
    EXPECT_EQ(sky->place.latitudeDegrees, kSydney.latitudeDegrees);
    EXPECT_TRUE(sky->shown);
}

TEST(StartingSky, TheRememberedPlaceStartsAsItWasLeftFollowingTheClock)
{
    for (const bool shown : {true, false}) {
        const auto sky = startingSky(std::nullopt, remembering(kParis, shown), kNow);
        ASSERT_TRUE(sky);
        EXPECT_EQ(sky->place.heightMetres, 35.0);
        EXPECT_EQ(sky->shown, shown);
        EXPECT_FALSE(sky->time);
    }
}

TEST(StartingSky, WithoutAnyPlaceThereIsNoLayer)
{
    Settings s;
    s.layerShown = true; // a hand-edited file may say so without a place
    EXPECT_FALSE(startingSky(std::nullopt, s, kNow));
    EXPECT_FALSE(startingSky(std::nullopt, Settings{}, kNow));
}

TEST(StartingSky, AClockBeyondTheModelsStartsWithoutTheLayer)
{
    const system_clock::time_point far = sys_days{2150y / January / 1};
    EXPECT_FALSE(startingSky(std::nullopt, remembering(kParis, true), far));
}

TEST(RememberStart, APlaceGivenReplacesTheRememberedOneAndShowsItsSky)
{
    Settings night = remembering(kParis, false);
    night.nightMode = true;
    night.device = DeviceMode::Tablet;
    const Settings after = rememberStart(night, typed(kSydney));
    EXPECT_EQ(after.place->latitudeDegrees, kSydney.latitudeDegrees);
    EXPECT_TRUE(after.layerShown);
    EXPECT_TRUE(after.nightMode) << "what the command line does not say is kept";
    EXPECT_EQ(after.device, DeviceMode::Tablet);
    EXPECT_EQ(rememberStart(night, std::nullopt), night);
}

TEST(RememberLayer, TheLayerAndItsPlaceAreRemembered)
{
    const Settings after = rememberLayer(Settings{}, SkyLayerState{kParis, std::nullopt, 60, true});
    EXPECT_TRUE(after.layerShown);
    EXPECT_EQ(after.place->longitudeDegrees, kParis.longitudeDegrees);
    EXPECT_FALSE(rememberLayer(after, SkyLayerState{kParis, std::nullopt, 60, false}).layerShown);
}

TEST(ResolveSystemPlace, APlaceFoundIsUsedAsIfTyped)
{
    CentreChoice choice;
    choice.place = "auto";
    choice.time = "2026-12-12T19:30:00+01:00";
    const auto start = resolveSystemPlace(choice, kParis, kNow);
    ASSERT_TRUE(std::holds_alternative<WindowPlace>(start));
    const WindowPlace& place = std::get<WindowPlace>(start);
    ASSERT_TRUE(place.sky && place.centre);
    EXPECT_EQ(place.sky->place.heightMetres, 35.0);
    EXPECT_TRUE(place.sky->time);
    // Centred on the place's zenith, as --place with numbers does.
    const auto zenith = zenithJ2000(kParis, *place.sky->time);
    EXPECT_EQ(place.centre->rightAscensionHours, zenith->rightAscensionHours);
}

TEST(ResolveSystemPlace, WithoutAPlaceTheOtherOptionsStillCount)
{
    CentreChoice choice;
    choice.place = "auto";
    choice.time = "2026-12-12T19:30:00+01:00";
    const auto none = resolveSystemPlace(choice, std::nullopt, kNow);
    ASSERT_TRUE(std::holds_alternative<WindowPlace>(none));
    EXPECT_FALSE(std::get<WindowPlace>(none).sky);
    EXPECT_FALSE(std::get<WindowPlace>(none).centre) << "the chart opens where it always does";
    choice.at = "Vega";
    const auto vega = resolveSystemPlace(choice, std::nullopt, kNow);
    ASSERT_TRUE(std::get<WindowPlace>(vega).centre);
    EXPECT_NEAR(std::get<WindowPlace>(vega).centre->declinationDegrees, 38.78, 0.01);
}

TEST(StartingLook, TheCommandLineWinsAndIsRememberedElseTheSettingsStand)
{
    Settings fileSays;
    fileSays.nightMode = true;
    fileSays.device = DeviceMode::Fit;

    // Nothing given: the file's screen and tint, nothing new to remember.
    const auto plain = startingLook(std::nullopt, false, fileSays);
    EXPECT_EQ(plain.device, DeviceMode::Fit);
    EXPECT_TRUE(plain.nightMode);
    EXPECT_EQ(plain.remembered, fileSays);

    // A screen given wins and replaces the remembered one; night mode stays as remembered.
    const auto tablet = startingLook(DeviceMode::Tablet, false, fileSays);
    EXPECT_EQ(tablet.device, DeviceMode::Tablet);
    EXPECT_EQ(tablet.remembered.device, DeviceMode::Tablet);
    EXPECT_TRUE(tablet.nightMode);

    // A first run: the phone by day, and --night is remembered.
    const auto first = startingLook(std::nullopt, false, Settings{});
    EXPECT_EQ(first.device, DeviceMode::Phone);
    EXPECT_FALSE(first.nightMode);
    EXPECT_FALSE(first.remembered.device);
    const auto night = startingLook(std::nullopt, true, Settings{});
    EXPECT_TRUE(night.nightMode);
    EXPECT_TRUE(night.remembered.nightMode);
}

// The real window on SDL's offscreen driver, for a moment, with a settings file of the test's own.
class WindowSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("DAZED_RESOURCE_DIR", DAZED_RESOURCE_DIR, 1);
        ::setenv("XDG_CONFIG_HOME", (m_scratch / "config").c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("DAZED_RESOURCE_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    int open(std::vector<std::string> args)
    {
        args.insert(args.begin(), "dazed");
        args.insert(args.end(), {"--quit-after", "0.2"});
        std::ostringstream out;
        m_err.str({});
        auto outcome = runCli(args, out, m_err);
        if (const auto* status = std::get_if<int>(&outcome))
            return *status;
        return runChartWindow(std::get<ChartOptions>(outcome), "dazed", m_err);
    }
    Settings remembered()
    {
        SettingsStore store(settingsPathFromEnvironment(),
                            [](const std::string& line) { ADD_FAILURE() << line; });
        return store.load();
    }
    fs::path file() const { return m_scratch / "config" / "dazed" / "settings.json"; }

    test::ScratchFolder m_scratch;
    std::ostringstream m_err;
};

TEST_F(WindowSettings, APlaceGivenIsRememberedButNeverTheView)
{
    ASSERT_EQ(open({"--place", "48.85,2.35,35", "--at", "Vega"}), 0) << m_err.str();
    EXPECT_EQ(remembered(), remembering(kParis, true));
    // The next run opens where every run opens, whatever the last one looked at.
    ASSERT_EQ(open({}), 0) << m_err.str();
    EXPECT_EQ(xs1, 17.0);
    EXPECT_EQ(ys1, 31.0);
    EXPECT_EQ(remembered(), remembering(kParis, true));
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(WindowSettings, NightModeAndTheScreenGivenAreRemembered)
{
    ASSERT_EQ(open({"--night", "--device", "tablet"}), 0) << m_err.str();
    EXPECT_TRUE(remembered().nightMode);
    EXPECT_EQ(remembered().device, DeviceMode::Tablet);
    // A plain run forgets neither.
    ASSERT_EQ(open({}), 0) << m_err.str();
    EXPECT_TRUE(remembered().nightMode);
    EXPECT_EQ(remembered().device, DeviceMode::Tablet);
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(WindowSettings, APlainRunWithoutAFileWritesNone)
{
    ASSERT_EQ(open({}), 0) << m_err.str();
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(WindowSettings, ABadFileIsSaidOnceAndTheWindowOpensAsWithout)
{
    fs::create_directories(file().parent_path());
    std::ofstream(file()) << "{\"layer\": 3}";
    ASSERT_EQ(open({}), 0) << m_err.str();
    EXPECT_EQ(m_err.str(),
              "dazed: " + file().string() +
                  ": \"layer\" must be true or false; the settings start from their defaults (the file "
                  "is kept as " +
                  file().string() + ".bad when they change)\n");
    EXPECT_EQ(xs1, 17.0);
}

TEST_F(WindowSettings, PlaceAutoRemembersTheSystemsPlace)
{
    if (!test::GeoClueMock::available())
        GTEST_SKIP() << "dbus-daemon or python3-dbusmock is missing";
    test::GeoClueMock bus(m_scratch.path());
    ASSERT_TRUE(bus.serve(R"({"latitude": -33.87, "longitude": 151.21})"));
    ASSERT_EQ(open({"--place", "auto"}), 0) << m_err.str();
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(remembered(), remembering(kSydney, true));
}

TEST_F(WindowSettings, PlaceAutoWithNoAnswerAndNoPlaceOpensWithoutTheLayerAndSaysSo)
{
    if (!test::GeoClueMock::available())
        GTEST_SKIP() << "dbus-daemon or python3-dbusmock is missing";
    test::GeoClueMock bus(m_scratch.path());
    ASSERT_TRUE(bus.serve(R"({"mode": "silent"})"));
    ASSERT_EQ(open({"--place", "auto", "--place-timeout", "0.3"}), 0) << m_err.str();
    EXPECT_EQ(m_err.str(),
              "dazed: --place auto: GeoClue gave no answer within 0.3 s, and no place is remembered; "
              "the sky of a place is not drawn\n");
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_EQ(xs1, 17.0);
}

} // namespace
} // namespace dazed
