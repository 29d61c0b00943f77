#include "catalog/FigureMembership.h"

#include "catalog/Catalog.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace dazed {
namespace {

// The abbreviations of the chart's constellation label rows, without the blank row.
std::set<std::string> labelAbbreviations()
{
    std::set<std::string> all;
    for (int row = 0; row < kConstellationCount; ++row) {
        const std::string abbreviation = nameConst[2 * row];
        if (abbreviation.find_first_not_of(' ') != std::string::npos)
            all.insert(abbreviation);
    }
    return all;
}

TEST(FigureMembership, EverySegmentBelongsToALabelledConstellationAndEveryOneHasAFigure)
{
    const auto labelled = labelAbbreviations();
    ASSERT_EQ(labelled.size(), 88u);
    std::map<std::string, int> segmentsPerConstellation;
    for (int i = 0; i < kLineCount; ++i) {
        ASSERT_NE(lineConstellation[i], nullptr) << "segment " << i;
        const std::string abbreviation = lineConstellation[i];
        EXPECT_TRUE(labelled.count(abbreviation)) << "segment " << i << ": " << abbreviation;
        ++segmentsPerConstellation[abbreviation];
    }
    for (const auto& abbreviation : labelled)
        EXPECT_GE(segmentsPerConstellation[abbreviation], 1) << abbreviation << " has no figure";
}

TEST(FigureMembership, SegmentsOfOneConstellationLieTogether)
{
    // No figure is wider than Hydra or Eridanus; a segment filed under the wrong constellation
    // would usually lie far from the rest of its figure. Each segment's first end is within 60
    // degrees of some other segment end of the same constellation, or its figure is one segment.
    constexpr double kDeg = 3.141592653589793 / 180.0;
    for (int i = 0; i < kLineCount; ++i) {
        const float* a = &linesrd[i * kLineStride];
        bool nearSibling = true;
        for (int j = 0; j < kLineCount; ++j) {
            if (j == i || std::string(lineConstellation[j]) != lineConstellation[i])
                continue;
            nearSibling = false;
            const float* b = &linesrd[j * kLineStride];
            const double cosSeparation =
                a[4] * b[4] + a[5] * b[5] * std::cos(static_cast<double>(a[0]) - static_cast<double>(b[0]));
            if (cosSeparation > std::cos(60 * kDeg)) {
                nearSibling = true;
                break;
            }
        }
        EXPECT_TRUE(nearSibling) << "segment " << i << " of " << lineConstellation[i];
    }
}

} // namespace
} // namespace dazed
