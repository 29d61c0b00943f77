#include "RenderTestSupport.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using test::makeView;

TEST(Commands, NewViewStartsAtZero)
{
    auto view = std::make_shared<QuartzView>(CGRectMake(0, 0, 320, 480));
    const auto& f = view->fields();
    EXPECT_EQ(f.wLN, 0);
    EXPECT_FALSE(f.wSN);
    EXPECT_EQ(f.ech, 0.0);
    EXPECT_EQ(f.largeur, 0.0f);
    EXPECT_EQ(f.nblines, 0);
    EXPECT_EQ(f.cgContext1, nullptr);
    EXPECT_FALSE(view->needsDisplay());
}

TEST(Commands, LabelModeCyclesOneTwoZero)
{
    auto view = std::make_shared<QuartzView>(CGRectMake(0, 0, 320, 480));
    view->writeStarNames();
    EXPECT_EQ(view->fields().wLN, 1);
    EXPECT_TRUE(view->fields().wSN);
    view->writeStarNames();
    EXPECT_EQ(view->fields().wLN, 2);
    EXPECT_FALSE(view->fields().wSN);
    view->writeStarNames();
    EXPECT_EQ(view->fields().wLN, 0);
    EXPECT_FALSE(view->fields().wSN);
    view->writeStarNames();
    EXPECT_EQ(view->fields().wLN, 1);
}

TEST(Commands, EveryCommandRequestsARedrawEvenWithoutChange)
{
    auto view = test::makeView({});
    EXPECT_TRUE(view->needsDisplay());
    EXPECT_TRUE(view->displayIfNeeded());
    EXPECT_FALSE(view->needsDisplay());

    view->setEch(view->fields().ech);
    EXPECT_TRUE(view->displayIfNeeded());
    view->writexs(static_cast<float>(xs1), static_cast<float>(ys1), view->fields().largeur,
                  view->fields().hauteur);
    EXPECT_TRUE(view->displayIfNeeded());
    view->writeStarNames();
    EXPECT_TRUE(view->displayIfNeeded());
    EXPECT_FALSE(view->displayIfNeeded());
}

TEST(Commands, WritexsStoresSizeAndWidenedCentreUnclamped)
{
    auto view = std::make_shared<QuartzView>(CGRectMake(0, 0, 320, 480));
    view->writexs(25.3f, -97.5f, 1024, 768);
    EXPECT_EQ(view->fields().largeur, 1024.0f);
    EXPECT_EQ(view->fields().hauteur, 768.0f);
    EXPECT_EQ(xs1, double{25.3f});
    EXPECT_EQ(ys1, -97.5);
    view->setEch(2.5);
    EXPECT_EQ(view->fields().ech, 2.5);
}

// The font sizes the text operations select, in order, for a frame of the given width.
std::vector<float> fontSizesOf(float width, bool fourteen, const char* text)
{
    auto frame = test::recordFrame({width, 480});
    frame->rec.clear();
    if (fourteen)
        frame->view->drawText14(&frame->rec, 5, 6, text);
    else
        frame->view->drawText(&frame->rec, 5, 6, text);
    std::vector<float> sizes;
    for (const auto& f : frame->rec.all<op::SelectFont>()) {
        EXPECT_EQ(f.name, "Helvetica");
        EXPECT_EQ(f.encoding, kCGEncodingMacRoman);
        sizes.push_back(f.size);
    }
    return sizes;
}

TEST(TextOperations, SizesFollowTheScreenClass)
{
    EXPECT_EQ(fontSizesOf(320, false, "x"), (std::vector<float>{12}));
    EXPECT_EQ(fontSizesOf(320, true, "x"), (std::vector<float>{14}));
    EXPECT_EQ(fontSizesOf(1024, false, "x"), (std::vector<float>{12, 22}));
    EXPECT_EQ(fontSizesOf(1024, true, "x"), (std::vector<float>{14, 22}));
}

TEST(TextOperations, SetModeAndMatrixThenShowTheBytes)
{
    auto frame = test::recordFrame({});
    frame->rec.clear();
    frame->view->drawText(&frame->rec, 5.5f, 6.25f, "GC");
    const auto& ops = frame->rec.ops();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(std::get<op::SetTextDrawingMode>(ops[1]).mode, kCGTextFillStroke);
    EXPECT_EQ(std::get<op::SetTextMatrix>(ops[2]).matrix, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    EXPECT_EQ(std::get<op::ShowTextAtPoint>(ops[3]), (op::ShowTextAtPoint{5.5f, 6.25f, "GC"}));

    // An empty string is still passed, with length 0.
    frame->rec.clear();
    frame->view->drawText14(&frame->rec, 1, 2, "");
    const auto shown = frame->rec.all<op::ShowTextAtPoint>();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.size(), 0u);
}

} // namespace
} // namespace dazed
