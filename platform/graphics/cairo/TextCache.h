#pragma once

// Text on Cairo surfaces: drawn as filled and outlined glyph paths, or, on raster surfaces, copied
// from pixels rendered once. Outlining glyphs costs far more than a frame can spend, and the same
// names are drawn frame after frame, by whichever context draws them: the cache is shared by the
// whole process and owned by none of the contexts.

#include "platform/graphics/CGContext.h"
#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/graphics/cairo/CairoPaint.h"

#include <cairo.h>
#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace dazed {

// Everything besides the text and its place that decides how it is painted.
struct TextStyle {
    cairo_font_face_t* face{nullptr};
    // Glyph space to user space, without translation; see CairoContext::showTextAtPoint.
    cairo_matrix_t fontMatrix{};
    CGTextDrawingMode mode{kCGTextFill};
    CairoPaint paint;
};

// Fills and outlines `utf8` by the style's mode into `cr` as glyph paths, baseline origin at
// (x, y) in user units. The current path of `cr` is emptied.
void drawTextPath(cairo_t* cr, double x, double y, const TextStyle& style, const std::string& utf8);

class TextCache {
public:
    // The cache every context of the process draws through.
    static TextCache& shared();

    TextCache() = default;
    TextCache(const TextCache&) = delete;
    TextCache& operator=(const TextCache&) = delete;

    // The face for a font name as asked for ("Helvetica"), made once from the family fontconfig
    // resolves it to and kept as long as the cache, so that cached text keyed on it stays valid.
    [[nodiscard]] cairo_font_face_t* face(const std::string& name);

    // Whether text drawn into `cr` can be copied from cached pixels: only on an image surface (PDF
    // and SVG keep their text as outlines) under the plain transformation, or one that only moves
    // by whole device pixels, and an equal device scale on both axes, so that a cached image lands
    // pixel for pixel.
    [[nodiscard]] static bool applies(cairo_t* cr);

    // Draws `utf8` into `cr`, for which applies() holds, with its baseline origin at (x, y)
    // snapped to the nearest device pixel. A string seen before in the same style is copied as
    // it was rendered; a new one is put together from cached glyphs, or drawn as paths when it
    // cannot be (its glyphs cannot be laid out, or it would be too large).
    void show(cairo_t* cr, float x, float y, const TextStyle& style, const std::string& utf8);

    // The bytes of the shown texts' pixels the cache holds, how many texts, and whether one of them
    // is `utf8` (in any style).
    [[nodiscard]] std::size_t textBytes();
    [[nodiscard]] std::size_t textCount();
    [[nodiscard]] bool holdsText(const std::string& utf8);

    // The most bytes of shown texts' pixels kept. The readout shows a new string with every move
    // of the sky, so the texts not shown for longest go first; without a bound the cache grows with
    // every move of a drag. The names of one tablet frame at two pixels per point, in both label
    // modes, fit in the bound with room to spare.
    static constexpr std::size_t kMaxTextBytes = 1u << 20;

private:
    // One shown text as device pixels: fill and outline over transparency, placed with its
    // baseline origin at (-left, -top) of the image.
    struct Entry {
        CairoSurfacePtr image; // null for text that covers nothing (spaces)
        int left{0};
        int top{0};
        int width{0};
        int height{0};
    };

    // One glyph in one style: its fill and its outline as separate images over the same pixels,
    // so that a string can lay all fills first and all outlines over them, as drawing it whole
    // does.
    struct Glyph {
        CairoSurfacePtr fill;
        CairoSurfacePtr stroke;
        int left{0};
        int top{0};
        int width{0};
        int height{0};
    };

    struct FontFaceDeleter {
        void operator()(cairo_font_face_t* face) const { cairo_font_face_destroy(face); }
    };
    using FontFacePtr = std::unique_ptr<cairo_font_face_t, FontFaceDeleter>;

    // Enough for every glyph of a frame several times over; the glyph cache starts afresh beyond it.
    static constexpr std::size_t kMaxGlyphs = 1024;
    // Text larger than this (in pixels) is drawn directly.
    static constexpr long kMaxPixels = 4L * 1024 * 1024;

    const Glyph* glyphFor(const std::string& styleKey, unsigned long index, const TextStyle& style,
                          double scale, double lineWidth);
    bool composeFromGlyphs(cairo_t* cr, Entry& entry, const std::string& styleKey, const TextStyle& style,
                           const std::string& utf8, double scale, double lineWidth);

    struct Shown {
        std::string key;
        // Shared with the bands copying it while it is let go: its pixels are never written once
        // the entry is made, so they are read without the lock.
        std::shared_ptr<const Entry> entry;
        std::size_t bytes{0};
    };
    // Drops the texts shown longest ago until what is kept fits kMaxTextBytes.
    void evictBeyondBudget();

    // Bands of one frame draw their text on several threads at once. The lock guards the tables
    // only: a cached text is copied into a band without it, so bands do not wait on each other.
    std::mutex m_mutex;
    // Faces by the name asked for.
    std::map<std::string, FontFacePtr> m_faces;
    // Shown texts, the most recently shown first, and where each is by its key.
    std::list<Shown> m_shown;
    std::unordered_map<std::string, std::list<Shown>::iterator> m_entries;
    std::size_t m_textBytes{0};
    std::unordered_map<std::string, Glyph> m_glyphs;
};

} // namespace dazed
