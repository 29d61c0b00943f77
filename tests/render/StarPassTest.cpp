#include "render/StarPass.h"

#include "RenderTestSupport.h"
#include "render/Passes.h"
#include "render/SkyFrame.h"

#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <vector>

namespace dazed {
namespace {

double decDegreesOf(int i)
{
    return radiansTimes180OverPi(starrd[i * kStarStride + 1]);
}

TEST(StarPass, DiscSizesAtTheMagnitudeBoundaries)
{
    EXPECT_EQ(discWidth(4.0f), 4.0f);
    EXPECT_EQ(discWidth(4.01f), 2.0f);
    EXPECT_EQ(discWidth(2.0f), 6.0f);
    EXPECT_EQ(discWidth(2.01f), 4.0f);
    EXPECT_EQ(discWidth(-1.46f), 6.0f);
}

TEST(StarPass, BandStartIsClampedAndNeverConvertsANonFiniteValue)
{
    EXPECT_EQ(starBandStart(31.0), 76);
    EXPECT_EQ(starBandStart(0.0), 45);
    EXPECT_EQ(starBandStart(-89.0), 0);
    EXPECT_EQ(starBandStart(89.0), 134);
    EXPECT_EQ(starBandStart(4.4953), 49);
    EXPECT_EQ(starBandStart(1000.0), 178);
    EXPECT_EQ(starBandStart(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(starBandStart(std::numeric_limits<double>::infinity()), 178);
    EXPECT_EQ(starBandStart(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(starBand(-89.0).first, 0);
    // Nothing lies more than 45 degrees north of +89: the band runs to the last star.
    EXPECT_EQ(starBand(89.0).last, kStarCount - 1);
}

// First star at or north of `degrees`, and first star north of `limitDegrees`, by scanning.
int firstAtOrNorthOf(double degrees)
{
    for (int i = 0; i < kStarCount; ++i)
        if (decDegreesOf(i) >= degrees - 1e-9)
            return i;
    return kStarCount;
}

struct Expected {
    int first, last, drawn;
};

Expected bruteForceBand(double raHours, double decDegrees)
{
    const int k = std::clamp(static_cast<int>(decDegrees - 45.0 + 90.0), 0, 178);
    Expected e{};
    e.first = firstAtOrNorthOf(k - 89.0);
    e.last = kStarCount - 1;
    for (int i = e.first; i < kStarCount; ++i)
        if (decDegreesOf(i) > decDegrees + 45.0) {
            e.last = i;
            break;
        }
    const double limit = std::acos(0.7);
    for (int i = e.first; i <= e.last; ++i)
        if (separation(starrd[i * kStarStride], starrd[i * kStarStride + 1], hoursTimesPiOver12(raHours),
                       degreesTimesPiOver180(decDegrees)) < limit)
            ++e.drawn;
    return e;
}

TEST(StarPass, VisitedAndDrawnStarsMatchABruteForceCount)
{
    struct Centre {
        float ra, dec;
    };
    for (Centre c : {Centre{17, 31}, Centre{0, 0}, Centre{6.75f, -16.7f}, Centre{12, 89}, Centre{3, -89}}) {
        const Expected e = bruteForceBand(c.ra, c.dec);
        const StarBand band = starBand(c.dec);
        EXPECT_EQ(band.first, e.first) << c.dec;
        EXPECT_EQ(band.last, e.last) << c.dec;
        auto frame = test::recordFrame({320, 480, c.ra, c.dec});
        EXPECT_EQ(static_cast<int>(frame->rec.all<op::FillEllipseInRect>().size()), e.drawn)
            << c.ra << " " << c.dec;
        std::cout << "[ info ] centre " << c.ra << " h " << c.dec << " deg: visits "
                  << band.last - band.first + 1 << " stars from " << band.first << ", draws " << e.drawn
                  << "\n";
    }
}

TEST(StarPass, TheBandEndsAtTheFirstStarBeyondItsNorthLimitForEveryCentre)
{
    // The end is found by halves; a scan from the band's first star is the reference, including
    // centres whose limit lies between two stars of equal declination and beyond the catalogue.
    auto scannedLast = [](const StarBand& band, double centreDegrees) {
        const double limit = degreesTimesPiOver180(centreDegrees) + kLabelLimit;
        for (int i = band.first; i < kStarCount; ++i)
            if (double{starrd[i * kStarStride + 1]} > limit)
                return i;
        return kStarCount - 1;
    };
    std::vector<double> centres;
    for (int tenth = -950; tenth <= 950; ++tenth)
        centres.push_back(tenth / 10.0);
    // Centres whose limit falls exactly on a star's declination.
    for (int i = 0; i < kStarCount; i += 7)
        centres.push_back(decDegreesOf(i) - radiansTimes180OverPi(kLabelLimit));
    centres.push_back(std::numeric_limits<double>::quiet_NaN());
    centres.push_back(std::numeric_limits<double>::infinity());
    centres.push_back(-std::numeric_limits<double>::infinity());
    for (double dec : centres) {
        const StarBand band = starBand(dec);
        EXPECT_EQ(band.last, scannedLast(band, dec)) << dec;
    }
}

TEST(StarPass, AStarJustSouthOfTheBandIsNotDrawn)
{
    // The centre 2.97103 h, +4.4953 deg starts the band at -40 deg; the bright star at
    // 2.97103 h, -40.3047 deg is 44.8 deg away, inside the drawing circle, but never visited.
    int star = -1;
    for (int i = 0; i < kStarCount; ++i)
        if (std::abs(decDegreesOf(i) + 40.3047) < 0.01 &&
            std::abs(starrd[i * kStarStride] - hoursTimesPiOver12(2.97103)) < 0.001)
            star = i;
    ASSERT_GE(star, 0);
    EXPECT_LT(star, starBand(4.4953).first);
    const double sep = separation(starrd[star * kStarStride], starrd[star * kStarStride + 1],
                                  hoursTimesPiOver12(2.97103), degreesTimesPiOver180(4.4953));
    EXPECT_LT(std::cos(sep), 0.71);
    EXPECT_GT(std::cos(sep), 0.70);
    auto frame = test::recordFrame({320, 480, 2.97103f, 4.4953f});
    const float expectedY = static_cast<float>(240.0 + 300.0 * std::tan(sep));
    for (const auto& disc : frame->rec.all<op::FillEllipseInRect>())
        EXPECT_GT(std::abs(disc.rect.center().y - expectedY), 1.0f);
}

TEST(StarPass, BrightestStarAtTheCentreGetsASixPointDiscWhateverTheZoom)
{
    int brightest = 0;
    for (int i = 0; i < kStarCount; ++i)
        if (starrd[i * kStarStride + 2] < starrd[brightest * kStarStride + 2])
            brightest = i;
    for (double ech : {1.0, 2.0, 3.0}) {
        // Centred on the star to the last bit of its stored position.
        RecordingContext rec;
        starDiscPass(
            makeSkyFrame(&rec, {.centreHours = radiansTimes12OverPi(starrd[brightest * kStarStride]),
                                .centreDegrees = radiansTimes180OverPi(starrd[brightest * kStarStride + 1]),
                                .width = 320,
                                .height = 480,
                                .ech = ech}));
        const auto discs = rec.all<op::FillEllipseInRect>();
        const auto atCentre =
            std::count(discs.begin(), discs.end(), op::FillEllipseInRect{CGRectMake(157, 237, 6, 6)});
        EXPECT_EQ(atCentre, 1) << ech;
        for (const auto& d : discs) {
            EXPECT_TRUE(d.rect.size.width == 2 || d.rect.size.width == 4 || d.rect.size.width == 6);
            EXPECT_EQ(d.rect.size.width, d.rect.size.height);
        }
        // White, then only discs.
        EXPECT_EQ(std::get<op::SetRGBFillColor>(rec.ops().at(0)), (op::SetRGBFillColor{1, 1, 1, 1}));
        EXPECT_EQ(discs.size(), rec.ops().size() - 1);
    }
}

TEST(StarPass, DiscsComeAfterTheReadoutPanelInTheFrame)
{
    auto frame = test::recordFrame({320, 480, 17, 31});
    const auto& ops = frame->rec.ops();
    std::size_t panel = 0;
    std::size_t firstDisc = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (std::holds_alternative<op::FillRect>(ops[i]))
            panel = i;
        if (!firstDisc && std::holds_alternative<op::FillEllipseInRect>(ops[i]))
            firstDisc = i;
    }
    ASSERT_GT(firstDisc, 0u);
    EXPECT_LT(panel, firstDisc);
    EXPECT_EQ(std::get<op::SetRGBFillColor>(ops[firstDisc - 1]), (op::SetRGBFillColor{1, 1, 1, 1}));
}

} // namespace
} // namespace dazed
