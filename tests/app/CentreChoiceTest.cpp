#include "app/CentreChoice.h"

#include "catalog/NameLookup.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using namespace std::chrono;

const system_clock::time_point kNow = sys_days{2026y / December / 8} + 21h + 30min;

CentreChoice choiceOf(std::optional<std::string> at, std::optional<std::string> overhead,
                      std::optional<std::string> time = std::nullopt)
{
    CentreChoice c;
    c.at = std::move(at);
    c.overhead = std::move(overhead);
    c.time = std::move(time);
    return c;
}

CentreChoice atName(const std::string& name)
{
    return choiceOf(name, std::nullopt);
}

CentreChoice overheadOf(const std::string& place, std::optional<std::string> time = std::nullopt)
{
    return choiceOf(std::nullopt, place, std::move(time));
}

EquatorialPosition resolved(const CentreChoice& choice, system_clock::time_point now = kNow)
{
    const auto result = resolveCentre(choice, now);
    if (const auto* message = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << *message;
        return {};
    }
    return std::get<EquatorialPosition>(result);
}

std::string refusal(const CentreChoice& choice)
{
    const auto result = resolveCentre(choice, kNow);
    if (std::holds_alternative<EquatorialPosition>(result)) {
        ADD_FAILURE() << "accepted";
        return {};
    }
    const std::string message = std::get<std::string>(result);
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    return message;
}

TEST(CentreChoice, AtANameIsThatPlace)
{
    const EquatorialPosition vega = resolved(atName("vega"));
    const auto expected = std::get<NamedPlace>(findNamedPlace("Vega")).position;
    EXPECT_EQ(vega.rightAscensionHours, expected.rightAscensionHours);
    EXPECT_EQ(vega.declinationDegrees, expected.declinationDegrees);
    const EquatorialPosition orion = resolved(atName("Ori"));
    EXPECT_EQ(orion.rightAscensionHours, figureCentre("Ori")->rightAscensionHours);
}

TEST(CentreChoice, OverheadIsTheZenithAtTheTimeOrNow)
{
    const EquatorialPosition atTime =
        resolved(overheadOf("48.85, 2.35", "2026-12-08T22:30:00+01:00"), system_clock::time_point{});
    const auto zenith = zenithJ2000({48.85, 2.35}, {2026, 12, 8, 21, 30, 0.0});
    ASSERT_TRUE(zenith);
    EXPECT_EQ(atTime.rightAscensionHours, zenith->rightAscensionHours);
    EXPECT_EQ(atTime.declinationDegrees, zenith->declinationDegrees);

    // Without --time the clock's moment is used.
    const EquatorialPosition now = resolved(overheadOf("48.85,2.35"));
    EXPECT_EQ(now.rightAscensionHours, zenith->rightAscensionHours);

    const EquatorialPosition south = resolved(overheadOf("-33.87,+151.21", "2026-06-21T12:00:00+10:00"));
    EXPECT_LT(south.declinationDegrees, -33.0);
}

TEST(CentreChoice, PlacesAreReadAsLatitudeCommaLongitudeWithinTheirRanges)
{
    const auto place = parseGeographicPlace(" 78.22 , 15.63 ");
    ASSERT_TRUE(std::holds_alternative<GeographicPlace>(place)) << std::get<std::string>(place);
    EXPECT_EQ(std::get<GeographicPlace>(place).latitudeDegrees, 78.22);
    EXPECT_EQ(std::get<GeographicPlace>(place).longitudeDegrees, 15.63);
    for (const char* edge : {"90,180", "-90,-180", "0,0"})
        EXPECT_TRUE(std::holds_alternative<GeographicPlace>(parseGeographicPlace(edge))) << edge;

    for (const char* bad : {"", "48.85", "48.85;2.35", "north,east", "48.85,", ",2.35", "48.85,2.35,3",
                            "nan,0", "0,inf", "1e400,0"})
        EXPECT_NE(std::get<std::string>(parseGeographicPlace(bad)).find("is not LAT,LON"), std::string::npos)
            << bad;
}

TEST(CentreChoice, RefusalsNameTheirOption)
{
    EXPECT_EQ(refusal(atName("Betelgeuze")).rfind("--at: ", 0), 0u);
    EXPECT_NE(refusal(atName("Betelgeuze")).find("Betelgeuse"), std::string::npos);
    EXPECT_EQ(refusal(overheadOf("95,10")).rfind("--overhead: ", 0), 0u);
    EXPECT_NE(refusal(overheadOf("95,10")).find("latitude"), std::string::npos);
    EXPECT_NE(refusal(overheadOf("-90.001,10")).find("latitude"), std::string::npos);
    EXPECT_NE(refusal(overheadOf("10,180.5")).find("longitude"), std::string::npos);
    EXPECT_NE(refusal(overheadOf("10,-181")).find("longitude"), std::string::npos);
    EXPECT_EQ(refusal(overheadOf("10,20", "next tuesday")).rfind("--time: ", 0), 0u);
    EXPECT_EQ(refusal(overheadOf("10,20", "2026-12-08T21:30:00")).rfind("--time: ", 0), 0u);
    EXPECT_NE(refusal(choiceOf("Vega", "10,20")).find("exclude"), std::string::npos);
    EXPECT_NE(refusal(choiceOf(std::nullopt, std::nullopt, "2026-12-08T21:30:00Z"))
                  .find("--time needs --overhead or --place"),
              std::string::npos);
    EXPECT_EQ(refusal(choiceOf("Vega", std::nullopt, "2026-12-08T21:30:00Z")).rfind("--time", 0), 0u);
}

} // namespace
} // namespace dazed
