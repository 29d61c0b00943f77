#include "UITestSupport.h"
#include "platform/graphics/image/PixelSize.h"
#include "platform/ui/InterfaceLoader.h"

#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

// Counts its frames, each a red square in its corner.
class CountingView : public UIView {
public:
    using UIView::UIView;
    int draws = 0;
    void drawRect(CGRect) override
    {
        ++draws;
        CGContextRef c = UIGraphicsGetCurrentContext();
        CGContextSetRGBFillColor(c, 1, 0, 0, 1);
        CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    }
};

class PlainDelegate : public UIApplicationDelegate {};

std::int64_t pixelsOf(const Image& image)
{
    return std::int64_t{image.pixelWidth()} * image.pixelHeight();
}

TEST(ViewPicture, AnAbsurdFrameGetsACoarserPictureWithinTheLimitsAndKeepsIt)
{
    CountingView view(CGRectMake(0, 0, 100000, 100000));
    const auto& picture = view.updateBackingStore(2.0f);
    ASSERT_TRUE(picture);
    EXPECT_LE(pixelsOf(*picture), kMaxImagePixels + picture->pixelWidth() + picture->pixelHeight() + 1);
    EXPECT_LT(picture->scale(), 2.0f);
    // The picture still covers the frame.
    EXPECT_GE(picture->size().width, 100000.0f);
    EXPECT_EQ(view.draws, 1);
    // The next display cycle finds it up to date: no new picture and no drawing.
    const Image* first = picture.get();
    bool drawn = true;
    EXPECT_EQ(view.updateBackingStore(2.0f, &drawn).get(), first);
    EXPECT_FALSE(drawn);
    EXPECT_EQ(view.draws, 1);
}

TEST(ViewPicture, FramesThatAreNotNumbersGiveOnePixelSides)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (CGSize size : {CGSize{inf, 40}, CGSize{nan, 40}, CGSize{-inf, 40}}) {
        CountingView view;
        view.setFrame({{nan, inf}, size});
        const auto& picture = view.updateBackingStore(2.0f);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->pixelWidth(), 1);
        EXPECT_EQ(picture->pixelHeight(), 80);
        bool drawn = true;
        (void)view.updateBackingStore(2.0f, &drawn);
        EXPECT_FALSE(drawn);
    }
    // A scale that is not a number draws at one pixel a point, once.
    CountingView view(CGRectMake(0, 0, 30, 20));
    EXPECT_EQ(view.updateBackingStore(nan)->pixelWidth(), 30);
    bool drawn = true;
    (void)view.updateBackingStore(nan, &drawn);
    EXPECT_FALSE(drawn);
}

TEST(ViewPicture, TheLargestDescribedViewIsCoveredWithinTheLimits)
{
    ClassRegistry registry;
    registry.registerDelegate<PlainDelegate>("AppDelegate_Phone");
    registry.registerController<UIViewController>("RootViewController");
    auto description = parseInterfaceDescription(
        R"({"delegate": "AppDelegate_Phone", "rootViewController": {"class": "RootViewController",
            "view": {"frame": [-10000, -10000, 10000, 10000], "backgroundColor": "white"}}})",
        "limits.json", registry);
    ASSERT_TRUE(description) << description.error().message;
    const auto view = buildView(*description->rootView, nullptr);
    // The view only shows its colour: no picture, the colour over the picture's size.
    EXPECT_FALSE(view->updateBackingStore(3.0f));
    ASSERT_TRUE(view->solidColour());
    EXPECT_EQ(view->solidColour()->alpha, 1.0f);
    const CGSize covered = view->pictureSize();
    EXPECT_GE(covered.width, 10000.0f) << "the colour covers the whole frame";
    EXPECT_GE(covered.height, 10000.0f);
    const PixelSize pixels = pixelSizeFor(view->frame().size, 3.0f);
    EXPECT_LE(std::int64_t{pixels.width} * pixels.height, kMaxImagePixels + pixels.width + pixels.height + 1);
}

} // namespace
} // namespace dazed
