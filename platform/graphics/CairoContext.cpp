#include "platform/graphics/CairoContext.h"

#include "platform/graphics/CairoHandles.h"
#include "platform/graphics/FontLookup.h"
#include "platform/graphics/MacRoman.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <unordered_map>

namespace dazed {

namespace {
bool finite(float v)
{
    return std::isfinite(v);
}

bool finiteRect(CGRect r)
{
    return finite(r.origin.x) && finite(r.origin.y) && finite(r.size.width) && finite(r.size.height);
}

double unit(float component)
{
    if (!(component > 0.0f))
        return 0.0;
    return component < 1.0f ? double{component} : 1.0;
}
} // namespace

struct CairoContext::TextCache {
    // One shown text as device pixels: fill and outline over transparency, placed with its
    // baseline origin at (-left, -top) of the image.
    struct Entry {
        CairoSurfacePtr image; // null for text that covers nothing (spaces)
        int left{0};
        int top{0};
        int width{0};
        int height{0};
    };
    // Enough for every name of a frame several times over; the cache starts afresh beyond it.
    static constexpr std::size_t kMaxEntries = 1024;
    // Text larger than this (in pixels) is drawn directly.
    static constexpr long kMaxPixels = 4L * 1024 * 1024;
    std::unordered_map<std::string, Entry> entries;
};

CairoContext::CairoContext(cairo_t* cr, ClearMode clearMode)
    : m_cr(cr)
    , m_clearMode(clearMode)
    , m_textCache(std::make_unique<TextCache>())
{
}

CairoContext::~CairoContext() = default;

void CairoContext::clearRect(CGRect rect)
{
    if (!finiteRect(rect))
        return;
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    if (m_clearMode == ClearMode::Black) {
        // An opaque view has no transparent pixels: what is cleared shows black.
        cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(m_cr, 0.0, 0.0, 0.0, 1.0);
    } else {
        cairo_set_operator(m_cr, CAIRO_OPERATOR_CLEAR);
    }
    cairo_fill(m_cr);
    cairo_restore(m_cr);
}

void CairoContext::fillRect(CGRect rect)
{
    if (!finiteRect(rect))
        return;
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_set_source_rgba(m_cr, m_fill.red, m_fill.green, m_fill.blue, m_fill.alpha);
    cairo_fill(m_cr);
}

void CairoContext::fillEllipseInRect(CGRect rect)
{
    // A zero or negative size would make the scaling below singular and put the cairo_t into a
    // permanent error state; such an ellipse covers nothing anyway.
    if (!finiteRect(rect) || !(rect.size.width > 0.0f) || !(rect.size.height > 0.0f))
        return;
    cairo_new_path(m_cr);
    cairo_save(m_cr);
    cairo_translate(m_cr, double{rect.origin.x} + rect.size.width / 2.0,
                    double{rect.origin.y} + rect.size.height / 2.0);
    cairo_scale(m_cr, rect.size.width / 2.0, rect.size.height / 2.0);
    cairo_arc(m_cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_restore(m_cr);
    cairo_set_source_rgba(m_cr, m_fill.red, m_fill.green, m_fill.blue, m_fill.alpha);
    cairo_fill(m_cr);
}

void CairoContext::setRGBFillColor(float red, float green, float blue, float alpha)
{
    m_fill = {unit(red), unit(green), unit(blue), unit(alpha)};
}

void CairoContext::setRGBStrokeColor(float red, float green, float blue, float alpha)
{
    m_stroke = {unit(red), unit(green), unit(blue), unit(alpha)};
}

void CairoContext::setLineWidth(float width)
{
    if (finite(width) && width >= 0.0f)
        m_lineWidth = width;
}

void CairoContext::beginPath()
{
    m_path.clear();
}

void CairoContext::moveToPoint(float x, float y)
{
    if (!finite(x) || !finite(y))
        return;
    m_path.push_back({CGPoint{x, y}});
}

void CairoContext::addLineToPoint(float x, float y)
{
    if (!finite(x) || !finite(y) || m_path.empty())
        return;
    m_path.back().push_back({x, y});
}

double CairoContext::deviceLineWidth(cairo_t* cr) const
{
    if (m_lineWidth > 0.0f)
        return m_lineWidth;
    // Width 0 is the thinnest line the device shows: one device pixel, whatever the pixel density
    // (the surface's device scale) and the current transformation.
    // Cairo's device-to-user conversion stops short of the surface's device scale, so one pixel
    // is first expressed in the units that conversion starts from.
    double sx = 1.0;
    double sy = 1.0;
    cairo_surface_get_device_scale(cairo_get_target(cr), &sx, &sy);
    double dx = sx > 0.0 ? 1.0 / sx : 1.0;
    double dy = 0.0;
    cairo_device_to_user_distance(cr, &dx, &dy);
    const double width = std::hypot(dx, dy);
    return std::isfinite(width) && width > 0.0 ? width : 1.0;
}

void CairoContext::applyStroke(cairo_t* cr) const
{
    cairo_set_source_rgba(cr, m_stroke.red, m_stroke.green, m_stroke.blue, m_stroke.alpha);
    cairo_set_line_width(cr, deviceLineWidth(cr));
}

void CairoContext::strokePath()
{
    cairo_new_path(m_cr);
    for (const SubPath& sub : m_path) {
        cairo_move_to(m_cr, sub.front().x, sub.front().y);
        for (std::size_t i = 1; i < sub.size(); ++i)
            cairo_line_to(m_cr, sub[i].x, sub[i].y);
    }
    applyStroke(m_cr);
    cairo_stroke(m_cr);
    m_path.clear();
}

void CairoContext::strokeLineSegments(const CGPoint* points, std::size_t count)
{
    if (!points)
        return;
    cairo_new_path(m_cr);
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        const CGPoint a = points[i];
        const CGPoint b = points[i + 1];
        if (!finite(a.x) || !finite(a.y) || !finite(b.x) || !finite(b.y))
            continue;
        cairo_move_to(m_cr, a.x, a.y);
        cairo_line_to(m_cr, b.x, b.y);
    }
    applyStroke(m_cr);
    cairo_stroke(m_cr);
}

cairo_font_face_t* CairoContext::faceFor(const std::string& name)
{
    auto it = m_faces.find(name);
    if (it == m_faces.end()) {
        const std::string family = resolveFontFamily(name);
        FontFacePtr face(
            cairo_toy_font_face_create(family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL));
        it = m_faces.emplace(name, std::move(face)).first;
    }
    return it->second.get();
}

void CairoContext::selectFont(const char* name, float size, CGTextEncoding)
{
    // Only the single-byte encoding is used; text is decoded from it when shown.
    if (!name || !finite(size))
        return;
    m_font = faceFor(name);
    m_fontSize = size;
}

void CairoContext::setTextDrawingMode(CGTextDrawingMode mode)
{
    m_textMode = mode;
}

void CairoContext::setTextMatrix(CGAffineTransform matrix)
{
    m_textMatrix = matrix;
}

void CairoContext::showTextAtPoint(float x, float y, const char* bytes, std::size_t length)
{
    if (!bytes || length == 0 || !m_font || m_textMode == kCGTextInvisible || !finite(x) || !finite(y))
        return;
    const CGAffineTransform& t = m_textMatrix;
    // The text matrix maps glyph space, whose y axis grows upwards, into the view. Cairo's glyph
    // space grows downwards, so the text matrix is composed with a vertical flip: the matrix
    // (1, 0, 0, -1) then leaves glyphs upright in the y-down view. Its translation is replaced by
    // the text position, as the point passed here sets it.
    const double s = m_fontSize;
    cairo_matrix_t fontMatrix;
    cairo_matrix_init(&fontMatrix, s * t.a, s * t.b, -s * t.c, -s * t.d, 0.0, 0.0);
    const double det = fontMatrix.xx * fontMatrix.yy - fontMatrix.xy * fontMatrix.yx;
    // A singular font matrix would put the cairo_t into a permanent error state.
    if (!std::isfinite(det) || det == 0.0)
        return;

    const std::string utf8 = macRomanToUtf8({bytes, length});
    if (textCacheApplies())
        showCachedText(x, y, fontMatrix, utf8);
    else
        drawTextPath(m_cr, x, y, fontMatrix, utf8);
}

void CairoContext::drawTextPath(cairo_t* cr, double x, double y, const cairo_matrix_t& fontMatrix,
                                const std::string& utf8) const
{
    cairo_new_path(cr);
    cairo_set_font_face(cr, m_font);
    cairo_set_font_matrix(cr, &fontMatrix);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, utf8.c_str());

    const bool fill = m_textMode == kCGTextFill || m_textMode == kCGTextFillStroke;
    const bool stroke = m_textMode == kCGTextStroke || m_textMode == kCGTextFillStroke;
    if (fill) {
        cairo_set_source_rgba(cr, m_fill.red, m_fill.green, m_fill.blue, m_fill.alpha);
        cairo_fill_preserve(cr);
    }
    if (stroke) {
        applyStroke(cr);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
}

bool CairoContext::textCacheApplies() const
{
    // Only pixels are cached: PDF and SVG keep their text as outlines. The view's transformation
    // must be the plain one so that a cached image lands pixel for pixel.
    if (cairo_surface_get_type(cairo_get_target(m_cr)) != CAIRO_SURFACE_TYPE_IMAGE)
        return false;
    cairo_matrix_t ctm;
    cairo_get_matrix(m_cr, &ctm);
    double sx = 0.0;
    double sy = 0.0;
    cairo_surface_get_device_scale(cairo_get_target(m_cr), &sx, &sy);
    return ctm.xx == 1.0 && ctm.yy == 1.0 && ctm.xy == 0.0 && ctm.yx == 0.0 && ctm.x0 == 0.0 &&
           ctm.y0 == 0.0 && sx == sy && sx > 0.0;
}

namespace {
template <typename T> void appendBytes(std::string& key, const T& value)
{
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    key.append(raw, sizeof(T));
}
} // namespace

void CairoContext::showCachedText(float x, float y, const cairo_matrix_t& fontMatrix, const std::string& utf8)
{
    double scale = 1.0;
    double unused = 1.0;
    cairo_surface_get_device_scale(cairo_get_target(m_cr), &scale, &unused);
    const bool stroke = m_textMode == kCGTextStroke || m_textMode == kCGTextFillStroke;
    const double lineWidth = stroke ? deviceLineWidth(m_cr) : 0.0;

    std::string key;
    key.reserve(utf8.size() + 128);
    appendBytes(key, m_font);
    appendBytes(key, fontMatrix);
    appendBytes(key, m_textMode);
    appendBytes(key, m_fill);
    appendBytes(key, m_stroke);
    appendBytes(key, lineWidth);
    appendBytes(key, scale);
    key += utf8;

    auto it = m_textCache->entries.find(key);
    if (it == m_textCache->entries.end()) {
        TextCache::Entry entry;
        // The extent of the ink, outline included, around the baseline origin.
        cairo_save(m_cr);
        cairo_new_path(m_cr);
        cairo_set_font_face(m_cr, m_font);
        cairo_set_font_matrix(m_cr, &fontMatrix);
        cairo_move_to(m_cr, 0.0, 0.0);
        cairo_text_path(m_cr, utf8.c_str());
        double x1 = 0.0;
        double y1 = 0.0;
        double x2 = 0.0;
        double y2 = 0.0;
        if (stroke) {
            cairo_set_line_width(m_cr, lineWidth);
            cairo_stroke_extents(m_cr, &x1, &y1, &x2, &y2);
        } else {
            cairo_fill_extents(m_cr, &x1, &y1, &x2, &y2);
        }
        cairo_new_path(m_cr);
        cairo_restore(m_cr);
        if (x2 > x1 && y2 > y1) {
            // A margin of two pixels keeps anti-aliased edges inside the image.
            const double left = std::floor(x1 * scale) - 2.0;
            const double top = std::floor(y1 * scale) - 2.0;
            const double width = std::ceil(x2 * scale) + 2.0 - left;
            const double height = std::ceil(y2 * scale) + 2.0 - top;
            if (!(width * height <= static_cast<double>(TextCache::kMaxPixels))) {
                drawTextPath(m_cr, x, y, fontMatrix, utf8);
                return;
            }
            entry.left = static_cast<int>(left);
            entry.top = static_cast<int>(top);
            entry.width = static_cast<int>(width);
            entry.height = static_cast<int>(height);
            entry.image.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, entry.width, entry.height));
            CairoPtr cr(cairo_create(entry.image.get()));
            cairo_translate(cr.get(), -left, -top);
            cairo_scale(cr.get(), scale, scale);
            drawTextPath(cr.get(), 0.0, 0.0, fontMatrix, utf8);
            cairo_surface_flush(entry.image.get());
        }
        if (m_textCache->entries.size() >= TextCache::kMaxEntries)
            m_textCache->entries.clear();
        it = m_textCache->entries.emplace(std::move(key), std::move(entry)).first;
    }

    const TextCache::Entry& entry = it->second;
    if (!entry.image)
        return;
    // The baseline origin snaps to the nearest device pixel, so the image is copied without
    // resampling; the text moves by less than half a pixel.
    const double ox = std::round(double{x} * scale) + entry.left;
    const double oy = std::round(double{y} * scale) + entry.top;
    cairo_save(m_cr);
    cairo_scale(m_cr, 1.0 / scale, 1.0 / scale);
    cairo_set_source_surface(m_cr, entry.image.get(), ox, oy);
    cairo_rectangle(m_cr, ox, oy, entry.width, entry.height);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
}

} // namespace dazed
