#pragma once

// The view that draws the chart: every drawRect draws one whole frame of the sky around the view
// centre (xs1, ys1) from nothing, in a fixed sequence of passes, with a check between passes that
// ends the frame early when the centre changed since the frame began. Commands from the sky
// screen's controller only store values and request a redraw.

#include "platform/graphics/CGContext.h"
#include "platform/ui/UIView.h"
#include "render/SkyCentre.h"
#include "sky/SkySnapshot.h"

#include <array>
#include <optional>
#include <span>

namespace dazed {

class QuartzView : public UIView {
public:
    // Capacity of the segment end buffer: 254 segments.
    static constexpr int kPointCapacity = 508;

    // What the view holds, in declaration order. Every field starts at zero, false or null.
    struct Fields {
        CGRect rectCur{};                 // the rectangle passed to the last frame
        CGContextRef cgContext1{nullptr}; // the context of the current (last) frame
        double oxs1{0.0};                 // centre copied at the start of the frame
        double oys1{0.0};
        double* pPos{nullptr}; // observer position, date: kept, never used
        double tlongi{0.0};
        double tlati{0.0};
        double year{0.0};
        double jDay{0.0};
        bool wSN{false};     // star names shown: true exactly in label mode 1
        float largeur{0.0f}; // view width, points
        float hauteur{0.0f}; // view height, points
        bool iphone{false};  // small screen: largeur at most 480, recomputed each frame
        double newTime{0.0};
        double oldTime{0.0};
        std::array<CGPoint, kPointCapacity> points{}; // segment ends of the last frame, two per segment
        CGContextRef ctxDraw{nullptr};                // the context of the last line pass
        int nblines{0};                               // valid entries of points, always even
        double ech{0.0};                              // zoom factor
        int wLN{0}; // label mode: 0 lines and labels, 1 also star names, 2 none
    };

    explicit QuartzView(CGRect frame)
        : UIView(frame)
    {
    }

    // Commands. Each stores its values and requests a redraw, even when nothing changed.
    void setEch(double zoom);
    // Right ascension (hours), declination (degrees), view width and height (points). No range
    // reduction: the view draws whatever centre it is given.
    void writexs(float rightAscension, float declination, float width, float height);
    // Label mode 0 -> 1 -> 2 -> 0; star names are shown in mode 1 only.
    void writeStarNames();
    // The sky of a place and a moment to draw with the chart (horizon, Sun, Moon, planets, the
    // place's readout line), or none for the chart alone. Stored as given: the view computes no
    // positions, it only projects them.
    void setSkySnapshot(std::optional<SkySnapshot> sky);
    [[nodiscard]] const std::optional<SkySnapshot>& skySnapshot() const { return m_sky; }

    // Text at a point, with its baseline origin there: 12 (drawText) or 14 (drawText14) point
    // Helvetica on a small screen, 22 on a large one (as the last frame found the screen), filled
    // and outlined in the context's current colours. The font, mode and matrix set here stay in
    // force afterwards.
    void drawText(CGContextRef context, float x, float y, const char* text);
    void drawText14(CGContextRef context, float x, float y, const char* text);

    void drawRect(CGRect rect) override;

    [[nodiscard]] const Fields& fields() const { return m_fields; }
    // The segment ends the last frame retained.
    [[nodiscard]] std::span<const CGPoint> retainedPoints() const
    {
        return {m_fields.points.data(), static_cast<std::size_t>(m_fields.nblines)};
    }

private:
    [[nodiscard]] bool centreUnchanged() const;

    Fields m_fields;
    std::optional<SkySnapshot> m_sky;
};

} // namespace dazed
