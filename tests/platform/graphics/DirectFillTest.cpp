// The direct fill of small discs must leave exactly the bytes Cairo's own fill leaves: every case
// here draws the same ellipse both ways, on the same background, and compares the pixels.

#include "platform/graphics/DirectFill.h"

#include "tests/support/CairoCoverage.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <numbers>
#include <ostream>
#include <random>
#include <vector>

namespace dazed {

void PrintTo(const FixedPoint& p, std::ostream* os)
{
    *os << "(" << p.x / 256.0 << ", " << p.y / 256.0 << ")";
}

namespace {

// An image surface as a band or a window frame has it: device scale and offset, a cairo_t that
// may translate and clip.
struct CanvasSetup {
    cairo_format_t format{CAIRO_FORMAT_RGB24};
    int width{96};
    int height{80};
    double scale{2.0};
    double offsetX{0.0};
    double offsetY{0.0};
    double translateX{0.0};
    double translateY{0.0};
    bool clip{false};
    CGRect clipRect{};
};

struct Canvas {
    cairo_surface_t* surface;
    cairo_t* cr;

    Canvas(const CanvasSetup& s, unsigned seed)
        : surface(cairo_image_surface_create(s.format, s.width, s.height))
        , cr(nullptr)
    {
        cairo_surface_set_device_scale(surface, s.scale, s.scale);
        cairo_surface_set_device_offset(surface, s.offsetX, s.offsetY);
        // A background of noise, so that every blend of coverage and colour is exercised.
        std::mt19937 noise(seed);
        unsigned char* data = cairo_image_surface_get_data(surface);
        const auto bytes = static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) * s.height;
        for (std::size_t i = 0; i < bytes; ++i)
            data[i] = static_cast<unsigned char>(noise());
        cairo_surface_mark_dirty(surface);
        cr = cairo_create(surface);
        if (s.clip) {
            cairo_rectangle(cr, s.clipRect.minX(), s.clipRect.minY(), s.clipRect.size.width,
                            s.clipRect.size.height);
            cairo_clip(cr);
        }
        cairo_translate(cr, s.translateX, s.translateY);
    }
    ~Canvas()
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    std::vector<unsigned char> bytes()
    {
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        return {data, data + static_cast<std::ptrdiff_t>(cairo_image_surface_get_stride(surface)) *
                                 cairo_image_surface_get_height(surface)};
    }
};

// The ellipse as the drawing context has Cairo fill it when it does not fill directly.
void cairoEllipse(cairo_t* cr, CGRect rect, const CairoPaint::Rgba& colour)
{
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, double{rect.origin.x} + rect.size.width / 2.0,
                    double{rect.origin.y} + rect.size.height / 2.0);
    cairo_scale(cr, rect.size.width / 2.0, rect.size.height / 2.0);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
    cairo_fill(cr);
}

int largestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    int largest = a.size() == b.size() ? 0 : 256;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        largest = std::max(largest, std::abs(int{a[i]} - int{b[i]}));
    return largest;
}

// Fills `rect` both ways on twin canvases; true when the direct fill took it. The bytes must match
// either way: when it declines, it must have drawn nothing.
bool fillsAlike(const CanvasSetup& setup, CGRect rect, const CairoPaint::Rgba& colour, unsigned seed)
{
    Canvas byCairo(setup, seed);
    Canvas direct(setup, seed);
    cairoEllipse(byCairo.cr, rect, colour);
    const std::unique_ptr<DirectFill> fill = DirectFill::over(direct.cr);
    EXPECT_NE(fill, nullptr);
    const bool took = fill && fill->fillEllipse(rect, colour);
    if (!took)
        cairoEllipse(direct.cr, rect, colour);
    EXPECT_EQ(largestDifference(byCairo.bytes(), direct.bytes()), 0)
        << "ellipse " << rect.origin.x << "," << rect.origin.y << " " << rect.size.width << "x"
        << rect.size.height << " scale " << setup.scale << " seed " << seed;
    return took;
}

TEST(EllipseOutline, IsThePolygonCairoFlattensTheArcInto)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> position(-40.0f, 40.0f);
    std::uniform_real_distribution<float> size(0.2f, 40.0f);
    const double scales[] = {1.0, 2.0, 3.0, 1.5};
    const double tolerances[] = {0.1, 0.1, 0.25, 0.05};
    std::vector<FixedPoint> ours;
    for (int i = 0; i < 3000; ++i) {
        DeviceMapping m;
        m.sx = m.sy = scales[i % 4];
        m.dx = (i % 3) * 7.0;
        m.dy = -((i % 5) * 13.0);
        m.tx = (i % 7 == 0) ? 2.5 : 0.0;
        m.ty = (i % 7 == 0) ? -4.0 : 0.0;
        const float w = size(random);
        const float h = i % 9 == 0 ? size(random) : w;
        const CGRect rect = CGRectMake(position(random), position(random), w, h);
        const double tolerance = tolerances[(i / 4) % 4];

        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
        cairo_surface_set_device_scale(surface, m.sx, m.sy);
        cairo_surface_set_device_offset(surface, m.dx, m.dy);
        cairo_t* cr = cairo_create(surface);
        cairo_set_tolerance(cr, tolerance);
        cairo_translate(cr, m.tx, m.ty);
        cairo_save(cr);
        cairo_translate(cr, double{rect.origin.x} + w / 2.0, double{rect.origin.y} + h / 2.0);
        cairo_scale(cr, w / 2.0, h / 2.0);
        cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
        cairo_restore(cr);
        cairo_path_t* flat = cairo_copy_path_flat(cr);
        std::vector<FixedPoint> theirs;
        for (int k = 0; k < flat->num_data; k += flat->data[k].header.length) {
            if (flat->data[k].header.type == CAIRO_PATH_CLOSE_PATH)
                continue;
            // Back from the user space the path is handed out in to Cairo's fixed device space.
            const double x = (flat->data[k + 1].point.x + m.tx) * m.sx + m.dx;
            const double y = (flat->data[k + 1].point.y + m.ty) * m.sy + m.dy;
            const FixedPoint p{static_cast<std::int32_t>(std::nearbyint(x * 256)),
                               static_cast<std::int32_t>(std::nearbyint(y * 256))};
            if (theirs.empty() || theirs.back() != p)
                theirs.push_back(p);
        }
        cairo_path_destroy(flat);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        if (theirs.back() != theirs.front())
            theirs.push_back(theirs.front());

        ellipseOutline(rect, m, tolerance, ours);
        std::vector<FixedPoint> distinct;
        for (FixedPoint p : ours)
            if (distinct.empty() || distinct.back() != p)
                distinct.push_back(p);
        ASSERT_EQ(distinct, theirs) << "case " << i << ": " << w << "x" << h << " at scale " << m.sx;
    }
}

TEST(DirectFill, FillsDiscsWithTheBytesCairoLeaves)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> position(3.0f, 30.0f);
    std::uniform_real_distribution<double> component(0.0, 1.0);
    const float sizes[] = {2.0f, 4.0f, 6.0f, 0.3f, 1.0f, 3.3f, 9.0f, 14.0f};
    int taken = 0;
    for (int i = 0; i < 1600; ++i) {
        CanvasSetup s;
        s.format = i % 2 == 0 ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
        s.scale = i % 3 == 0 ? 1.0 : (i % 3 == 1 ? 2.0 : 3.0);
        s.offsetY = i % 4 == 0 ? -17.0 : 0.0;
        s.translateX = i % 5 == 0 ? 1.25 : 0.0;
        s.translateY = i % 5 == 0 ? -2.0 : 0.0;
        s.width = s.height = static_cast<int>(48 * s.scale);
        const float w = sizes[i % 8];
        const float h = i % 7 == 0 ? w * 1.5f : w;
        const CairoPaint::Rgba colour =
            i % 3 == 0 ? CairoPaint::Rgba{1, 1, 1, 1}
                       : CairoPaint::Rgba{component(random), component(random), component(random), 1.0};
        const CGRect rect = CGRectMake(position(random), position(random) + 8.0f * (i % 4 == 0), w, h);
        taken += fillsAlike(s, rect, colour, static_cast<unsigned>(i));
    }
    // Most of these lie well inside their canvas and are filled directly.
    EXPECT_GT(taken, 1200);
}

TEST(DirectFill, OverlappingDiscsAndClipsStayAsCairoDrawsThem)
{
    CanvasSetup s;
    s.clip = true;
    s.clipRect = CGRectMake(5, 4, 30, 25);
    std::mt19937 random(8);
    std::uniform_real_distribution<float> position(0.0f, 40.0f);
    int taken = 0;
    for (int i = 0; i < 400; ++i) {
        // Discs inside the clip are filled directly; those across its edge go to Cairo, which
        // clips them. Either way the bytes are Cairo's.
        taken += fillsAlike(s, CGRectMake(position(random), position(random), 4, 4), {1, 1, 1, 1},
                            static_cast<unsigned>(i));
    }
    EXPECT_GT(taken, 50);
    EXPECT_LT(taken, 400);

    Canvas byCairo(s, 3);
    Canvas direct(s, 3);
    const std::unique_ptr<DirectFill> fill = DirectFill::over(direct.cr);
    ASSERT_NE(fill, nullptr);
    for (int i = 0; i < 60; ++i) {
        const CGRect rect =
            CGRectMake(10 + (i % 8) * 2.1f, 8 + (i / 8) * 1.7f, 2 + (i % 3) * 2.0f, 2 + (i % 3) * 2.0f);
        cairoEllipse(byCairo.cr, rect, {0.9, 0.8, 1.0, 1.0});
        if (!fill->fillEllipse(rect, {0.9, 0.8, 1.0, 1.0}))
            cairoEllipse(direct.cr, rect, {0.9, 0.8, 1.0, 1.0});
    }
    EXPECT_EQ(largestDifference(byCairo.bytes(), direct.bytes()), 0);
}

TEST(DirectFill, LeavesToCairoWhatItCannotMatch)
{
    CanvasSetup s;
    const CGRect inside = CGRectMake(10, 10, 4, 4);
    const CairoPaint::Rgba white{1, 1, 1, 1};
    const auto declines = [&](const std::function<void(cairo_t*)>& change, CGRect rect,
                              CairoPaint::Rgba colour) {
        Canvas canvas(s, 1);
        const std::vector<unsigned char> before = canvas.bytes();
        const std::unique_ptr<DirectFill> fill = DirectFill::over(canvas.cr);
        if (!fill)
            return false;
        change(canvas.cr);
        const bool took = fill->fillEllipse(rect, colour);
        if (!took) {
            EXPECT_EQ(largestDifference(before, canvas.bytes()), 0) << "drew, though it declined";
        }
        return !took;
    };
    const auto nothing = [](cairo_t*) {
    };
    EXPECT_FALSE(declines(nothing, inside, white));
    EXPECT_TRUE(declines(nothing, inside, {1, 1, 1, 0.5}));
    EXPECT_TRUE(declines(nothing, CGRectMake(-1, 10, 4, 4), white)); // across the surface's edge
    EXPECT_TRUE(declines(nothing, CGRectMake(2, 10, 36, 4), white)); // wider than it fills
    EXPECT_TRUE(declines(nothing, CGRectMake(10, 10, 0, 4), white));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(declines(nothing, CGRectMake(nan, 10, 4, 4), white));
    EXPECT_TRUE(declines(nothing, CGRectMake(10, 10, inf, 4), white));
    EXPECT_TRUE(declines(nothing, CGRectMake(-inf, 10, 4, 4), white));
    EXPECT_TRUE(declines(nothing, CGRectMake(1e30f, 1e30f, 4, 4), white));
    EXPECT_TRUE(declines([](cairo_t* cr) { cairo_set_operator(cr, CAIRO_OPERATOR_XOR); }, inside, white));
    EXPECT_TRUE(
        declines([](cairo_t* cr) { cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD); }, inside, white));
    EXPECT_TRUE(declines([](cairo_t* cr) { cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE); }, inside, white));
    EXPECT_TRUE(declines([](cairo_t* cr) { cairo_scale(cr, 1.5, 1.5); }, inside, white));
    EXPECT_TRUE(declines([](cairo_t* cr) { cairo_translate(cr, 1, 0); }, inside, white));
    EXPECT_TRUE(declines([](cairo_t* cr) { cairo_push_group(cr); }, inside, white));
}

TEST(DirectFill, IsOnlyOfferedOverSurfacesItCanWrite)
{
    const auto offered = [](cairo_surface_t* surface, const std::function<void(cairo_t*)>& prepare) {
        cairo_t* cr = cairo_create(surface);
        prepare(cr);
        const bool result = DirectFill::over(cr) != nullptr;
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return result;
    };
    const auto plain = [](cairo_t*) {
    };
    EXPECT_TRUE(offered(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20), plain));
    EXPECT_TRUE(offered(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 20, 20), plain));
    EXPECT_FALSE(offered(cairo_image_surface_create(CAIRO_FORMAT_A8, 20, 20), plain));
    EXPECT_FALSE(offered(cairo_image_surface_create(CAIRO_FORMAT_RGB16_565, 20, 20), plain));
    EXPECT_FALSE(offered(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr), plain));
    EXPECT_FALSE(offered(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20), [](cairo_t* cr) {
        cairo_arc(cr, 10, 10, 5, 0, 6);
        cairo_clip(cr);
    }));
    EXPECT_FALSE(offered(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20), [](cairo_t* cr) {
        cairo_rectangle(cr, 2.5, 2, 10, 10);
        cairo_clip(cr);
    }));
    EXPECT_FALSE(offered(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20),
                         [](cairo_t* cr) { cairo_rotate(cr, 0.3); }));
    EXPECT_FALSE(offered(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20), [](cairo_t* cr) {
        cairo_rectangle(cr, 30, 30, 5, 5);
        cairo_clip(cr);
    }));
    // A context already in error (a singular matrix).
    EXPECT_FALSE(offered(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20),
                         [](cairo_t* cr) { cairo_scale(cr, 0, 0); }));
    EXPECT_FALSE(DirectFill::over(nullptr));
}

} // namespace
} // namespace dazed

namespace dazed {
namespace {

using testing::cairoCoverage;
using testing::pathJoinsEdges;

TEST(CoverageScanner, MatchesCairoOnAnyPolygonItTakes)
{
    // Random polygons of 3 to 12 points, convex or not, crossing themselves, with runs of equal
    // coordinates, vertical and horizontal edges and points on pixel and grid-row boundaries.
    constexpr int kSize = 40;
    std::mt19937 random(21);
    std::uniform_int_distribution<int> coordinate(2 * 256, (kSize - 2) * 256);
    std::uniform_int_distribution<int> points(3, 12);
    std::uniform_int_distribution<int> kind(0, 5);
    CoverageScanner scanner;
    for (int i = 0; i < 3000; ++i) {
        std::vector<FixedPoint> polygon;
        const int n = points(random);
        for (int k = 0; k < n; ++k) {
            FixedPoint p{coordinate(random), coordinate(random)};
            switch (kind(random)) {
            case 0: // on a pixel boundary
                p.y &= ~255;
                break;
            case 1: // a vertical or horizontal edge from the last point
                if (!polygon.empty())
                    (k % 2 ? p.x : p.y) = (k % 2 ? polygon.back().x : polygon.back().y);
                break;
            case 2: // on a grid row's boundary: 256 / 15 of a pixel apart
                p.y = (p.y / 256) * 256 + (k % 15) * 256 / 15;
                break;
            default:
                break;
            }
            polygon.push_back(p);
        }
        polygon.push_back(polygon.front());
        // Cairo fills a polygon of only level and upright edges as boxes, by another rule; the
        // scan is for curved outlines, which always have slanted edges.
        bool slanted = false;
        for (std::size_t k = 0; k + 1 < polygon.size(); ++k)
            slanted |= polygon[k].x != polygon[k + 1].x && polygon[k].y != polygon[k + 1].y;
        if (!slanted || pathJoinsEdges(polygon))
            continue;
        const std::vector<std::uint8_t> expected = cairoCoverage(polygon, kSize);
        const CoverageMask& mask = scanner.scan(polygon);
        std::vector<std::uint8_t> ours(static_cast<std::size_t>(kSize) * kSize, 0);
        for (int r = 0; r < mask.height; ++r)
            for (int c = 0; c < mask.width; ++c) {
                const int x = mask.left + c;
                const int y = mask.top + r;
                if (x >= 0 && x < kSize && y >= 0 && y < kSize)
                    ours[static_cast<std::size_t>(y * kSize + x)] = mask.row(r)[c];
                else
                    ASSERT_EQ(mask.row(r)[c], 0) << "coverage outside the polygon's pixels";
            }
        ASSERT_EQ(ours, expected) << "polygon " << i << " of " << n << " points";
    }
}

TEST(CoverageScanner, GivesAnEmptyMaskForWhatItDoesNotTake)
{
    CoverageScanner scanner;
    EXPECT_EQ(scanner.scan({}).width, 0);
    const std::vector<FixedPoint> line{{0, 0}, {512, 512}};
    EXPECT_EQ(scanner.scan(line).width, 0);
    const std::vector<FixedPoint> wide{{0, 0}, {300 * 256, 0}, {0, 256}, {0, 0}};
    EXPECT_EQ(scanner.scan(wide).width, 0);
    const std::vector<FixedPoint> far{
        {40000 * 256, 0}, {40001 * 256, 0}, {40000 * 256, 256}, {40000 * 256, 0}};
    EXPECT_EQ(scanner.scan(far).width, 0);
    const std::vector<FixedPoint> negative{
        {-40000 * 256, 0}, {-39999 * 256, 0}, {-40000 * 256, 256}, {-40000 * 256, 0}};
    EXPECT_EQ(scanner.scan(negative).width, 0);
    // A flat polygon covers nothing, and the scanner is fine for the next one.
    const std::vector<FixedPoint> flat{{0, 256}, {2560, 256}, {5120, 256}, {0, 256}};
    const CoverageMask& none = scanner.scan(flat);
    EXPECT_TRUE(std::all_of(none.alpha.begin(), none.alpha.end(), [](std::uint8_t a) { return a == 0; }));
    const std::vector<FixedPoint> square{{256, 256}, {768, 256}, {768, 768}, {256, 768}, {256, 256}};
    const CoverageMask& full = scanner.scan(square);
    EXPECT_EQ(full.row(1 - full.top)[1 - full.left], 255);
}

} // namespace
} // namespace dazed
