#include "platform/graphics/image/RasterSurface.h"
#include "tests/support/ScratchFolder.h"

#include <cmath>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <fstream>
#include <gtest/gtest.h>

namespace dazed {
namespace {

constexpr Rgba8 kBlack{0, 0, 0, 255};
constexpr Rgba8 kWhite{255, 255, 255, 255};

bool inked(Rgba8 p)
{
    return p.alpha > 0 && (p.red > 64 || p.green > 64 || p.blue > 64);
}

TEST(CairoContext, ClearShowsBlackAndFillsUseTheFillColour)
{
    RasterSurface img(40, 30, 1.0);
    ASSERT_TRUE(img.ok());
    CGContextRef c = img.context();
    EXPECT_EQ(img.pixelAtPoint(1, 1).alpha, 0);
    CGContextClearRect(c, CGRectMake(0, 0, 40, 30));
    EXPECT_EQ(img.pixelAtPoint(1, 1), kBlack);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(10, 10, 10, 10));
    EXPECT_EQ(img.pixelAtPoint(15, 15), (Rgba8{255, 0, 0, 255}));
    EXPECT_EQ(img.pixelAtPoint(25, 15), kBlack);
    // The ellipse is inscribed: its centre is filled, the rectangle's corner is not.
    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    CGContextFillEllipseInRect(c, CGRectMake(20, 0, 20, 20));
    EXPECT_EQ(img.pixelAtPoint(30, 10), kWhite);
    EXPECT_EQ(img.pixelAtPoint(20.5f, 0.5f), kBlack);
    // Degenerate ellipses draw nothing and leave the context usable.
    CGContextFillEllipseInRect(c, CGRectMake(0, 0, 0, 0));
    CGContextFillRect(c, CGRectMake(0, 25, 5, 5));
    EXPECT_EQ(img.pixelAtPoint(2, 27), kWhite);
}

TEST(CairoContext, LineWidthZeroIsOneDevicePixelAtEveryDensity)
{
    for (double scale : {1.0, 2.0, 3.0}) {
        RasterSurface img(40, 30, scale);
        CGContextRef c = img.context();
        CGContextClearRect(c, CGRectMake(0, 0, 40, 30));
        CGContextSetRGBStrokeColor(c, 1, 1, 1, 1);
        CGContextSetLineWidth(c, 0);
        // The line runs along the middle of pixel row 20, whatever the density.
        const float y = static_cast<float>(20.5 / scale);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, 0, y);
        CGContextAddLineToPoint(c, 40, y);
        CGContextStrokePath(c);
        EXPECT_EQ(img.pixel(10, 20), kWhite) << scale;
        EXPECT_EQ(img.pixel(10, 19), kBlack) << scale;
        EXPECT_EQ(img.pixel(10, 21), kBlack) << scale;
    }
}

TEST(CairoContext, PathSurvivesOtherCallsAndSegmentsStaySeparate)
{
    RasterSurface img(40, 30, 1.0);
    CGContextRef c = img.context();
    CGContextClearRect(c, CGRectMake(0, 0, 40, 30));
    CGContextSetRGBStrokeColor(c, 0, 1, 0, 1);
    CGContextSetLineWidth(c, 2);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, 0, 5);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(30, 20, 5, 5));
    CGContextAddLineToPoint(c, 40, 5);
    CGContextStrokePath(c);
    EXPECT_EQ(img.pixelAtPoint(20, 5), (Rgba8{0, 255, 0, 255}));
    EXPECT_EQ(img.pixelAtPoint(32, 22), (Rgba8{255, 0, 0, 255}));

    const CGPoint pts[] = {{0, 15}, {10, 15}, {20, 15}, {30, 15}};
    CGContextStrokeLineSegments(c, pts, 4);
    EXPECT_EQ(img.pixelAtPoint(5, 15), (Rgba8{0, 255, 0, 255}));
    EXPECT_EQ(img.pixelAtPoint(15, 15), kBlack);
    EXPECT_EQ(img.pixelAtPoint(25, 15), (Rgba8{0, 255, 0, 255}));
}

TEST(CairoContext, CurvesFollowTheirControlPointsAndNeedAStart)
{
    RasterSurface img(40, 30, 1.0);
    CGContextRef c = img.context();
    CGContextClearRect(c, CGRectMake(0, 0, 40, 30));
    CGContextSetRGBStrokeColor(c, 1, 1, 1, 1);
    CGContextSetLineWidth(c, 2);
    // A curve without a current point is ignored; NaN control points too.
    CGContextBeginPath(c);
    CGContextAddCurveToPoint(c, 0, 0, 40, 0, 40, 30);
    CGContextMoveToPoint(c, 4, 28);
    CGContextAddCurveToPoint(c, 4, 28, std::nanf(""), 0, 36, 28);
    // From (4, 28) pulled up by (4, 4) and (36, 4) to (36, 28): its middle is at (20, 10),
    // (28 + 3 * 4 + 3 * 4 + 28) / 8 for y, as the Bezier weights at one half give it.
    CGContextAddCurveToPoint(c, 4, 4, 36, 4, 36, 28);
    CGContextStrokePath(c);
    EXPECT_EQ(img.pixelAtPoint(20, 10), kWhite);
    EXPECT_EQ(img.pixelAtPoint(20, 20), kBlack); // the chord is not drawn
    EXPECT_EQ(img.pixelAtPoint(20, 28), kBlack);
}

// Rows of the image holding any ink, and the ink width of a row.
struct Ink {
    int top{-1};
    int bottom{-1};
};

Ink inkRows(const RasterSurface& img)
{
    Ink ink;
    for (int y = 0; y < img.pixelHeight(); ++y)
        for (int x = 0; x < img.pixelWidth(); ++x)
            if (inked(img.pixel(x, y))) {
                if (ink.top < 0)
                    ink.top = y;
                ink.bottom = y;
            }
    return ink;
}

int inkWidth(const RasterSurface& img, int y)
{
    int n = 0;
    for (int x = 0; x < img.pixelWidth(); ++x)
        n += inked(img.pixel(x, y)) ? 1 : 0;
    return n;
}

void showT(RasterSurface& img, CGAffineTransform matrix)
{
    CGContextRef c = img.context();
    CGContextClearRect(c, CGRectMake(0, 0, 60, 100));
    CGContextSelectFont(c, "Helvetica", 40, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextFill);
    CGContextSetTextMatrix(c, matrix);
    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    CGContextShowTextAtPoint(c, 10, 50, "T", 1);
}

TEST(CairoContext, FlippedTextMatrixStandsGlyphsUprightOnTheBaseline)
{
    RasterSurface img(60, 100, 1.0);
    showT(img, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    const Ink ink = inkRows(img);
    ASSERT_GE(ink.top, 0);
    // The glyph rises from the baseline at y = 50, and its bar is at the top.
    EXPECT_LE(ink.bottom, 50);
    EXPECT_LT(ink.top, 30);
    EXPECT_GT(inkWidth(img, ink.top + 1), 2 * inkWidth(img, ink.bottom - 1));

    // The unflipped matrix hangs the glyph upside down below the baseline, as on a flipped view.
    showT(img, CGAffineTransformMake(1, 0, 0, 1, 0, 0));
    const Ink hanging = inkRows(img);
    EXPECT_GE(hanging.top, 49);
    EXPECT_GT(inkWidth(img, hanging.bottom - 1), 2 * inkWidth(img, hanging.top + 1));
}

TEST(CairoContext, FillStrokeTextFillsAndOutlinesInTheirColours)
{
    RasterSurface img(60, 100, 1.0);
    CGContextRef c = img.context();
    CGContextClearRect(c, CGRectMake(0, 0, 60, 100));
    CGContextSelectFont(c, "Helvetica", 60, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextFillStroke);
    CGContextSetTextMatrix(c, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextSetRGBStrokeColor(c, 0, 0, 1, 1);
    CGContextSetLineWidth(c, 3);
    // A MacRoman bullet (0xA5): a filled disc, so the fill shows inside the outline.
    CGContextShowTextAtPoint(c, 5, 70, "\xA5", 1);
    int red = 0;
    int blue = 0;
    for (int y = 0; y < img.pixelHeight(); ++y)
        for (int x = 0; x < img.pixelWidth(); ++x) {
            const Rgba8 p = img.pixel(x, y);
            red += (p.red > 200 && p.blue < 50) ? 1 : 0;
            blue += (p.blue > 200 && p.red < 50) ? 1 : 0;
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(blue, 10);
}

TEST(CairoContext, RepeatedTextFollowsTheCurrentColoursAndPlace)
{
    RasterSurface img(60, 100, 2.0);
    showT(img, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    const Ink first = inkRows(img);
    CGContextRef c = img.context();
    CGContextClearRect(c, CGRectMake(0, 0, 60, 100));
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextShowTextAtPoint(c, 10, 50, "T", 1);
    const Ink again = inkRows(img);
    EXPECT_EQ(again.top, first.top);
    EXPECT_EQ(again.bottom, first.bottom);
    // The bar of the T, now red.
    EXPECT_EQ(img.pixel(2 * 10 + 12, first.top + 3), (Rgba8{255, 0, 0, 255}));
    // The same text 10 points lower.
    CGContextClearRect(c, CGRectMake(0, 0, 60, 100));
    CGContextShowTextAtPoint(c, 10, 60, "T", 1);
    EXPECT_EQ(inkRows(img).top, first.top + 20);
}

TEST(CairoContext, TextInManyColoursOutlivesTheCacheStartingAfresh)
{
    // Each colour makes new cached glyphs; past the cache's bound it starts afresh mid-run.
    RasterSurface img(400, 40, 1.0);
    CGContextRef c = img.context();
    CGContextSelectFont(c, "Helvetica", 12, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextFillStroke);
    CGContextSetTextMatrix(c, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    CGContextSetRGBStrokeColor(c, 0, 0, 1, 1);
    CGContextSetLineWidth(c, 0);
    const char text[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz";
    for (int i = 0; i < 25; ++i) {
        CGContextClearRect(c, CGRectMake(0, 0, 400, 40));
        CGContextSetRGBFillColor(c, 1, static_cast<float>(i) / 25.0f, 0, 1);
        CGContextShowTextAtPoint(c, 5, 30, text, sizeof text - 1);
        ASSERT_GT(inkRows(img).top, 0) << i;
    }
}

TEST(CairoContext, TextOfNothingOrWithoutFontDrawsNothing)
{
    RasterSurface img(60, 100, 1.0);
    CGContextRef c = img.context();
    CGContextClearRect(c, CGRectMake(0, 0, 60, 100));
    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    CGContextShowTextAtPoint(c, 10, 50, "T", 1);
    CGContextSelectFont(c, "Helvetica", 40, kCGEncodingMacRoman);
    CGContextShowTextAtPoint(c, 10, 50, "T", 0);
    EXPECT_EQ(inkRows(img).top, -1);
}

// A machine without the font packages (or with a broken font set-up) still gets its names drawn:
// fontconfig finds nothing and Cairo falls back to its built-in face.
TEST(CairoContext, WithoutAnyInstalledFontTheNamesAreStillDrawn)
{
    const test::ScratchFolder scratch;
    const auto config = scratch / "no-fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    const char* saved = std::getenv("FONTCONFIG_FILE");
    const std::string savedValue = saved ? saved : "";
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    ASSERT_TRUE(FcInitReinitialize());
    FcFontSet* fonts = FcConfigGetFonts(nullptr, FcSetSystem);
    EXPECT_TRUE(!fonts || fonts->nfont == 0) << "the empty set-up lists no fonts";

    RasterSurface img(200, 100, 1.0);
    CGContextRef c = img.context();
    CGContextClearRect(c, CGRectMake(0, 0, 200, 100));
    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    CGContextSelectFont(c, "Helvetica", 22, kCGEncodingMacRoman);
    CGContextShowTextAtPoint(c, 10, 50, "Vega", 4);
    const Ink ink = inkRows(img);

    if (saved)
        setenv("FONTCONFIG_FILE", savedValue.c_str(), 1);
    else
        unsetenv("FONTCONFIG_FILE");
    FcInitReinitialize();
    EXPECT_GT(ink.top, 0) << "the name is drawn in a fallback face";
    EXPECT_GT(ink.bottom - ink.top, 8) << "at about its size";
}

} // namespace
} // namespace dazed
