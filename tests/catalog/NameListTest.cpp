// The list of names the Find… screen shows: every star and constellation name once, alphabetical
// whatever the accents and capitals, and the filter typed over it.

#include "catalog/Catalog.h"
#include "catalog/NameLookup.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace dazed {
namespace {

bool holds(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(NameList, EveryStarAndConstellationNameOnceInAlphabeticalOrder)
{
    const auto& names = namesInOrder();
    // 73 named stars and the 88 constellations; no abbreviation is a name of its own.
    EXPECT_EQ(names.size(), 73u + 88u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    for (std::size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(nameKey(names[i - 1]), nameKey(names[i])) << names[i - 1] << " before " << names[i];
    for (const char* name : {"Betelgeuse", "Sirius", "Orion", "Ursa Major", "Canes Venatici"})
        EXPECT_TRUE(holds(names, name)) << name;
    EXPECT_FALSE(holds(names, "UMa"));
    // The herdsman sorts as if unaccented: between Bellatrix and Caelum.
    const auto at = [&](const char* name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    const auto bootes =
        std::find_if(names.begin(), names.end(), [](const std::string& n) { return nameKey(n) == "bootes"; });
    ASSERT_NE(bootes, names.end());
    EXPECT_GT(bootes - names.begin(), at("Bellatrix"));
    EXPECT_LT(bootes - names.begin(), at("Caelum"));
}

TEST(NameList, TheFilterPicksBeginningsFirstThenInsidesThenAnAbbreviation)
{
    EXPECT_EQ(namesMatching(""), namesInOrder());
    EXPECT_EQ(namesMatching(" -- "), namesInOrder()) << "a filter of no letters picks everything";
    EXPECT_EQ(namesMatching("betel"), std::vector<std::string>{"Betelgeuse"});
    EXPECT_EQ(namesMatching("BETEL geuse"), std::vector<std::string>{"Betelgeuse"});

    const auto ur = namesMatching("ur");
    ASSERT_GE(ur.size(), 3u);
    EXPECT_EQ(ur[0], "Ursa Major");
    EXPECT_EQ(ur[1], "Ursa Minor");
    for (const std::string& name : ur)
        EXPECT_NE(nameKey(name).find("ur"), std::string::npos) << name;
    EXPECT_TRUE(holds(ur, "Arcturus")) << "a name that holds the letters further on comes after";

    const auto uma = namesMatching("UMa");
    ASSERT_FALSE(uma.empty());
    EXPECT_EQ(uma.back(), "Ursa Major");
    EXPECT_TRUE(namesMatching("zzzz").empty());
}

} // namespace
} // namespace dazed
