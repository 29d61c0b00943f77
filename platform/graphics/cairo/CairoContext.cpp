#include "platform/graphics/cairo/CairoContext.h"

#include "platform/graphics/MacRoman.h"
#include "platform/graphics/image/NightPicture.h"

#include <cmath>
#include <numbers>
#include <string>

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

float unit(float component)
{
    if (!(component > 0.0f))
        return 0.0f;
    return component < 1.0f ? component : 1.0f;
}

// The colour as Cairo is given it: components clamped to 0..1, and at night in its night form.
CairoPaint::Rgba paintColour(float red, float green, float blue, float alpha, ScreenTint tint)
{
    RGBAColor colour{unit(red), unit(green), unit(blue), unit(alpha)};
    if (tint == ScreenTint::Night)
        colour = nightColour(colour);
    return {colour.red, colour.green, colour.blue, colour.alpha};
}
} // namespace

CairoContext::CairoContext(cairo_t* cr, ClearMode clearMode, ScreenTint tint)
    : m_cr(cr)
    , m_clearMode(clearMode)
    , m_tint(tint)
    , m_textCache(TextCache::shared())
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
    setSourceColour(m_cr, m_paint.fill);
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
    setSourceColour(m_cr, m_paint.fill);
    cairo_fill(m_cr);
}

void CairoContext::setRGBFillColor(float red, float green, float blue, float alpha)
{
    m_paint.fill = paintColour(red, green, blue, alpha, m_tint);
}

void CairoContext::setRGBStrokeColor(float red, float green, float blue, float alpha)
{
    m_paint.stroke = paintColour(red, green, blue, alpha, m_tint);
}

void CairoContext::setLineWidth(float width)
{
    if (finite(width) && width >= 0.0f)
        m_paint.lineWidth = width;
}

void CairoContext::beginPath()
{
    m_path.clear();
}

void CairoContext::moveToPoint(float x, float y)
{
    if (!finite(x) || !finite(y))
        return;
    m_path.push_back({PathStep{{x, y}}});
}

void CairoContext::addLineToPoint(float x, float y)
{
    if (!finite(x) || !finite(y) || m_path.empty())
        return;
    m_path.back().push_back({{x, y}});
}

void CairoContext::addCurveToPoint(float cp1x, float cp1y, float cp2x, float cp2y, float x, float y)
{
    if (!finite(cp1x) || !finite(cp1y) || !finite(cp2x) || !finite(cp2y) || !finite(x) || !finite(y) ||
        m_path.empty())
        return;
    m_path.back().push_back({{x, y}, true, {cp1x, cp1y}, {cp2x, cp2y}});
}

void CairoContext::strokePath()
{
    cairo_new_path(m_cr);
    for (const SubPath& sub : m_path) {
        cairo_move_to(m_cr, sub.front().to.x, sub.front().to.y);
        for (std::size_t i = 1; i < sub.size(); ++i) {
            const PathStep& step = sub[i];
            if (step.curve)
                cairo_curve_to(m_cr, step.control1.x, step.control1.y, step.control2.x, step.control2.y,
                               step.to.x, step.to.y);
            else
                cairo_line_to(m_cr, step.to.x, step.to.y);
        }
    }
    applyStroke(m_cr, m_paint);
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
    applyStroke(m_cr, m_paint);
    cairo_stroke(m_cr);
}

void CairoContext::selectFont(const char* name, float size, CGTextEncoding)
{
    // Only the single-byte encoding is used; text is decoded from it when shown.
    if (!name || !finite(size))
        return;
    m_font = m_textCache.face(name);
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
    TextStyle style{m_font, {}, m_textMode, m_paint};
    cairo_matrix_init(&style.fontMatrix, s * t.a, s * t.b, -s * t.c, -s * t.d, 0.0, 0.0);
    const cairo_matrix_t& m = style.fontMatrix;
    const double det = m.xx * m.yy - m.xy * m.yx;
    // A singular font matrix would put the cairo_t into a permanent error state.
    if (!std::isfinite(det) || det == 0.0)
        return;

    const std::string utf8 = macRomanToUtf8({bytes, length});
    if (TextCache::applies(m_cr))
        m_textCache.show(m_cr, x, y, style, utf8);
    else
        drawTextPath(m_cr, x, y, style, utf8);
}

} // namespace dazed
