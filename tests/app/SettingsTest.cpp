// The settings value and its text: what a file may hold, what it may not, and the round trip.

#include "app/Settings.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace dazed {
namespace {

Settings parsed(const std::string& text)
{
    auto result = parseSettings(text);
    if (const auto* message = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << text << ": " << *message;
        return {};
    }
    return std::get<Settings>(result);
}

std::string refusal(const std::string& text)
{
    auto result = parseSettings(text);
    if (std::holds_alternative<Settings>(result)) {
        ADD_FAILURE() << "accepted: " << text;
        return {};
    }
    return std::get<std::string>(result);
}

TEST(SettingsText, AWholeFileIsRead)
{
    const Settings s = parsed(R"({"nightMode": true, "layer": true,
        "place": {"latitude": 48.85, "longitude": 2.35, "height": 35}, "device": "tablet"})");
    EXPECT_TRUE(s.nightMode);
    EXPECT_TRUE(s.layerShown);
    ASSERT_TRUE(s.place);
    EXPECT_EQ(s.place->latitudeDegrees, 48.85);
    EXPECT_EQ(s.place->longitudeDegrees, 2.35);
    EXPECT_EQ(s.place->heightMetres, 35.0);
    EXPECT_EQ(s.device, DeviceMode::Tablet);
}

TEST(SettingsText, LeftOutMembersKeepTheirDefaultsAndUnknownOnesAreIgnored)
{
    EXPECT_EQ(parsed("{}"), Settings{});
    const Settings s = parsed(R"({"device": "fit", "zoom": 2.5, "centre": [17, 31], "place": null})");
    EXPECT_EQ(s.device, DeviceMode::Fit);
    EXPECT_FALSE(s.nightMode);
    EXPECT_FALSE(s.layerShown);
    EXPECT_FALSE(s.place);
    // A place without a height is at sea level.
    EXPECT_EQ(parsed(R"({"place": {"latitude": -90, "longitude": 180}})").place->heightMetres, 0.0);
}

TEST(SettingsText, WhatIsWrittenReadsBackToTheSameBits)
{
    Settings s;
    s.nightMode = true;
    s.layerShown = true;
    s.place = GeographicPlace{0.1 + 0.2, -179.99999999999997, 1234.5678};
    s.device = DeviceMode::Phone;
    const std::string text = serialiseSettings(s);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(parsed(text), s);
    EXPECT_EQ(parsed(serialiseSettings(Settings{})), Settings{});
    for (const auto mode : {DeviceMode::Phone, DeviceMode::Tablet, DeviceMode::Fit}) {
        Settings d;
        d.device = mode;
        EXPECT_EQ(parsed(serialiseSettings(d)), d);
    }
}

TEST(SettingsText, TextThatIsNotASettingsObjectIsRefusedInOneLine)
{
    for (const std::string text : {"", "not json", "{", "[]", "42", "null", "\"settings\"",
                                   "{\"layer\": true,}", "{\"place\": NaN}"}) {
        const std::string message = refusal(text);
        EXPECT_FALSE(message.empty()) << text;
        EXPECT_EQ(message.find('\n'), std::string::npos) << text;
    }
}

TEST(SettingsText, MembersOfTheWrongTypeAreRefused)
{
    EXPECT_EQ(refusal(R"({"nightMode": "yes"})"), "\"nightMode\" must be true or false");
    EXPECT_EQ(refusal(R"({"layer": 1})"), "\"layer\" must be true or false");
    EXPECT_EQ(refusal(R"({"device": "watch"})"), "\"device\" must be \"phone\", \"tablet\" or \"fit\"");
    EXPECT_EQ(refusal(R"({"device": 2})"), "\"device\" must be \"phone\", \"tablet\" or \"fit\"");
    EXPECT_EQ(refusal(R"({"place": "48.85,2.35"})"),
              "\"place\" must be an object with a latitude and a longitude");
    refusal(R"({"place": {"latitude": "48.85", "longitude": 2.35}})");
    refusal(R"({"place": {"latitude": 48.85}})");
    refusal(R"({"place": {"latitude": 48.85, "longitude": 2.35, "height": "high"}})");
}

TEST(SettingsText, PlacesOffTheEarthAreRefused)
{
    for (const std::string place :
         {R"({"latitude": 90.0001, "longitude": 0})", R"({"latitude": -91, "longitude": 0})",
          R"({"latitude": 0, "longitude": 180.5})", R"({"latitude": 0, "longitude": -1e300})",
          R"({"latitude": 1e999, "longitude": 0})", R"({"latitude": 0, "longitude": 0, "height": 10001})",
          R"({"latitude": 0, "longitude": 0, "height": -501})", R"({"latitude": -1e999, "longitude": 0})"})
        refusal(R"({"place": )" + place + "}");
    // The edges are places.
    EXPECT_TRUE(parsed(R"({"place": {"latitude": 90, "longitude": -180, "height": 10000}})").place);
}

TEST(SettingsText, DeepNestingIsRefusedBeforeParsing)
{
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(refusal(deep), "nests deeper than a settings file does");
    EXPECT_EQ(refusal(R"({"x": )" + std::string(9, '[') + std::string(9, ']') + "}"),
              "nests deeper than a settings file does");
    // Brackets inside strings are text, not nesting.
    EXPECT_FALSE(parsed(R"({"note": ")" + std::string(50, '[') + R"("})").nightMode);
}

TEST(DeviceModeNames, RoundTripAndRefuseOthers)
{
    for (const auto mode : {DeviceMode::Phone, DeviceMode::Tablet, DeviceMode::Fit})
        EXPECT_EQ(deviceModeNamed(deviceModeName(mode)), mode);
    EXPECT_FALSE(deviceModeNamed("Phone"));
    EXPECT_FALSE(deviceModeNamed(""));
}

} // namespace
} // namespace dazed
