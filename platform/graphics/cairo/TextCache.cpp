#include "platform/graphics/cairo/TextCache.h"

#include "platform/graphics/cairo/FontLookup.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace dazed {

namespace {
bool fills(CGTextDrawingMode mode)
{
    return mode == kCGTextFill || mode == kCGTextFillStroke;
}

bool strokes(CGTextDrawingMode mode)
{
    return mode == kCGTextStroke || mode == kCGTextFillStroke;
}

template <typename T> void appendBytes(std::string& key, const T& value)
{
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    key.append(raw, sizeof(T));
}

// The pixel rectangle of an ink extent (user units around an origin) at `scale`, with a margin of
// two pixels that keeps anti-aliased edges inside.
struct PixelRect {
    double left{0.0};
    double top{0.0};
    double width{0.0};
    double height{0.0};
};

PixelRect pixelRectOf(double x1, double y1, double x2, double y2, double scale)
{
    PixelRect r;
    r.left = std::floor(x1 * scale) - 2.0;
    r.top = std::floor(y1 * scale) - 2.0;
    r.width = std::ceil(x2 * scale) + 2.0 - r.left;
    r.height = std::ceil(y2 * scale) + 2.0 - r.top;
    return r;
}

// A context drawing in user units into an image whose pixel (0, 0) is user (left, top) / scale.
CairoPtr pixelContext(cairo_surface_t* image, const PixelRect& r, double scale)
{
    CairoPtr cr(cairo_create(image));
    cairo_translate(cr.get(), -r.left, -r.top);
    cairo_scale(cr.get(), scale, scale);
    return cr;
}

// Lays `image` over `target` with its top left corner on pixel (x, y).
void compositeAt(cairo_t* target, cairo_surface_t* image, double x, double y, int width, int height)
{
    cairo_set_source_surface(target, image, x, y);
    cairo_rectangle(target, x, y, width, height);
    cairo_fill(target);
}
} // namespace

void drawTextPath(cairo_t* cr, double x, double y, const TextStyle& style, const std::string& utf8)
{
    cairo_new_path(cr);
    cairo_set_font_face(cr, style.face);
    cairo_set_font_matrix(cr, &style.fontMatrix);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, utf8.c_str());
    if (fills(style.mode)) {
        setSourceColour(cr, style.paint.fill);
        cairo_fill_preserve(cr);
    }
    if (strokes(style.mode)) {
        applyStroke(cr, style.paint);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
}

TextCache& TextCache::shared()
{
    static TextCache cache;
    return cache;
}

cairo_font_face_t* TextCache::face(const std::string& name)
{
    std::lock_guard lock(m_mutex);
    auto it = m_faces.find(name);
    if (it == m_faces.end()) {
        const std::string family = resolveFontFamily(name);
        FontFacePtr made(
            cairo_toy_font_face_create(family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL));
        it = m_faces.emplace(name, std::move(made)).first;
    }
    return it->second.get();
}

bool TextCache::applies(cairo_t* cr)
{
    if (cairo_surface_get_type(cairo_get_target(cr)) != CAIRO_SURFACE_TYPE_IMAGE)
        return false;
    cairo_matrix_t ctm;
    cairo_get_matrix(cr, &ctm);
    double sx = 0.0;
    double sy = 0.0;
    cairo_surface_get_device_scale(cairo_get_target(cr), &sx, &sy);
    // A translation by whole device pixels (a view drawn at its place in the screen) moves every
    // pixel of the text alike, so the cached image still lands pixel for pixel.
    const auto wholePixels = [sx](double points) {
        const double pixels = points * sx;
        return std::isfinite(pixels) && pixels == std::nearbyint(pixels);
    };
    return ctm.xx == 1.0 && ctm.yy == 1.0 && ctm.xy == 0.0 && ctm.yx == 0.0 && sx == sy && sx > 0.0 &&
           wholePixels(ctm.x0) && wholePixels(ctm.y0);
}

const TextCache::Glyph* TextCache::glyphFor(const std::string& styleKey, unsigned long index,
                                            const TextStyle& style, double scale, double lineWidth)
{
    std::string key = styleKey;
    appendBytes(key, index);
    auto it = m_glyphs.find(key);
    if (it != m_glyphs.end())
        return &it->second;

    const bool fill = fills(style.mode);
    const bool stroke = strokes(style.mode);
    cairo_glyph_t glyph{index, 0.0, 0.0};
    auto glyphPath = [&](cairo_t* target) {
        cairo_new_path(target);
        cairo_set_font_face(target, style.face);
        cairo_set_font_matrix(target, &style.fontMatrix);
        cairo_glyph_path(target, &glyph, 1);
    };

    // The ink extent is measured on an unbounded surface of the same pixel density, not in `cr`:
    // Cairo leaves out of the extent what lies beyond the target's edges, and a glyph at the
    // origin of a context that draws one band of an image (CairoBands.h) may lie wholly outside it.
    Glyph entry;
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    {
        CairoSurfacePtr unbounded(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
        cairo_surface_set_device_scale(unbounded.get(), scale, scale);
        CairoPtr measure(cairo_create(unbounded.get()));
        glyphPath(measure.get());
        if (stroke) {
            cairo_set_line_width(measure.get(), lineWidth);
            cairo_stroke_extents(measure.get(), &x1, &y1, &x2, &y2);
        } else {
            cairo_fill_extents(measure.get(), &x1, &y1, &x2, &y2);
        }
    }
    if (x2 > x1 && y2 > y1) {
        const PixelRect r = pixelRectOf(x1, y1, x2, y2, scale);
        entry.left = static_cast<int>(r.left);
        entry.top = static_cast<int>(r.top);
        entry.width = static_cast<int>(r.width);
        entry.height = static_cast<int>(r.height);
        if (fill) {
            entry.fill.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, entry.width, entry.height));
            CairoPtr image = pixelContext(entry.fill.get(), r, scale);
            glyphPath(image.get());
            setSourceColour(image.get(), style.paint.fill);
            cairo_fill(image.get());
        }
        if (stroke) {
            entry.stroke.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, entry.width, entry.height));
            CairoPtr image = pixelContext(entry.stroke.get(), r, scale);
            glyphPath(image.get());
            applyStroke(image.get(), style.paint);
            cairo_stroke(image.get());
        }
    }
    return &m_glyphs.emplace(std::move(key), std::move(entry)).first->second;
}

bool TextCache::composeFromGlyphs(cairo_t* cr, Entry& entry, const std::string& styleKey,
                                  const TextStyle& style, const std::string& utf8, double scale,
                                  double lineWidth)
{
    // Cleared only here, before any glyph of this string is looked up, so that the glyphs the
    // string collects stay valid while it is put together.
    if (m_glyphs.size() >= kMaxGlyphs)
        m_glyphs.clear();
    // Glyph positions of the string laid out from the origin, in user units.
    cairo_glyph_t* laid = nullptr;
    int count = 0;
    cairo_save(cr);
    cairo_set_font_face(cr, style.face);
    cairo_set_font_matrix(cr, &style.fontMatrix);
    const cairo_status_t status = cairo_scaled_font_text_to_glyphs(
        cairo_get_scaled_font(cr), 0.0, 0.0, utf8.c_str(), static_cast<int>(utf8.size()), &laid, &count,
        nullptr, nullptr, nullptr);
    cairo_restore(cr);
    if (status != CAIRO_STATUS_SUCCESS)
        return false;
    std::unique_ptr<cairo_glyph_t, decltype(&cairo_glyph_free)> owned(laid, cairo_glyph_free);

    struct Placed {
        const Glyph* glyph;
        double x;
        double y;
    };
    std::vector<Placed> placed;
    placed.reserve(static_cast<std::size_t>(count));
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    for (int i = 0; i < count; ++i) {
        const Glyph* g = glyphFor(styleKey, laid[i].index, style, scale, lineWidth);
        if (!g->fill && !g->stroke)
            continue;
        // Each glyph lands on whole pixels, so it is copied without resampling.
        const double x = std::round(laid[i].x * scale) + g->left;
        const double y = std::round(laid[i].y * scale) + g->top;
        if (placed.empty()) {
            left = x;
            top = y;
            right = x + g->width;
            bottom = y + g->height;
        } else {
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + g->width);
            bottom = std::max(bottom, y + g->height);
        }
        placed.push_back({g, x, y});
    }
    if (placed.empty())
        return true;
    if (!((right - left) * (bottom - top) <= static_cast<double>(kMaxPixels)))
        return false;

    entry.left = static_cast<int>(left);
    entry.top = static_cast<int>(top);
    entry.width = static_cast<int>(right - left);
    entry.height = static_cast<int>(bottom - top);
    entry.image.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, entry.width, entry.height));
    CairoPtr image(cairo_create(entry.image.get()));
    for (const Placed& p : placed)
        if (p.glyph->fill)
            compositeAt(image.get(), p.glyph->fill.get(), p.x - left, p.y - top, p.glyph->width,
                        p.glyph->height);
    for (const Placed& p : placed)
        if (p.glyph->stroke)
            compositeAt(image.get(), p.glyph->stroke.get(), p.x - left, p.y - top, p.glyph->width,
                        p.glyph->height);
    cairo_surface_flush(entry.image.get());
    return true;
}

void TextCache::show(cairo_t* cr, float x, float y, const TextStyle& style, const std::string& utf8)
{
    double scale = 1.0;
    double unused = 1.0;
    cairo_surface_get_device_scale(cairo_get_target(cr), &scale, &unused);
    const double lineWidth = strokes(style.mode) ? deviceLineWidth(cr, style.paint.lineWidth) : 0.0;

    // Everything that decides the pixels besides the text itself.
    std::string styleKey;
    appendBytes(styleKey, style.face);
    appendBytes(styleKey, style.fontMatrix);
    appendBytes(styleKey, style.mode);
    appendBytes(styleKey, style.paint.fill);
    appendBytes(styleKey, style.paint.stroke);
    appendBytes(styleKey, lineWidth);
    appendBytes(styleKey, scale);
    std::string key = styleKey;
    key += '\0';
    key += utf8;

    std::shared_ptr<const Entry> entry;
    {
        const std::lock_guard lock(m_mutex);
        auto found = m_entries.find(key);
        if (found == m_entries.end()) {
            // A new string (the readout changes with every move) is put together from cached
            // glyphs: outlining the glyphs again would cost more than the rest of the frame.
            auto made = std::make_shared<Entry>();
            if (!composeFromGlyphs(cr, *made, styleKey, style, utf8, scale, lineWidth)) {
                drawTextPath(cr, x, y, style, utf8);
                return;
            }
            const std::size_t bytes =
                made->image ? static_cast<std::size_t>(cairo_image_surface_get_stride(made->image.get())) *
                                  static_cast<std::size_t>(made->height)
                            : 0;
            m_shown.push_front({key, made, bytes});
            m_textBytes += bytes;
            found = m_entries.emplace(std::move(key), m_shown.begin()).first;
            evictBeyondBudget();
        } else if (found->second != m_shown.begin()) {
            m_shown.splice(m_shown.begin(), m_shown, found->second);
        }
        entry = found->second->entry;
    }

    if (!entry->image)
        return;
    // The cached pixels are read through a surface of this call's own, so that no Cairo object is
    // shared between the threads that copy the same text at once.
    cairo_surface_t* cached = entry->image.get();
    CairoSurfacePtr pixels(cairo_image_surface_create_for_data(
        cairo_image_surface_get_data(cached), cairo_image_surface_get_format(cached), entry->width,
        entry->height, cairo_image_surface_get_stride(cached)));
    if (cairo_surface_status(pixels.get()) != CAIRO_STATUS_SUCCESS)
        return;
    // The baseline origin snaps to the nearest device pixel, so the image is copied without
    // resampling; the text moves by less than half a pixel.
    const double ox = std::round(double{x} * scale) + entry->left;
    const double oy = std::round(double{y} * scale) + entry->top;
    cairo_save(cr);
    cairo_scale(cr, 1.0 / scale, 1.0 / scale);
    compositeAt(cr, pixels.get(), ox, oy, entry->width, entry->height);
    cairo_restore(cr);
}

void TextCache::evictBeyondBudget()
{
    // The text just shown is at the front and stays, whatever its size: it is about to be drawn.
    while (m_textBytes > kMaxTextBytes && m_shown.size() > 1) {
        const Shown& oldest = m_shown.back();
        m_textBytes -= oldest.bytes;
        m_entries.erase(oldest.key);
        m_shown.pop_back();
    }
}

std::size_t TextCache::textBytes()
{
    const std::lock_guard lock(m_mutex);
    return m_textBytes;
}

std::size_t TextCache::textCount()
{
    const std::lock_guard lock(m_mutex);
    return m_shown.size();
}

bool TextCache::holdsText(const std::string& utf8)
{
    const std::string ending = '\0' + utf8;
    const std::lock_guard lock(m_mutex);
    return std::any_of(m_shown.begin(), m_shown.end(),
                       [&](const Shown& shown) { return shown.key.ends_with(ending); });
}

} // namespace dazed
