#include "UITestSupport.h"
#include "platform/ui/UIViewAnimation.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace dazed {
namespace {

using test::kBlack;
using test::kBlue;
using test::kRed;

float leftEdgeHeight(const FlipFrame& f)
{
    return f.strips.front().dest.size.height;
}
float rightEdgeHeight(const FlipFrame& f)
{
    return f.strips.back().dest.size.height;
}

TEST(FlipGeometry, StartsFlatAndEndsFlatOnTheNewFace)
{
    const CGSize size{320, 480};
    for (auto kind : {UIViewAnimationTransitionFlipFromLeft, UIViewAnimationTransitionFlipFromRight}) {
        // Flat, every strip lands where its columns are, at full height.
        const FlipFrame start = flipFrameAt(kind, 0.0, size, 2.0f);
        EXPECT_FALSE(start.showsNewContent);
        ASSERT_FALSE(start.strips.empty());
        for (const FlipStrip& s : start.strips) {
            EXPECT_NEAR(s.dest.minX(), s.sourceMinX, 1e-3);
            EXPECT_NEAR(s.dest.maxX(), s.sourceMaxX, 1e-3);
            EXPECT_NEAR(s.dest.size.height, 480, 1e-3);
        }
        EXPECT_NEAR(start.strips.back().dest.maxX(), 320, 1e-3);

        // The new face reads left to right: its first source column lands at the left.
        const FlipFrame end = flipFrameAt(kind, 1.0, size, 2.0f);
        EXPECT_TRUE(end.showsNewContent);
        ASSERT_FALSE(end.strips.empty());
        for (const FlipStrip& s : end.strips) {
            EXPECT_NEAR(s.dest.minX(), s.sourceMinX, 1e-3);
            EXPECT_NEAR(s.dest.maxX(), s.sourceMaxX, 1e-3);
            EXPECT_NEAR(s.dest.size.height, 480, 1e-3);
        }
    }
}

TEST(FlipGeometry, NoStripTakesInMoreSourcePixelsThanABandOfTheViewHolds)
{
    // Flat or nearly, the perspective needs few cuts; the strips are still drawn from bands of the
    // view's columns, so none may be wider than kMaxFlipStripSourcePixels.
    for (const float scale : {1.0f, 2.0f, 3.0f})
        for (const double progress : {0.0, 0.001, 0.01, 0.3, 0.99, 1.0}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << ", progress " << progress);
            for (const FlipStrip& s :
                 flipFrameAt(UIViewAnimationTransitionFlipFromLeft, progress, {768, 1024}, scale).strips)
                EXPECT_LE((s.sourceMaxX - s.sourceMinX) * scale, kMaxFlipStripSourcePixels + 1e-3);
        }
}

TEST(FlipGeometry, FlipFromLeftBringsTheLeftEdgeForward)
{
    const CGSize size{320, 480};
    const FlipFrame early = flipFrameAt(UIViewAnimationTransitionFlipFromLeft, 0.25, size, 2.0f);
    EXPECT_FALSE(early.showsNewContent);
    EXPECT_GT(leftEdgeHeight(early), 480.0f) << "the near edge is drawn taller";
    EXPECT_LT(rightEdgeHeight(early), 480.0f);
    // The turning view is narrower than the flat one.
    EXPECT_LT(early.strips.back().dest.maxX() - early.strips.front().dest.minX(), 320.0f);

    // In the second half the card has turned past edge-on: the old left edge, still near, is now
    // on the right, where the new face's right side lies.
    const FlipFrame late = flipFrameAt(UIViewAnimationTransitionFlipFromLeft, 0.75, size, 2.0f);
    EXPECT_TRUE(late.showsNewContent);
    EXPECT_GT(rightEdgeHeight(late), leftEdgeHeight(late));

    const FlipFrame mirror = flipFrameAt(UIViewAnimationTransitionFlipFromRight, 0.25, size, 2.0f);
    EXPECT_GT(rightEdgeHeight(mirror), 480.0f);
    EXPECT_LT(leftEdgeHeight(mirror), 480.0f);
    EXPECT_NEAR(rightEdgeHeight(mirror), leftEdgeHeight(early), 1e-3);
}

TEST(FlipGeometry, HalfWayTheViewIsEdgeOn)
{
    const FlipFrame half = flipFrameAt(UIViewAnimationTransitionFlipFromRight, 0.5, {320, 480}, 2.0f);
    float width = 0;
    for (const auto& s : half.strips)
        width += s.dest.size.width;
    EXPECT_LE(width, 1.0f);
}

TEST(FlipGeometry, StripsTileTheTurnedViewInWholePixelsAndCoverEverySourceColumn)
{
    for (const CGSize size : {CGSize{320, 480}, CGSize{768, 1024}, CGSize{1024, 768}})
        for (const float scale : {1.0f, 1.5f, 2.0f, 3.0f})
            for (auto kind : {UIViewAnimationTransitionFlipFromLeft, UIViewAnimationTransitionFlipFromRight})
                for (double progress = 0.0; progress <= 1.0; progress += 1.0 / 64) {
                    SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " at " << scale
                                                    << ", progress " << progress << ", kind " << kind);
                    const FlipFrame frame = flipFrameAt(kind, progress, size, scale);
                    if (std::abs(progress - 0.5) < 0.01)
                        continue; // edge-on or nearly: less than a pixel wide, or nothing
                    ASSERT_FALSE(frame.strips.empty());
                    // Source columns follow one another from the view's left edge to its right.
                    EXPECT_EQ(frame.strips.front().sourceMinX, 0.0f);
                    EXPECT_EQ(frame.strips.back().sourceMaxX, size.width);
                    for (std::size_t i = 1; i < frame.strips.size(); ++i)
                        ASSERT_EQ(frame.strips[i].sourceMinX, frame.strips[i - 1].sourceMaxX);
                    // On screen each strip is a whole number of pixels wide, at least one, and
                    // meets the next on the same pixel edge: no seam, no pixel drawn twice.
                    std::vector<CGRect> dests;
                    for (const FlipStrip& s : frame.strips) {
                        const double left = s.dest.minX() * scale, right = s.dest.maxX() * scale;
                        EXPECT_NEAR(left, std::nearbyint(left), 1e-3);
                        EXPECT_NEAR(right, std::nearbyint(right), 1e-3);
                        EXPECT_GE(std::nearbyint(right) - std::nearbyint(left), 1.0);
                        dests.push_back(s.dest);
                    }
                    std::sort(dests.begin(), dests.end(),
                              [](const CGRect& a, const CGRect& b) { return a.minX() < b.minX(); });
                    for (std::size_t i = 1; i < dests.size(); ++i)
                        ASSERT_EQ(std::nearbyint(dests[i].minX() * scale),
                                  std::nearbyint(dests[i - 1].maxX() * scale));
                }
}

TEST(FlipGeometry, TheViewsTopAndBottomEdgesStepByAtMostAPixelWhereStripsMeet)
{
    // Turned by up to 45 degrees either way, a strip spans several pixels, so every step between
    // neighbours is one the cuts chose. (Nearer edge-on, a pixel column can take in several cuts.)
    const CGSize size{768, 1024};
    for (const float scale : {1.0f, 2.0f})
        for (const double progress : {0.03, 0.1, 0.25, 0.75, 0.9, 0.97}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << ", progress " << progress);
            const FlipFrame frame =
                flipFrameAt(UIViewAnimationTransitionFlipFromRight, progress, size, scale);
            ASSERT_GT(frame.strips.size(), 1u);
            for (std::size_t i = 1; i < frame.strips.size(); ++i) {
                const CGRect& a = frame.strips[i - 1].dest;
                const CGRect& b = frame.strips[i].dest;
                EXPECT_LE(std::abs(a.minY() - b.minY()) * scale, 1.0 + 1e-3);
                EXPECT_LE(std::abs(a.maxY() - b.maxY()) * scale, 1.0 + 1e-3);
            }
        }
}

TEST(FlipGeometry, OutlandishInputsGiveABoundedFrameOrNone)
{
    const auto kind = UIViewAnimationTransitionFlipFromLeft;
    EXPECT_TRUE(flipFrameAt(kind, std::nan(""), {320, 480}, 2.0f).strips.empty());
    EXPECT_TRUE(flipFrameAt(kind, 0.3, {320, 480}, std::numeric_limits<float>::infinity()).strips.empty());
    EXPECT_TRUE(flipFrameAt(kind, 0.3, {std::numeric_limits<float>::infinity(), 480}, 2.0f).strips.empty());
    EXPECT_TRUE(flipFrameAt(kind, 0.3, {320, 480}, 0.0f).strips.empty());
    // Out of range, a turn is clamped to its ends.
    EXPECT_EQ(flipFrameAt(kind, -4.0, {320, 480}, 2.0f).strips.size(),
              flipFrameAt(kind, 0.0, {320, 480}, 2.0f).strips.size());

    // A view ten million points across is still cut into a bounded number of strips, all of it.
    const FlipFrame huge = flipFrameAt(kind, 0.3, {1e7f, 1e7f}, 4.0f);
    ASSERT_FALSE(huge.strips.empty());
    EXPECT_LE(huge.strips.size(), 40000u);
    EXPECT_EQ(huge.strips.front().sourceMinX, 0.0f);
    EXPECT_EQ(huge.strips.back().sourceMaxX, 1e7f);
}

struct FlipFixture : ::testing::Test {
    test::HeadlessApp app;
    std::shared_ptr<UIView> root = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<UIView> front = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<UIView> back = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));

    void SetUp() override
    {
        front->setBackgroundColor(UIColor(1, 0, 0, 1));
        back->setBackgroundColor(UIColor(0, 0, 1, 1));
        root->addSubview(front);
        app.window->addSubview(root);
        app.loop.display();
    }

    void flip(UIViewAnimationTransition kind, double duration)
    {
        UIView::beginAnimations(nullptr, nullptr);
        UIView::setAnimationDuration(duration);
        UIView::setAnimationTransition(kind, root.get(), true);
        front->removeFromSuperview();
        root->addSubview(back);
        UIView::commitAnimations();
    }
    std::uint32_t pixel(int x, int y) const { return app.host.lastPresented()->pixelAt(x, y); }
};

TEST_F(FlipFixture, ModelChangesAtOnceAndTheViewTurnsForTheDuration)
{
    const double start = app.host.now();
    flip(UIViewAnimationTransitionFlipFromRight, 1.0);
    EXPECT_EQ(back->superview(), root.get()) << "the model changes at once";
    EXPECT_EQ(front->superview(), nullptr);

    app.loop.display(); // the first frame of the flip
    EXPECT_TRUE(UIViewAnimation::shared().isAnimating());
    EXPECT_EQ(pixel(160, 240), kRed) << "the old content shows first";

    int frames = 0;
    bool sawOldFaceTurning = false, sawNewFaceTurning = false;
    while (UIViewAnimation::shared().isAnimating() && frames < 1000) {
        app.loop.step();
        ++frames;
        const double t = app.host.now() - start;
        if (t > 0.2 && t < 0.3) {
            // Turning from the right: the left edge recedes, leaving black at the far left.
            sawOldFaceTurning = pixel(2, 240) == kBlack && pixel(160, 240) == kRed;
        }
        if (t > 0.7 && t < 0.8)
            sawNewFaceTurning = pixel(160, 240) == kBlue && pixel(317, 240) == kBlack;
    }
    const double elapsed = app.host.now() - start;
    EXPECT_NEAR(elapsed, 1.0, 2.0 / 60.0);
    EXPECT_NEAR(frames, 60, 2) << "one frame per display refresh";
    EXPECT_TRUE(sawOldFaceTurning);
    EXPECT_TRUE(sawNewFaceTurning);

    // The end state shows the new content, flat.
    EXPECT_EQ(pixel(160, 240), kBlue);
    EXPECT_EQ(pixel(1, 1), kBlue);
    EXPECT_EQ(pixel(318, 478), kBlue);

    // Idle again: the loop would sleep until the next event.
    const int presented = app.host.presentCount();
    app.loop.display();
    EXPECT_EQ(app.host.presentCount(), presented);
}

TEST_F(FlipFixture, FlipFromLeftUncoversTheRightSideFirst)
{
    flip(UIViewAnimationTransitionFlipFromLeft, 0.5);
    app.loop.display();
    while (app.host.now() < 0.125)
        app.loop.step();
    EXPECT_EQ(pixel(317, 240), kBlack);
    EXPECT_EQ(pixel(160, 240), kRed);
}

TEST_F(FlipFixture, WithoutATransitionOrDurationNothingAnimates)
{
    UIView::beginAnimations();
    UIView::setAnimationDuration(1.0);
    front->setBackgroundColor(UIColor(0, 0, 1, 1));
    UIView::commitAnimations();
    app.loop.display();
    EXPECT_FALSE(UIViewAnimation::shared().isAnimating());
    EXPECT_EQ(pixel(160, 240), kBlue);

    flip(UIViewAnimationTransitionFlipFromLeft, 0.0);
    app.loop.display();
    EXPECT_FALSE(UIViewAnimation::shared().isAnimating());

    // An unbalanced commit is harmless.
    UIView::commitAnimations();
}

} // namespace
} // namespace dazed
