#pragma once

// Draws the framework's own controls (buttons, labels, bars, images) and composites views into an
// Image, in the image's tint. Coordinates are points; the target's scale turns them into pixels. State
// changes made between save() and restore() (translation, clip) are undone by restore().

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/image/Image.h"

#include <memory>
#include <span>
#include <string_view>

namespace dazed {

enum class TextAlignment { Left, Center, Right };
enum class FontWeight { Regular, Bold };

struct FontSpec {
    // The system font: a Helvetica-like sans found through fontconfig.
    static constexpr const char* kSystemFamily = "Nimbus Sans";
    const char* family{kSystemFamily};
    float size{17.0f};
    FontWeight weight{FontWeight::Regular};
};

class PainterRecording;

// A column of an image between x = sourceMinX and sourceMaxX (image points, full height) and the
// rectangle it is scaled into.
struct ImageColumn {
    float sourceMinX{0};
    float sourceMaxX{0};
    CGRect dest;
};

class UIPainter {
public:
    // The target must outlive the painter.
    explicit UIPainter(Image& target);
    // A painter that draws nothing: every call is kept in `recording` (which must outlive the
    // painter), to be made again on a painter over an image of `scale` pixels per point and of
    // `tint`. Text is measured as it would be there.
    UIPainter(PainterRecording& recording, float scale, ScreenTint tint = ScreenTint::Day);
    ~UIPainter();
    UIPainter(const UIPainter&) = delete;
    UIPainter& operator=(const UIPainter&) = delete;

    // The tint of the image drawn into (ScreenTint.h): at night every colour and picture is drawn
    // in its night form, whatever the caller gives.
    [[nodiscard]] ScreenTint tint() const;

    void save();
    void restore();
    void translate(float dx, float dy);
    // Intersects the clip with `rect`.
    void clip(CGRect rect);

    // Replaces everything in the target (ignoring clip) with `color`.
    void fill(RGBAColor color);
    void fillRect(CGRect rect, RGBAColor color);
    void fillVerticalGradient(CGRect rect, RGBAColor top, RGBAColor bottom);
    void fillRoundedRect(CGRect rect, float radius, RGBAColor color);
    void strokeRoundedRect(CGRect rect, float radius, float lineWidth, RGBAColor color);
    void fillEllipse(CGRect rect, RGBAColor color);
    void strokeEllipse(CGRect rect, float lineWidth, RGBAColor color);

    // The whole image scaled into `dest`.
    void drawImage(const Image& image, CGRect dest, float alpha = 1.0f);
    // Every pixel of the target replaced by `image`'s, which has the target's pixel size and scale:
    // a copy, transparent pixels included.
    void copyPixels(const Image& image);
    // The column of `image` between x = sourceMinX and sourceMaxX (image points, full height)
    // scaled into `dest`; the flip animation draws its perspective in such strips.
    void drawImageColumn(const Image& image, float sourceMinX, float sourceMaxX, CGRect dest);

    // Width of the UTF-8 `text` and the font's ascent + descent, in points.
    [[nodiscard]] CGSize measureText(std::string_view text, const FontSpec& font);
    // One line of UTF-8 text, aligned horizontally in `rect` and centred vertically; clipped to `rect`.
    void drawText(std::string_view text, CGRect rect, const FontSpec& font, RGBAColor color,
                  TextAlignment alignment);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Whether every pixel of an image is known to be opaque.
enum class ImageAlpha { Any, Opaque };

// Draws every column of `image` as drawImageColumn would through a new painter over `target`, with
// the target's rows shared out among the cores: the strips of a flip frame scale a screen's worth
// of pixels. An image said to be opaque must be: its columns are copied rather than blended.
void drawImageColumns(Image& target, const Image& image, std::span<const ImageColumn> columns,
                      ImageAlpha alpha = ImageAlpha::Any);

// Saves the painter's state for the lifetime of the scope.
class UIPainterStateSaver {
public:
    explicit UIPainterStateSaver(UIPainter& painter)
        : m_painter(painter)
    {
        m_painter.save();
    }
    ~UIPainterStateSaver() { m_painter.restore(); }
    UIPainterStateSaver(const UIPainterStateSaver&) = delete;
    UIPainterStateSaver& operator=(const UIPainterStateSaver&) = delete;

private:
    UIPainter& m_painter;
};

} // namespace dazed
