#include "platform/graphics/DirectFill.h"

#include <cmath>

namespace dazed {

namespace {
// Drawing where the ellipse's rectangle comes within this many pixels of the clip's edge is left
// to Cairo: its fill would clip there.
constexpr double kMarginPixels = 2.0;

// The largest ellipse filled here, in pixels each way; larger ones are few and Cairo's own fill
// costs them little more than the scan.
constexpr double kMaxPixels = 64.0;
static_assert(kMaxPixels + 2 * kMarginPixels < CoverageScanner::kMaxSpan);

// A colour component as Cairo keeps it (16 bits, rounded), cut to the 8 bits of a pixel.
std::uint32_t pixelComponent(double c)
{
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(c * 65535.0 + 0.5)) >> 8;
}

// Two 8-bit channels held at bits 0-7 and 16-23, each multiplied by a / 255. Cairo's blend adds
// 127 before dividing, not 128: a product just past a half rounds down.
std::uint32_t scaleChannelPair(std::uint32_t pair, std::uint32_t a)
{
    std::uint32_t t = (pair & 0x00ff00ffu) * a + 0x007f007fu;
    return ((t + ((t >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
}

// Two channel pairs added, each channel saturating at 255.
std::uint32_t addChannelPairs(std::uint32_t p, std::uint32_t q)
{
    std::uint32_t t = p + q;
    t |= 0x01000100u - ((t >> 8) & 0x00ff00ffu);
    return t & 0x00ff00ffu;
}

// `colour` over `pixel` with coverage `a`, rounded per channel the way Cairo blends a span.
std::uint32_t blend(std::uint32_t colour, std::uint32_t a, std::uint32_t pixel)
{
    const std::uint32_t rest = 255 - a;
    return addChannelPairs(scaleChannelPair(colour, a), scaleChannelPair(pixel, rest)) |
           addChannelPairs(scaleChannelPair(colour >> 8, a), scaleChannelPair(pixel >> 8, rest)) << 8;
}

bool sameMatrix(const cairo_matrix_t& m, const DeviceMapping& mapping)
{
    return m.xx == 1.0 && m.yx == 0.0 && m.xy == 0.0 && m.yy == 1.0 && m.x0 == mapping.tx &&
           m.y0 == mapping.ty;
}
} // namespace

std::unique_ptr<DirectFill> DirectFill::over(cairo_t* cr)
{
    if (cr == nullptr || cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    cairo_surface_t* surface = cairo_get_target(cr);
    if (cairo_get_group_target(cr) != surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return nullptr;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24)
        return nullptr;
    if (cairo_image_surface_get_data(surface) == nullptr)
        return nullptr;

    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    DeviceMapping mapping;
    mapping.tx = m.x0;
    mapping.ty = m.y0;
    if (!sameMatrix(m, mapping))
        return nullptr;
    cairo_surface_get_device_scale(surface, &mapping.sx, &mapping.sy);
    cairo_surface_get_device_offset(surface, &mapping.dx, &mapping.dy);

    // The clip, already cut to the surface by Cairo, as one rectangle in user space; a clip
    // of any other shape is not representable so.
    cairo_rectangle_list_t* clip = cairo_copy_clip_rectangle_list(cr);
    const bool oneRectangle = clip->status == CAIRO_STATUS_SUCCESS && clip->num_rectangles == 1;
    PixelBox box;
    if (oneRectangle) {
        const cairo_rectangle_t r = clip->rectangles[0];
        box.left = static_cast<int>(std::ceil((r.x + mapping.tx) * mapping.sx + mapping.dx));
        box.top = static_cast<int>(std::ceil((r.y + mapping.ty) * mapping.sy + mapping.dy));
        box.right = static_cast<int>(std::floor((r.x + r.width + mapping.tx) * mapping.sx + mapping.dx));
        box.bottom = static_cast<int>(std::floor((r.y + r.height + mapping.ty) * mapping.sy + mapping.dy));
    }
    cairo_rectangle_list_destroy(clip);
    if (!oneRectangle)
        return nullptr;
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min(box.right, cairo_image_surface_get_width(surface));
    box.bottom = std::min(box.bottom, cairo_image_surface_get_height(surface));
    if (box.left >= box.right || box.top >= box.bottom)
        return nullptr;
    return std::unique_ptr<DirectFill>(new DirectFill(cr, surface, mapping, box));
}

DirectFill::DirectFill(cairo_t* cr, cairo_surface_t* surface, const DeviceMapping& mapping, PixelBox box)
    : m_cr(cr)
    , m_surface(surface)
    , m_pixels(cairo_image_surface_get_data(surface))
    , m_stride(cairo_image_surface_get_stride(surface))
    , m_mapping(mapping)
    , m_box(box)
{
}

bool DirectFill::contextAllows() const
{
    const cairo_antialias_t antialias = cairo_get_antialias(m_cr);
    if (cairo_get_operator(m_cr) != CAIRO_OPERATOR_OVER ||
        cairo_get_fill_rule(m_cr) != CAIRO_FILL_RULE_WINDING || antialias == CAIRO_ANTIALIAS_NONE ||
        antialias == CAIRO_ANTIALIAS_FAST || cairo_get_target(m_cr) != m_surface ||
        cairo_get_group_target(m_cr) != m_surface)
        return false;
    cairo_matrix_t m;
    cairo_get_matrix(m_cr, &m);
    return sameMatrix(m, m_mapping);
}

bool DirectFill::fillEllipse(CGRect rect, const CairoPaint::Rgba& colour)
{
    if (!(colour.alpha >= 1.0) || !contextAllows())
        return false;
    const DeviceMapping& d = m_mapping;
    const double left = (double{rect.minX()} + d.tx) * d.sx + d.dx;
    const double top = (double{rect.minY()} + d.ty) * d.sy + d.dy;
    const double right = (double{rect.maxX()} + d.tx) * d.sx + d.dx;
    const double bottom = (double{rect.maxY()} + d.ty) * d.sy + d.dy;
    // Written so that NaN fails every test.
    if (!(left - kMarginPixels >= m_box.left && top - kMarginPixels >= m_box.top &&
          right + kMarginPixels <= m_box.right && bottom + kMarginPixels <= m_box.bottom &&
          right - left <= kMaxPixels && bottom - top <= kMaxPixels && right > left && bottom > top))
        return false;

    ellipseOutline(rect, m_mapping, cairo_get_tolerance(m_cr), m_outline);
    const CoverageMask& mask = m_scanner.scan(m_outline);
    if (mask.width == 0)
        return false;

    const std::uint32_t pixel = 0xff000000u | pixelComponent(colour.red) << 16 |
                                pixelComponent(colour.green) << 8 | pixelComponent(colour.blue);
    // The pixels are written behind Cairo's back: it is told before and after, so that nothing it
    // keeps of the surface (a snapshot taken as a pattern's source) sees the change half made.
    cairo_surface_flush(m_surface);
    for (int r = 0; r < mask.height; ++r) {
        const std::uint8_t* coverage = mask.row(r);
        auto* row =
            reinterpret_cast<std::uint32_t*>(m_pixels + static_cast<std::ptrdiff_t>(mask.top + r) * m_stride);
        for (int c = 0; c < mask.width; ++c) {
            const std::uint32_t a = coverage[c];
            if (a == 0)
                continue;
            std::uint32_t& p = row[mask.left + c];
            p = a == 255 ? pixel : blend(pixel, a, p);
        }
    }
    cairo_surface_mark_dirty_rectangle(m_surface, mask.left, mask.top, mask.width, mask.height);
    return true;
}

} // namespace dazed
