#include "catalog/NameLookup.h"

#include "catalog/Catalog.h"
#include "catalog/FigureMembership.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace dazed {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDeg = kPi / 180.0;

using Vec3 = std::array<double, 3>;

Vec3 unitVector(const EquatorialPosition& p)
{
    const double ra = p.rightAscensionHours * kPi / 12.0;
    const double dec = p.declinationDegrees * kDeg;
    return {std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)};
}

double dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double separationDegrees(const EquatorialPosition& a, const EquatorialPosition& b)
{
    return std::acos(std::clamp(dot(unitVector(a), unitVector(b)), -1.0, 1.0)) / kDeg;
}

NamedPlace found(const std::string& name)
{
    const auto result = findNamedPlace(name);
    if (const auto* message = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << name << ": " << *message;
        return {};
    }
    return std::get<NamedPlace>(result);
}

std::string refusal(const std::string& name)
{
    const auto result = findNamedPlace(name);
    if (std::holds_alternative<NamedPlace>(result)) {
        ADD_FAILURE() << name << " was found as " << std::get<NamedPlace>(result).name;
        return {};
    }
    return std::get<std::string>(result);
}

// Both ends of every segment filed under `abbreviation`, as unit vectors.
std::vector<Vec3> figureEnds(const std::string& abbreviation)
{
    std::vector<Vec3> ends;
    for (int i = 0; i < kLineCount; ++i) {
        if (abbreviation != lineConstellation[i])
            continue;
        const float* s = &linesrd[i * kLineStride];
        for (int end = 0; end < 2; ++end) {
            const double ra = static_cast<double>(s[2 * end]);
            const double dec = static_cast<double>(s[2 * end + 1]);
            ends.push_back({std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)});
        }
    }
    return ends;
}

TEST(NameLookup, KeysIgnoreCaseSpacingPunctuationAndAccents)
{
    EXPECT_EQ(nameKey("URSA  MAJOR"), "ursamajor");
    EXPECT_EQ(nameKey(" ursa-major\t"), "ursamajor");
    EXPECT_EQ(nameKey("Bo\xC3\xB6tes"), "bootes");          // Boötes
    EXPECT_EQ(nameKey("\xC3\x89TOILE \xC3\x97"), "etoile"); // ÉTOILE ×
    EXPECT_EQ(nameKey("--"), "");
}

TEST(NameLookup, EditDistanceCountsSingleLetterChanges)
{
    EXPECT_EQ(editDistance("kitten", "sitting"), 3);
    EXPECT_EQ(editDistance("sitting", "kitten"), 3);
    EXPECT_EQ(editDistance("flaw", "lawn"), 2);
    EXPECT_EQ(editDistance("", "abc"), 3);
    EXPECT_EQ(editDistance("vega", "vega"), 0);
}

TEST(NameLookup, EveryStarNameFindsItsOwnRowInAnyCase)
{
    for (int i = 0; i < kStarNameCount; ++i) {
        std::string lower = starNames[i];
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const NamedPlace place = found(lower);
        EXPECT_EQ(place.name, starNames[i]);
        EXPECT_EQ(place.kind, NamedPlaceKind::Star) << starNames[i];
        EXPECT_EQ(place.position.rightAscensionHours, static_cast<double>(starNamesP[i * kStarNameStride]));
        EXPECT_EQ(place.position.declinationDegrees,
                  static_cast<double>(starNamesP[i * kStarNameStride + 1]));
    }
    const NamedPlace betelgeuse = found("  BETELGEUSE ");
    EXPECT_EQ(betelgeuse.name, "Betelgeuse");
    EXPECT_NEAR(betelgeuse.position.rightAscensionHours, 5.92, 0.01);
    EXPECT_NEAR(betelgeuse.position.declinationDegrees, 7.41, 0.01);
}

TEST(NameLookup, EveryConstellationAnswersToItsNameAndAbbreviation)
{
    int constellations = 0;
    for (int row = 0; row < kConstellationCount; ++row) {
        const std::string abbreviation = nameConst[2 * row];
        const std::string name = nameConst[2 * row + 1];
        if (abbreviation.find_first_not_of(' ') == std::string::npos)
            continue;
        ++constellations;
        const NamedPlace byName = found(name);
        const NamedPlace byAbbreviation = found(abbreviation);
        EXPECT_EQ(byName.name, name);
        EXPECT_EQ(byName.kind, NamedPlaceKind::Constellation) << name;
        EXPECT_EQ(byAbbreviation.name, name) << abbreviation;
        EXPECT_EQ(byAbbreviation.position.rightAscensionHours, byName.position.rightAscensionHours);
        EXPECT_EQ(byAbbreviation.position.declinationDegrees, byName.position.declinationDegrees);
    }
    EXPECT_EQ(constellations, 88);

    for (const char* spelling : {"ursa major", "URSA  MAJOR", "UMa", "uma", "Ursa-Major"})
        EXPECT_EQ(found(spelling).name, "Ursa Major") << spelling;
    EXPECT_EQ(found("ori").name, "Orion");
    EXPECT_EQ(found("Bo\xC3\xB6tes").name, "Bootes");
    EXPECT_EQ(found("cra").name, "Corona Australis");
    EXPECT_EQ(found("crt").name, "Crater");
}

TEST(NameLookup, NoTwoPlacesShareAKey)
{
    std::map<std::string, std::string> placeOfKey;
    auto add = [&](const std::string& spelling, const std::string& place) {
        const auto [it, inserted] = placeOfKey.emplace(nameKey(spelling), place);
        EXPECT_TRUE(inserted || it->second == place) << spelling << " is also " << it->second;
    };
    for (int i = 0; i < kStarNameCount; ++i)
        add(starNames[i], starNames[i]);
    for (int row = 0; row < kConstellationCount; ++row) {
        if (nameKey(nameConst[2 * row]).empty())
            continue;
        add(nameConst[2 * row], nameConst[2 * row + 1]);
        add(nameConst[2 * row + 1], nameConst[2 * row + 1]);
    }
}

TEST(NameLookup, AConstellationIsCentredOnTheMiddleOfItsFigure)
{
    for (int row = 0; row < kConstellationCount; ++row) {
        const std::string abbreviation = nameConst[2 * row];
        if (nameKey(abbreviation).empty())
            continue;
        const NamedPlace place = found(abbreviation);
        const auto ends = figureEnds(abbreviation);
        ASSERT_FALSE(ends.empty()) << abbreviation;

        // The normalised mean of the ends is the direction whose summed cosine to them is largest:
        // a step of half a degree either way in right ascension or declination only lowers it.
        auto summedCosine = [&](const EquatorialPosition& p) {
            double sum = 0;
            for (const Vec3& e : ends)
                sum += dot(unitVector(p), e);
            return sum;
        };
        const EquatorialPosition c = place.position;
        const double best = summedCosine(c);
        const double cosDec = std::cos(c.declinationDegrees * kDeg);
        const double raStep = 0.5 / 15.0 / std::max(cosDec, 0.05);
        for (const EquatorialPosition& moved :
             {EquatorialPosition{c.rightAscensionHours + raStep, c.declinationDegrees},
              EquatorialPosition{c.rightAscensionHours - raStep, c.declinationDegrees},
              EquatorialPosition{c.rightAscensionHours, std::min(90.0, c.declinationDegrees + 0.5)},
              EquatorialPosition{c.rightAscensionHours, std::max(-90.0, c.declinationDegrees - 0.5)}})
            EXPECT_LE(summedCosine(moved), best + 1e-12) << abbreviation;

        EXPECT_GE(c.rightAscensionHours, 0.0) << abbreviation;
        EXPECT_LT(c.rightAscensionHours, 24.0) << abbreviation;
        // The chart's label point for the constellation is in or beside the same figure, also for
        // the figures that straddle 0 h.
        const float* label = &posMoyLines[row * kConstellationStride];
        const EquatorialPosition labelPoint{static_cast<double>(label[0]), static_cast<double>(label[1])};
        EXPECT_LT(separationDegrees(c, labelPoint), 25.0) << abbreviation;
    }
}

TEST(NameLookup, AnUnknownNameGetsOneLineWithTheClosestNames)
{
    const std::string misspelt = refusal("Betelgeuze");
    EXPECT_EQ(misspelt.find('\n'), std::string::npos);
    EXPECT_NE(misspelt.find("'Betelgeuze'"), std::string::npos) << misspelt;
    EXPECT_NE(misspelt.find("Betelgeuse"), std::string::npos) << misspelt;

    EXPECT_NE(refusal("Ursa Majr").find("Ursa Major"), std::string::npos);
    EXPECT_NE(refusal("andromeda galaxy").find("Andromeda"), std::string::npos);

    const std::string garbled = refusal("Bet\nel\rgeuse!!x");
    EXPECT_EQ(garbled.find('\n'), std::string::npos) << garbled;
    EXPECT_EQ(garbled.find('\r'), std::string::npos) << garbled;

    for (const char* nothing : {"", "   ", "--", "\xE2\x98\x85"}) // the last is a star sign, ★
        EXPECT_EQ(refusal(nothing).find('\n'), std::string::npos);
}

TEST(NameLookup, ClosestNamesRankByEditsThenByTableOrder)
{
    EXPECT_EQ(closestNames("betel", 1), std::vector<std::string>{"Betelgeuse"});
    EXPECT_EQ(closestNames("sirus", 1), std::vector<std::string>{"Sirius"});
    EXPECT_EQ(closestNames("Capela", 1), std::vector<std::string>{"Capella"});
    const auto three = closestNames("xq", 3);
    EXPECT_EQ(three.size(), 3u);
    EXPECT_TRUE(closestNames("vega", 0).empty());
    // Leo is both a name and an abbreviation; it is suggested once.
    const auto leo = closestNames("leo", 5);
    EXPECT_EQ(std::count(leo.begin(), leo.end(), "Leo"), 1);
    EXPECT_EQ(leo.front(), "Leo");
}

} // namespace
} // namespace dazed
