#include "app/Cli.h"
#include "sky/Zenith.h"
#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace dazed {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    CliOutcome outcome;
    std::string err;
};

Outcome run(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    auto outcome = runCli(args, out, err);
    return {std::move(outcome), err.str()};
}

TEST(PlaceOption, StartsTheWindowWithThePlacesSkyCentredOnItsZenith)
{
    const auto r = run({"dazed", "--place", "48.85,2.35,35", "--time", "2026-12-09T21:30:00+01:00"});
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(r.outcome)) << r.err;
    const ChartOptions& options = std::get<ChartOptions>(r.outcome);
    ASSERT_TRUE(options.sky);
    EXPECT_EQ(options.sky->place.latitudeDegrees, 48.85);
    EXPECT_EQ(options.sky->place.longitudeDegrees, 2.35);
    EXPECT_EQ(options.sky->place.heightMetres, 35.0);
    EXPECT_EQ(options.sky->time, (UtcTime{2026, 12, 9, 20, 30, 0.0}));
    EXPECT_EQ(options.sky->utcOffsetMinutes, 60);
    const auto zenith = zenithJ2000({48.85, 2.35}, {2026, 12, 9, 20, 30, 0.0});
    ASSERT_TRUE(zenith && options.centre);
    EXPECT_EQ(options.centre->rightAscensionHours, zenith->rightAscensionHours);
    EXPECT_EQ(options.centre->declinationDegrees, zenith->declinationDegrees);
}

TEST(PlaceOption, WithoutATimeTheWindowFollowsTheClock)
{
    const auto r = run({"dazed", "--place", "-33.87,151.21"});
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(r.outcome)) << r.err;
    ASSERT_TRUE(std::get<ChartOptions>(r.outcome).sky);
    EXPECT_FALSE(std::get<ChartOptions>(r.outcome).sky->time);
}

TEST(PlaceOption, AnotherCentreOptionKeepsItsCentre)
{
    const auto r = run({"dazed", "--place", "48.85,2.35", "--at", "Vega"});
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(r.outcome)) << r.err;
    EXPECT_NEAR(std::get<ChartOptions>(r.outcome).centre->declinationDegrees, 38.78, 0.01);
    EXPECT_TRUE(std::get<ChartOptions>(r.outcome).sky);
}

TEST(PlaceOption, RenderCentresOnRaAndDecWhenTheyAreGivenWithAPlace)
{
    test::ScratchFolder scratch;
    const std::string withPlace = (scratch / "place.jsonl").string();
    const std::string plain = (scratch / "plain.jsonl").string();
    ASSERT_EQ(std::get<int>(run({"dazed", "render", "--place", "48.85,2.35", "--time", "2026-12-09T17:00:00Z",
                                 "--ra", "5.5", "--dec", "-5", "--trace", withPlace})
                                .outcome),
              0);
    ASSERT_EQ(std::get<int>(run({"dazed", "render", "--ra", "5.5", "--dec", "-5", "--trace", plain}).outcome),
              0);
    std::ifstream a(withPlace), b(plain);
    // The readout, the chart's own text, says the same centre in both.
    const auto readout = [](std::ifstream& in) {
        std::string line;
        while (std::getline(in, line))
            if (line.find("Ra : ") != std::string::npos)
                return line.substr(line.find("Ra : "));
        return std::string{};
    };
    const std::string readoutWithPlace = readout(a);
    EXPECT_NE(readoutWithPlace, "");
    EXPECT_EQ(readoutWithPlace, readout(b));
}

TEST(PlaceOption, WithoutAPlaceThereIsNoSky)
{
    const auto r = run({"dazed", "--overhead", "48.85,2.35"});
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(r.outcome)) << r.err;
    EXPECT_FALSE(std::get<ChartOptions>(r.outcome).sky);
}

TEST(PlaceOption, ThePolesAndTheDateLineAreAccepted)
{
    for (const char* place : {"90,0", "-90,0", "0,180", "0,-180", "-90,-180,2835", "0,0,-500", "0,0,10000"}) {
        const auto r = run({"dazed", "--place", place, "--time", "2026-12-09T21:30:00Z"});
        ASSERT_TRUE(std::holds_alternative<ChartOptions>(r.outcome)) << place << ": " << r.err;
        EXPECT_TRUE(std::get<ChartOptions>(r.outcome).sky) << place;
    }
}

TEST(PlaceOption, TheModelsFirstAndLastYearsAreAccepted)
{
    for (const char* time : {"1900-01-01T00:00:00Z", "2100-12-31T23:59:59Z", "1900-01-01T00:30:00+01:00"}) {
        // The last one is 1899-12-31 in UTC: refused below.
        const auto r = run({"dazed", "--place", "0,0", "--time", time});
        const bool before1900 = std::string(time).find("+01:00") != std::string::npos;
        EXPECT_EQ(std::holds_alternative<ChartOptions>(r.outcome), !before1900) << time << ": " << r.err;
    }
}

TEST(PlaceOption, BadPlacesAndTimesGetOneLineAndExitCodeTwo)
{
    const std::vector<std::vector<std::string>> cases{
        {"--place", "nan,0"},
        {"--place", "0,nan"},
        {"--place", "inf,0"},
        {"--place", "0,-inf"},
        {"--place", "0,0,nan"},
        {"--place", "0,0,inf"},
        {"--place", "90.0001,0"},
        {"--place", "-91,0"},
        {"--place", "0,180.5"},
        {"--place", "0,-181"},
        {"--place", "0,0,-501"},
        {"--place", "0,0,10001"},
        {"--place", "48.85"},
        {"--place", ""},
        {"--place", "48.85,2.35,35,7"},
        {"--place", "48.85;2.35"},
        {"--place", "N48,E2"},
        {"--place", "0,0", "--time", "tonight"},
        {"--place", "0,0", "--time", "2026-12-09T21:30:00"},
        {"--place", "0,0", "--time", "2026-02-30T21:30:00Z"},
        {"--place", "0,0", "--time", "2026-12-09T24:00:00Z"},
        {"--place", "0,0", "--time", "1899-12-31T23:59:59Z"},
        {"--place", "0,0", "--time", "2101-01-01T00:00:00Z"},
        {"--place", "0,0", "--time", "9999-01-01T00:00:00Z"},
    };
    for (const auto& tail : cases) {
        for (const bool toFile : {false, true}) {
            std::vector<std::string> args{"dazed"};
            if (toFile)
                args.push_back("render");
            args.insert(args.end(), tail.begin(), tail.end());
            if (toFile)
                args.insert(args.end(), {"--trace", "never-written.jsonl"});
            const auto r = run(args);
            ASSERT_TRUE(std::holds_alternative<int>(r.outcome)) << tail.back();
            EXPECT_EQ(std::get<int>(r.outcome), 2) << tail.back();
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_EQ(r.err.rfind(toFile ? "dazed render: " : "dazed: ", 0), 0u) << r.err;
            EXPECT_FALSE(fs::exists("never-written.jsonl"));
        }
    }
    // The message names the option and what is wrong.
    EXPECT_NE(run({"dazed", "--place", "0,0", "--time", "2101-01-01T00:00:00Z"}).err.find("1900 to 2100"),
              std::string::npos);
    EXPECT_NE(run({"dazed", "--place", "95,0"}).err.find("--place: '95,0' has a latitude"),
              std::string::npos);
    EXPECT_NE(run({"dazed", "--place", "0,0,20000"}).err.find("height"), std::string::npos);
}

TEST(PlaceOption, RenderDrawsTheSkyLayerOnlyWithAPlace)
{
    test::ScratchFolder scratch;
    const std::string plain = (scratch / "plain.jsonl").string();
    const std::string withSky = (scratch / "sky.jsonl").string();
    const std::string overhead = (scratch / "overhead.jsonl").string();
    ASSERT_EQ(std::get<int>(run({"dazed", "render", "--overhead", "48.85,2.35", "--time",
                                 "2026-12-09T17:00:00Z", "--trace", overhead})
                                .outcome),
              0);
    ASSERT_EQ(std::get<int>(run({"dazed", "render", "--place", "48.85,2.35", "--time", "2026-12-09T17:00:00Z",
                                 "--trace", withSky})
                                .outcome),
              0);
    const auto slurp = [](const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    };
    const std::string a = slurp(overhead);
    const std::string b = slurp(withSky);
    // The same centre; the place's sky adds its readout line and its marks.
    EXPECT_EQ(a.find("Zenith"), std::string::npos);
    EXPECT_NE(b.find("Zenith"), std::string::npos);
    EXPECT_NE(b.find("2026-12-09 17:00 +00:00"), std::string::npos);
    EXPECT_GT(b.size(), a.size());
    EXPECT_EQ(b.find(a.substr(0, a.find("ShowTextAtPoint"))), 0u) << "the chart's own calls start the same";
}

TEST(PlaceOption, HelpListsThePlaceAndTheKeys)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(std::get<int>(runCli({"dazed", "--help"}, out, err)), 0);
    for (const char* word : {"--place", "LAT,LON[,HEIGHT_M]", "T  ", "N  ", "[ and ]", "{ and }", "H  ",
                             "dazed --place 48.85,2.35"})
        EXPECT_NE(out.str().find(word), std::string::npos) << word;
    out.str("");
    EXPECT_EQ(std::get<int>(runCli({"dazed", "render", "--help"}, out, err)), 0);
    EXPECT_NE(out.str().find("--place"), std::string::npos);
}

} // namespace
} // namespace dazed
