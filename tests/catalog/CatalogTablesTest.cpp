#include "catalog/Angles.h"
#include "catalog/Catalog.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace dazed {
namespace {

struct Star {
    float ra, dec, mag, sinDec, cosDec;
};

Star star(int i)
{
    const float* r = &starrd[i * kStarStride];
    return {r[0], r[1], r[2], r[3], r[4]};
}

// The trigonometric columns are the single-precision rounding of sin and cos of the stored angle.
void expectTrigColumns(float angle, float storedSin, float storedCos, const std::string& what)
{
    const double a = static_cast<double>(angle);
    EXPECT_EQ(storedSin, static_cast<float>(std::sin(a))) << what;
    EXPECT_EQ(storedCos, static_cast<float>(std::cos(a))) << what;
    const double s = storedSin;
    const double c = storedCos;
    EXPECT_NEAR(s * s + c * c, 1.0, 2.5e-7) << what;
}

TEST(StarCatalogue, CountsRangesAndOrder)
{
    static_assert(kStarCount == 1601);
    static_assert(sizeof(starrd) == 1601 * 20);
    static_assert(sizeof(starpt) == 716);

    std::array<int, 7> perMagnitudeBand{}; // below -1, [-1,0), [0,1), ... [4,5)
    float brightest = star(0).mag;
    float faintest = star(0).mag;
    for (int i = 0; i < kStarCount; ++i) {
        const Star s = star(i);
        EXPECT_LT(s.mag, 5.0f) << "star " << i;
        EXPECT_GE(s.ra, 0.0f) << "star " << i;
        EXPECT_LT(static_cast<double>(s.ra), 2 * kPi) << "star " << i;
        EXPECT_LE(std::abs(static_cast<double>(s.dec)), kPi / 2) << "star " << i;
        if (i > 0) {
            EXPECT_LE(star(i - 1).dec, s.dec) << "declination order broken at star " << i;
        }
        brightest = std::min(brightest, s.mag);
        faintest = std::max(faintest, s.mag);
        const int band = s.mag < -1.0f ? 0 : static_cast<int>(std::floor(s.mag)) + 2;
        ++perMagnitudeBand.at(static_cast<std::size_t>(band));
    }
    EXPECT_EQ(brightest, -1.46f);
    EXPECT_EQ(faintest, 4.99f);
    EXPECT_EQ(perMagnitudeBand[0], 1) << "only Sirius is brighter than -1";
    EXPECT_EQ(perMagnitudeBand[1], 3) << "Canopus, Arcturus and the merged alpha Centauri pair";
    EXPECT_NEAR(radiansTimes180OverPi(star(0).dec), -83.6678, 1e-4);
    EXPECT_NEAR(radiansTimes180OverPi(star(kStarCount - 1).dec), 89.2642, 1e-4);
}

TEST(StarCatalogue, TellingRows)
{
    // Southernmost star.
    const Star south = star(0);
    EXPECT_FLOAT_EQ(south.ra, 3.7826347f);
    EXPECT_FLOAT_EQ(south.dec, -1.4602786f);
    EXPECT_EQ(south.mag, 4.32f);
    EXPECT_FLOAT_EQ(south.sinDec, -0.9938991f);
    EXPECT_NEAR(south.cosDec, 0.1102929, 1e-7);

    // Polaris is the northernmost, alone at or above +89 degrees, at RA 2.5302 h.
    const Star polaris = star(kStarCount - 1);
    EXPECT_EQ(polaris.ra, static_cast<float>(hoursTimesPiOver12(2.5302)));
    EXPECT_EQ(polaris.dec, static_cast<float>(degreesTimesPiOver180(89.2642)));
    EXPECT_EQ(polaris.mag, 2.02f);
    EXPECT_LT(radiansTimes180OverPi(star(kStarCount - 2).dec), 89.0);

    // Sirius is the brightest star.
    int brightestIndex = 0;
    for (int i = 1; i < kStarCount; ++i)
        if (star(i).mag < star(brightestIndex).mag)
            brightestIndex = i;
    const Star s = star(brightestIndex);
    EXPECT_EQ(s.mag, -1.46f);
    EXPECT_EQ(s.ra, static_cast<float>(hoursTimesPiOver12(6.7525)));
    EXPECT_EQ(s.dec, static_cast<float>(degreesTimesPiOver180(-16.7161)));
    EXPECT_FLOAT_EQ(s.sinDec, -0.28762966f);
}

TEST(StarCatalogue, TrigonometricColumnsBelongToTheStoredDeclination)
{
    for (int i = 0; i < kStarCount; ++i) {
        const Star s = star(i);
        expectTrigColumns(s.dec, s.sinDec, s.cosDec, "star " + std::to_string(i));
    }
}

TEST(DeclinationIndex, EveryEntryCountsTheStarsSouthOfItsBandEdge)
{
    for (int k = 0; k < kStarIndexCount; ++k) {
        const double edge = degreesTimesPiOver180(k - 89);
        int south = 0;
        for (int i = 0; i < kStarCount; ++i)
            if (static_cast<double>(star(i).dec) < edge)
                ++south;
        EXPECT_EQ(starpt[k], static_cast<float>(south)) << "entry " << k;
        EXPECT_EQ(starpt[k], std::floor(starpt[k])) << "entry " << k << " is not a whole number";
    }
    EXPECT_EQ(starpt[0], 0.0f);
    EXPECT_EQ(starpt[178], 1600.0f);

    const std::array<float, 15> first{0, 0, 0, 0, 0, 0, 1, 1, 3, 4, 6, 10, 15, 16, 17};
    const std::array<float, 6> last{1597, 1598, 1598, 1600, 1600, 1600};
    for (std::size_t k = 0; k < first.size(); ++k)
        EXPECT_EQ(starpt[k], first[k]) << "entry " << k;
    for (std::size_t k = 0; k < last.size(); ++k)
        EXPECT_EQ(starpt[173 + k], last[k]) << "entry " << 173 + k;
}

struct End {
    float ra, dec, sinDec, cosDec;
};

End segmentEnd(int segment, int end)
{
    const float* r = &linesrd[segment * kLineStride];
    return end == 0 ? End{r[0], r[1], r[4], r[5]} : End{r[2], r[3], r[6], r[7]};
}

TEST(ConstellationSegments, OrderLengthsAndTrigColumns)
{
    static_assert(sizeof(linesrd) == static_cast<std::size_t>(kLineCount) * 32);
    double shortest = 1e9;
    double longest = 0.0;
    int northwards = 0;
    for (int i = 0; i < kLineCount; ++i) {
        const End a = segmentEnd(i, 0);
        const End b = segmentEnd(i, 1);
        if (i > 0) {
            EXPECT_LE(segmentEnd(i - 1, 0).dec, a.dec) << "order broken at segment " << i;
        }
        expectTrigColumns(a.dec, a.sinDec, a.cosDec, "segment " + std::to_string(i) + " end 1");
        expectTrigColumns(b.dec, b.sinDec, b.cosDec, "segment " + std::to_string(i) + " end 2");
        const double length = radiansTimes180OverPi(separation(a.ra, a.dec, b.ra, b.dec));
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
        northwards += a.dec > b.dec ? 1 : 0;
    }
    EXPECT_GT(shortest, 0.1) << "no zero-length segment";
    // The line pass tests only end 1 against 51.43 degrees; end 2 must stay in front of the
    // tangent plane, so a segment may not reach 90 - 51.43 degrees.
    EXPECT_LT(longest, 90.0 - 51.43);
    EXPECT_GT(northwards, 0) << "orientation of the source figures is kept, not normalised";
    EXPECT_LT(northwards, kLineCount);
}

TEST(ConstellationSegments, EndsNearACatalogueStarCoincideWithItBitForBit)
{
    // Catalogue entries closer than 5 arcseconds were merged into one star, so an end that close
    // to a record must be that record. (Some figures end on the fainter, uncatalogued component
    // of a wider double, a few arcseconds from the bright one; that is not a mismatch.)
    const double kMergeRadius = degreesTimesPiOver180(5.0 / 3600.0);
    int coinciding = 0;
    for (int i = 0; i < kLineCount; ++i) {
        for (int e = 0; e < 2; ++e) {
            const End end = segmentEnd(i, e);
            bool exact = false;
            bool near = false;
            for (int s = 0; s < kStarCount; ++s) {
                const Star st = star(s);
                if (std::memcmp(&st.ra, &end.ra, sizeof(float)) == 0 &&
                    std::memcmp(&st.dec, &end.dec, sizeof(float)) == 0 && st.sinDec == end.sinDec &&
                    st.cosDec == end.cosDec)
                    exact = true;
                else if (separation(st.ra, st.dec, end.ra, end.dec) < kMergeRadius)
                    near = true;
            }
            EXPECT_FALSE(near && !exact) << "segment " << i << " end " << e + 1
                                         << " lies next to a catalogue star without matching it";
            coinciding += exact ? 1 : 0;
        }
    }
    // Figures are drawn between bright stars: most ends are catalogue stars.
    EXPECT_GT(coinciding, kLineCount);
    // Both ends of the last segment (in declination order) reach Polaris's neighbourhood.
    const End last = segmentEnd(kLineCount - 1, 1);
    EXPECT_EQ(last.dec, star(kStarCount - 1).dec) << "the northernmost figure ends on Polaris";
}

TEST(NamedStars, RowsAndOrder)
{
    EXPECT_STREQ(starNames[0], "Acamar");
    EXPECT_STREQ(starNames[5], "Alcaid");
    EXPECT_STREQ(starNames[6], "Pleiades");
    EXPECT_STREQ(starNames[7], "Aldebaran");
    EXPECT_STREQ(starNames[64], "Sirius");
    EXPECT_STREQ(starNames[72], "Rigil");

    // Alphabetical apart from the Pleiades and the appended Rigil.
    for (int i = 1; i < kStarNameCount - 1; ++i) {
        if (i == 6 || i == 7)
            continue;
        EXPECT_LT(std::string(starNames[i - 1]), std::string(starNames[i])) << "row " << i;
    }
    EXPECT_LT(std::string(starNames[5]), std::string(starNames[7]));

    // Rigil shares Agena's declination and magnitude at its own right ascension.
    EXPECT_EQ(starNamesP[72 * 3 + 0], 14.6637f);
    EXPECT_EQ(starNamesP[72 * 3 + 1], starNamesP[4 * 3 + 1]);
    EXPECT_EQ(starNamesP[72 * 3 + 2], starNamesP[4 * 3 + 2]);

    // Sirius's row is the catalogue's brightest star.
    EXPECT_EQ(starNamesP[64 * 3 + 0], 6.75247f);
    EXPECT_EQ(starNamesP[64 * 3 + 1], -16.7161f);
    EXPECT_EQ(starNamesP[64 * 3 + 2], -1.46f);

    for (int i = 0; i < kStarNameCount; ++i) {
        EXPECT_GE(starNamesP[i * 3], 0.0f);
        EXPECT_LT(starNamesP[i * 3], 24.0f);
        EXPECT_LE(std::abs(starNamesP[i * 3 + 1]), 90.0f);
    }
}

TEST(NamedStars, EachNamedStarIsACatalogueStar)
{
    // Cross-check of two independent sources: every named row lies on a catalogue star, but the
    // cluster and the two rows of the Centaurus pair: "Agena" stands 0.1 h west of beta Centauri
    // and "Rigil" carries Agena's declination at alpha Centauri's right ascension.
    for (int i = 0; i < kStarNameCount; ++i) {
        const std::string name = starNames[i];
        if (name == "Pleiades" || name == "Rigil" || name == "Agena")
            continue;
        const double ra = hoursTimesPiOver12(starNamesP[i * 3]);
        const double dec = degreesTimesPiOver180(starNamesP[i * 3 + 1]);
        double nearest = 1e9;
        for (int s = 0; s < kStarCount; ++s)
            nearest = std::min(nearest, separation(ra, dec, star(s).ra, star(s).dec));
        EXPECT_LT(radiansTimes180OverPi(nearest), 0.02) << name;
    }
}

TEST(ConstellationLabels, BlankRowAndNumbering)
{
    EXPECT_STREQ(nameConst[5 * 2], "   ");
    EXPECT_STREQ(nameConst[5 * 2 + 1], "        ");
    EXPECT_EQ(posMoyLines[5 * 3 + 0], 0.0f);
    EXPECT_EQ(posMoyLines[5 * 3 + 1], 0.0f);

    for (int row = 0; row < kConstellationCount; ++row) {
        const float expected = static_cast<float>(row <= 5 ? row : row - 1);
        EXPECT_EQ(posMoyLines[row * 3 + 2], expected) << "row " << row;
        EXPECT_EQ(std::strlen(nameConst[row * 2]), 3u) << "row " << row;
        if (row != 5) {
            EXPECT_NE(nameConst[row * 2 + 1][0], ' ') << "row " << row;
        }
    }
    EXPECT_STREQ(nameConst[0 * 2 + 1], "Andromeda");
    EXPECT_STREQ(nameConst[88 * 2], "Aps");
    EXPECT_EQ(posMoyLines[88 * 3 + 1], -78.2811f);
}

} // namespace
} // namespace dazed
