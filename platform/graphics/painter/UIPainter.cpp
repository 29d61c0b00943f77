#include "platform/graphics/painter/UIPainter.h"

#include "platform/graphics/image/ImageImpl.h"
#include "platform/graphics/image/NightPicture.h"
#include "platform/graphics/painter/PainterRecording.h"
#include "platform/graphics/parallel/CairoBands.h"

#include <algorithm>
#include <string>

namespace dazed {

struct UIPainter::Impl {
    CairoPtr cr;
    ScreenTint tint{ScreenTint::Day};
    // A recording painter keeps its calls here and draws into `measuring` only to measure text.
    PainterRecording* recording{nullptr};
    std::shared_ptr<Image> measuring;
};

namespace {

// Keeps `step`, a call on a painter, in `recording` when there is one; true when it was kept.
// (Steps that hold a picture or copy text are made only when there is a recording.)
bool kept(PainterRecording* recording, PaintStep step)
{
    if (!recording)
        return false;
    recording->add(std::move(step));
    return true;
}

// A colour as drawn into a target of `tint`.
RGBAColor inTint(RGBAColor c, ScreenTint tint)
{
    return tint == ScreenTint::Night ? nightColour(c) : c;
}

void setColor(cairo_t* cr, RGBAColor c, ScreenTint tint)
{
    c = inTint(c, tint);
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

// A picture as drawn into a target of `tint`: a day picture drawn into a night one is drawn in its
// night form, made for the occasion (pictures drawn often keep theirs; see UIImage); otherwise the
// picture itself, with no copy and no reference taken on the per-frame path.
class PictureInTint {
public:
    PictureInTint(const Image& image, ScreenTint tint)
        : m_nightForm(tint == ScreenTint::Night && image.tint() == ScreenTint::Day ? nightCopy(image)
                                                                                   : nullptr)
        , m_picture(m_nightForm ? *m_nightForm : image)
    {
    }
    const Image* operator->() const { return &m_picture; }

private:
    std::shared_ptr<const Image> m_nightForm;
    const Image& m_picture;
};

void roundedRectPath(cairo_t* cr, CGRect r, float radius)
{
    const double rad =
        std::clamp(static_cast<double>(radius), 0.0, std::min(r.size.width, r.size.height) / 2.0);
    const double x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
    constexpr double kQuarter = 1.5707963267948966;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - rad, y0 + rad, rad, -kQuarter, 0);
    cairo_arc(cr, x1 - rad, y1 - rad, rad, 0, kQuarter);
    cairo_arc(cr, x0 + rad, y1 - rad, rad, kQuarter, 2 * kQuarter);
    cairo_arc(cr, x0 + rad, y0 + rad, rad, 2 * kQuarter, 3 * kQuarter);
    cairo_close_path(cr);
}

void ellipsePath(cairo_t* cr, CGRect r)
{
    if (r.size.width <= 0 || r.size.height <= 0)
        return;
    cairo_save(cr);
    cairo_translate(cr, r.center().x, r.center().y);
    cairo_scale(cr, r.size.width / 2.0, r.size.height / 2.0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 6.283185307179586);
    cairo_restore(cr);
}

void selectFont(cairo_t* cr, const FontSpec& font)
{
    cairo_select_font_face(cr, font.family, CAIRO_FONT_SLANT_NORMAL,
                           font.weight == FontWeight::Bold ? CAIRO_FONT_WEIGHT_BOLD
                                                           : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
}

// The column of `source` (of `size` points) between column.sourceMinX and sourceMaxX scaled into
// column.dest.
void drawColumn(cairo_t* cr, cairo_surface_t* source, CGSize size, const ImageColumn& column,
                ImageAlpha alpha = ImageAlpha::Any)
{
    const float columnWidth = column.sourceMaxX - column.sourceMinX;
    const CGRect& dest = column.dest;
    if (columnWidth <= 0 || size.height <= 0 || dest.size.width <= 0 || dest.size.height <= 0)
        return;
    cairo_save(cr);
    // A hard-edged clip: soft edges of neighbouring strips would add up to visible seams.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cr, dest.minX(), dest.minY(), dest.size.width, dest.size.height);
    cairo_clip(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_translate(cr, dest.minX(), dest.minY());
    cairo_scale(cr, dest.size.width / columnWidth, dest.size.height / size.height);
    cairo_set_source_surface(cr, source, -column.sourceMinX, 0);
    // Neighbouring strips must meet without seams, so the edges are not faded out.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    // Bilinear, which pixman scales on its fast paths: the good filter's box sampling goes through
    // its general path, many times slower for the strips of a flip frame, and at a flip's speed
    // the difference does not show.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    // Over an opaque image's samples the target's pixels are replaced all the same; copying them
    // spares reading and blending the target (pixman's copying scaler is about a fifth faster).
    if (alpha == ImageAlpha::Opaque)
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
}

} // namespace

UIPainter::UIPainter(Image& target)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->cr.reset(cairo_create(target.impl().surface.get()));
    m_impl->tint = target.tint();
}

UIPainter::UIPainter(PainterRecording& recording, float scale, ScreenTint tint)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->tint = tint;
    m_impl->recording = &recording;
    m_impl->measuring = Image::create({1, 1}, scale);
    m_impl->cr.reset(cairo_create(m_impl->measuring->impl().surface.get()));
}

UIPainter::~UIPainter() = default;

ScreenTint UIPainter::tint() const
{
    return m_impl->tint;
}

void UIPainter::save()
{
    if (kept(m_impl->recording, paint::Save{}))
        return;
    cairo_save(m_impl->cr.get());
}

void UIPainter::restore()
{
    if (kept(m_impl->recording, paint::Restore{}))
        return;
    cairo_restore(m_impl->cr.get());
}

void UIPainter::translate(float dx, float dy)
{
    if (kept(m_impl->recording, paint::Translate{dx, dy}))
        return;
    cairo_translate(m_impl->cr.get(), dx, dy);
}

void UIPainter::clip(CGRect rect)
{
    if (kept(m_impl->recording, paint::Clip{rect}))
        return;
    cairo_t* cr = m_impl->cr.get();
    cairo_rectangle(cr, rect.minX(), rect.minY(), rect.size.width, rect.size.height);
    cairo_clip(cr);
}

void UIPainter::fill(RGBAColor color)
{
    if (kept(m_impl->recording, paint::Fill{color}))
        return;
    cairo_t* cr = m_impl->cr.get();
    cairo_save(cr);
    cairo_reset_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    setColor(cr, color, m_impl->tint);
    cairo_paint(cr);
    cairo_restore(cr);
}

void UIPainter::fillRect(CGRect rect, RGBAColor color)
{
    if (PainterRecording* recording = m_impl->recording) {
        const CGSize size = recording->size();
        if (color.alpha >= 1.0f && rect.minX() <= 0.0f && rect.minY() <= 0.0f && rect.maxX() >= size.width &&
            rect.maxY() >= size.height)
            recording->startsOpaque();
    }
    if (kept(m_impl->recording, paint::FillRect{rect, color}))
        return;
    cairo_t* cr = m_impl->cr.get();
    setColor(cr, color, m_impl->tint);
    cairo_rectangle(cr, rect.minX(), rect.minY(), rect.size.width, rect.size.height);
    cairo_fill(cr);
}

void UIPainter::fillVerticalGradient(CGRect rect, RGBAColor top, RGBAColor bottom)
{
    if (kept(m_impl->recording, paint::FillVerticalGradient{rect, top, bottom}))
        return;
    cairo_t* cr = m_impl->cr.get();
    std::unique_ptr<cairo_pattern_t, decltype(&cairo_pattern_destroy)> pattern(
        cairo_pattern_create_linear(0, rect.minY(), 0, rect.maxY()), &cairo_pattern_destroy);
    top = inTint(top, m_impl->tint);
    bottom = inTint(bottom, m_impl->tint);
    cairo_pattern_add_color_stop_rgba(pattern.get(), 0, top.red, top.green, top.blue, top.alpha);
    cairo_pattern_add_color_stop_rgba(pattern.get(), 1, bottom.red, bottom.green, bottom.blue, bottom.alpha);
    cairo_set_source(cr, pattern.get());
    cairo_rectangle(cr, rect.minX(), rect.minY(), rect.size.width, rect.size.height);
    cairo_fill(cr);
}

void UIPainter::fillRoundedRect(CGRect rect, float radius, RGBAColor color)
{
    if (kept(m_impl->recording, paint::FillRoundedRect{rect, radius, color}))
        return;
    cairo_t* cr = m_impl->cr.get();
    roundedRectPath(cr, rect, radius);
    setColor(cr, color, m_impl->tint);
    cairo_fill(cr);
}

void UIPainter::strokeRoundedRect(CGRect rect, float radius, float lineWidth, RGBAColor color)
{
    if (kept(m_impl->recording, paint::StrokeRoundedRect{rect, radius, lineWidth, color}))
        return;
    cairo_t* cr = m_impl->cr.get();
    roundedRectPath(cr, rect, radius);
    setColor(cr, color, m_impl->tint);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void UIPainter::fillEllipse(CGRect rect, RGBAColor color)
{
    if (kept(m_impl->recording, paint::FillEllipse{rect, color}))
        return;
    cairo_t* cr = m_impl->cr.get();
    ellipsePath(cr, rect);
    setColor(cr, color, m_impl->tint);
    cairo_fill(cr);
}

void UIPainter::strokeEllipse(CGRect rect, float lineWidth, RGBAColor color)
{
    if (kept(m_impl->recording, paint::StrokeEllipse{rect, lineWidth, color}))
        return;
    cairo_t* cr = m_impl->cr.get();
    ellipsePath(cr, rect);
    setColor(cr, color, m_impl->tint);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void UIPainter::drawImage(const Image& image, CGRect dest, float alpha)
{
    if (PainterRecording* recording = m_impl->recording) {
        recording->add(paint::DrawImage{image.shared_from_this(), dest, alpha});
        return;
    }
    const CGSize size = image.size();
    if (size.width <= 0 || size.height <= 0 || dest.size.width <= 0 || dest.size.height <= 0)
        return;
    const PictureInTint picture(image, m_impl->tint);
    cairo_t* cr = m_impl->cr.get();
    cairo_save(cr);
    cairo_rectangle(cr, dest.minX(), dest.minY(), dest.size.width, dest.size.height);
    cairo_clip(cr);
    cairo_translate(cr, dest.minX(), dest.minY());
    cairo_scale(cr, dest.size.width / size.width, dest.size.height / size.height);
    cairo_set_source_surface(cr, picture->impl().surface.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

void UIPainter::copyPixels(const Image& image)
{
    if (PainterRecording* recording = m_impl->recording) {
        recording->add(paint::CopyPixels{image.shared_from_this()});
        return;
    }
    const PictureInTint picture(image, m_impl->tint);
    cairo_t* cr = m_impl->cr.get();
    cairo_save(cr);
    cairo_reset_clip(cr);
    // With the target's scale on both sides, points map to the same pixels: a plain copy.
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, picture->impl().surface.get(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

void UIPainter::drawImageColumn(const Image& image, float sourceMinX, float sourceMaxX, CGRect dest)
{
    if (PainterRecording* recording = m_impl->recording) {
        recording->add(paint::DrawImageColumn{image.shared_from_this(), sourceMinX, sourceMaxX, dest});
        return;
    }
    const PictureInTint picture(image, m_impl->tint);
    drawColumn(m_impl->cr.get(), picture->impl().surface.get(), image.size(), {sourceMinX, sourceMaxX, dest});
}

void drawImageColumns(Image& target, const Image& image, std::span<const ImageColumn> columns,
                      ImageAlpha alpha)
{
    if (columns.empty())
        return;
    const PictureInTint picture(image, target.tint());
    cairo_surface_t* source = picture->impl().surface.get();
    cairo_surface_flush(source);
    const CGSize size = image.size();
    cairo_surface_t* surface = target.impl().surface.get();
    drawInBands(surface,
                bandsFor(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)),
                [&](cairo_t* cr) {
                    // Each band reads the image through a surface of its own over the same pixels:
                    // no Cairo object is shared between threads.
                    CairoSurfacePtr own(cairo_image_surface_create_for_data(
                        cairo_image_surface_get_data(source), cairo_image_surface_get_format(source),
                        cairo_image_surface_get_width(source), cairo_image_surface_get_height(source),
                        cairo_image_surface_get_stride(source)));
                    double sx = 1.0;
                    double sy = 1.0;
                    cairo_surface_get_device_scale(source, &sx, &sy);
                    cairo_surface_set_device_scale(own.get(), sx, sy);
                    for (const ImageColumn& column : columns)
                        drawColumn(cr, own.get(), size, column, alpha);
                });
}

CGSize UIPainter::measureText(std::string_view text, const FontSpec& font)
{
    cairo_t* cr = m_impl->cr.get();
    const std::string s(text);
    selectFont(cr, font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, s.c_str(), &extents);
    cairo_font_extents_t fontExtents;
    cairo_font_extents(cr, &fontExtents);
    return {static_cast<float>(extents.x_advance),
            static_cast<float>(fontExtents.ascent + fontExtents.descent)};
}

void UIPainter::drawText(std::string_view text, CGRect rect, const FontSpec& font, RGBAColor color,
                         TextAlignment alignment)
{
    // The family may be a string the caller lets go; the recording keeps its own copy (and no
    // family as none).
    if (PainterRecording* recording = m_impl->recording) {
        recording->add(paint::DrawText{std::string(text), rect, font.family != nullptr,
                                       std::string(font.family ? font.family : ""), font.size, font.weight,
                                       color, alignment});
        return;
    }
    if (text.empty())
        return;
    cairo_t* cr = m_impl->cr.get();
    const CGSize measured = measureText(text, font);
    cairo_font_extents_t fontExtents;
    cairo_font_extents(cr, &fontExtents);
    double x = rect.minX();
    if (alignment == TextAlignment::Center)
        x = rect.minX() + (rect.size.width - measured.width) / 2.0;
    else if (alignment == TextAlignment::Right)
        x = rect.maxX() - measured.width;
    const double baseline = rect.minY() + (rect.size.height - measured.height) / 2.0 + fontExtents.ascent;
    const std::string s(text);
    cairo_save(cr);
    cairo_rectangle(cr, rect.minX(), rect.minY(), rect.size.width, rect.size.height);
    cairo_clip(cr);
    setColor(cr, color, m_impl->tint);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, s.c_str());
    cairo_new_path(cr);
    cairo_restore(cr);
}

} // namespace dazed
