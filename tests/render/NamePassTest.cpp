#include "RenderTestSupport.h"
#include "render/SkyFrame.h"

#include <gtest/gtest.h>
#include <set>

namespace dazed {
namespace {

std::vector<op::ShowTextAtPoint> textsBetween(const RecordingContext& rec, op::SetRGBFillColor colour)
{
    std::vector<op::ShowTextAtPoint> out;
    bool inside = false;
    for (const DrawOp& o : rec.ops()) {
        if (const auto* c = std::get_if<op::SetRGBFillColor>(&o))
            inside = *c == colour;
        else if (const auto* t = std::get_if<op::ShowTextAtPoint>(&o); t && inside)
            out.push_back(*t);
    }
    return out;
}

const op::SetRGBFillColor kGrey{0.8f, 0.8f, 0.8f, 1};
const op::SetRGBFillColor kGreen{0, 0.8f, 0, 1};

TEST(NamePass, NameCentredOnItsOwnRowSitsOnTheViewCentre)
{
    int sirius = -1;
    for (int i = 0; i < kStarNameCount; ++i)
        if (std::string(starNames[i]) == "Sirius")
            sirius = i;
    ASSERT_GE(sirius, 0);
    auto frame = test::recordFrame(
        {320, 480, starNamesP[sirius * kStarNameStride], starNamesP[sirius * kStarNameStride + 1], 1.0, 1});
    const auto names = textsBetween(frame->rec, kGrey);
    const auto it =
        std::find_if(names.begin(), names.end(), [](const auto& t) { return t.text == "Sirius"; });
    ASSERT_NE(it, names.end());
    EXPECT_EQ(it->x, 160.0f);
    EXPECT_EQ(it->y, 240.0f);
}

TEST(NamePass, FortyFiveDegreeLimit)
{
    const SkyFrame f = makeSkyFrame(nullptr, {.width = 320, .height = 480, .ech = 1.0});
    SkyPoint p;
    EXPECT_TRUE(projectVisibleHoursDegrees(f, 0.0, 44.99, p));
    EXPECT_FALSE(projectVisibleHoursDegrees(f, 0.0, 45.01, p));
    const SkyFrame nanCentre = makeSkyFrame(
        nullptr,
        {.centreHours = std::numeric_limits<double>::quiet_NaN(), .width = 320, .height = 480, .ech = 1.0});
    EXPECT_FALSE(projectVisibleHoursDegrees(nanCentre, 0.0, 0.0, p));
}

TEST(NamePass, BlankRowWritesEightSpacesAtTheCentreOfTheOrigin)
{
    auto frame = test::recordFrame({320, 480, 0, 0});
    const auto labels = textsBetween(frame->rec, kGreen);
    const auto it =
        std::find_if(labels.begin(), labels.end(), [](const auto& t) { return t.text == "        "; });
    ASSERT_NE(it, labels.end());
    EXPECT_EQ(it->x, 160.0f);
    EXPECT_EQ(it->y, 240.0f);
}

TEST(NamePass, AtThePoleEveryRowNorthOf45IsWritten)
{
    for (float ra : {0.0f, 7.3f, 19.0f}) {
        auto frame = test::recordFrame({320, 480, ra, 90, 1.0, 1});
        std::multiset<std::string> expectedStars, expectedLabels, stars, labels;
        for (int i = 0; i < kStarNameCount; ++i)
            if (starNamesP[i * kStarNameStride + 1] > 45.0f)
                expectedStars.insert(starNames[i]);
        for (int i = 0; i < kConstellationCount; ++i)
            if (posMoyLines[i * kConstellationStride + 1] > 45.0f)
                expectedLabels.insert(nameConst[i * 2 + 1]);
        for (const auto& t : textsBetween(frame->rec, kGrey))
            stars.insert(t.text);
        for (const auto& t : textsBetween(frame->rec, kGreen))
            labels.insert(t.text);
        EXPECT_EQ(stars, expectedStars) << ra;
        EXPECT_EQ(labels, expectedLabels) << ra;
        EXPECT_FALSE(labels.empty());
    }
}

TEST(NamePass, WrittenNamesAreThoseWithin45DegreesByBruteForce)
{
    auto frame = test::recordFrame({768, 1024, 17, 31, 1.0, 1});
    std::multiset<std::string> expected, got;
    for (int i = 0; i < kStarNameCount; ++i)
        if (separation(hoursTimesPiOver12(starNamesP[i * 3]), degreesTimesPiOver180(starNamesP[i * 3 + 1]),
                       hoursTimesPiOver12(17), degreesTimesPiOver180(31)) < kPi / 4)
            expected.insert(starNames[i]);
    for (const auto& t : textsBetween(frame->rec, kGrey))
        got.insert(t.text);
    EXPECT_EQ(got, expected);
    // Outlined at line width 0 in the blue of the set-up.
    const auto widths = frame->rec.all<op::SetLineWidth>();
    EXPECT_EQ(widths.at(1).width, 0.0f);
    // No stroke colour is set between the set-up's blue and the ecliptic's dark red.
    EXPECT_EQ(frame->rec.all<op::SetRGBStrokeColor>().at(1), (op::SetRGBStrokeColor{0.4f, 0, 0, 1}));
    EXPECT_EQ(frame->rec.all<op::SelectFont>().back().size, 22.0f);
}

TEST(NamePass, ModeTwoWritesNoNamesButStillSetsTheLabelColour)
{
    auto frame = test::recordFrame({320, 480, 0, 0, 1.0, 2});
    EXPECT_TRUE(textsBetween(frame->rec, kGreen).empty());
    EXPECT_TRUE(textsBetween(frame->rec, kGrey).empty());
    EXPECT_EQ(frame->rec.all<op::SetRGBFillColor>().front(), kGreen);
}

} // namespace
} // namespace dazed
