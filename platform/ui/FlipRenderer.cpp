#include "platform/ui/FlipRenderer.h"

#include "platform/graphics/image/PixelSize.h"
#include "platform/graphics/painter/PainterRecording.h"
#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/UIViewAnimation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dazed {

namespace {

// A flipping side is drawn again in bands of columns of about this many bytes (at least
// kMinFlipBandColumns pixels wide), each band with this many pixels more on either side, so that
// the strips taken from near its edges are filtered as they would be from a picture of the whole
// side. A tablet side at two pixels per point, 12 MiB, is drawn in four bands of 3.1 MiB.
constexpr long kFlipBandBytes = 4096L << 10;
constexpr int kMinFlipBandColumns = 128;
constexpr int kFlipBandMarginPixels = 8;
// Bands of a side wider than kMinFlipBandColumns are made at least half as wide, margins aside,
// and each must hold a whole strip with a pixel to spare.
static_assert(kMinFlipBandColumns / 2 >= kMaxFlipStripSourcePixels + 1);

} // namespace

void FlipRenderer::draw(const PainterRecording& side, const FlipFrame& frame, CGPoint origin,
                        float displayScale, Image* target, UIPainter& painter)
{
    // Each band of the side's columns is drawn again into one small picture, and the strips taken
    // from it: a picture of the whole side would be one more screen's worth of memory (12 MiB on a
    // tablet at two pixels per point) for as long as the flip runs.
    const PixelSize whole = pixelSizeFor(side.size(), displayScale);
    const float scale = whole.scale;
    // As few bands as the budget allows, all as wide: each band draws the whole side again.
    const long widest =
        std::max<long>(kMinFlipBandColumns, kFlipBandBytes / (4L * whole.height) - 2 * kFlipBandMarginPixels);
    const long bands = (whole.width + widest - 1) / widest;
    const int bandColumns = static_cast<int>(
        std::min<long>(whole.width, (whole.width + bands - 1) / bands + 2 * kFlipBandMarginPixels));
    // (A width in points may come back a pixel wider once rounded up.)
    if (!m_band || m_band->scale() != scale || m_band->pixelHeight() != whole.height ||
        m_band->pixelWidth() < bandColumns || m_band->pixelWidth() > bandColumns + 1)
        m_band = Image::create({static_cast<float>(bandColumns) / scale, side.size().height}, scale);
    Image& band = *m_band;
    // The side is drawn again in the screen's colours, so that its strips need no change on the
    // way there.
    band.setTint(target ? target->tint() : painter.tint());
    const int bandWidth = band.pixelWidth();
    const auto wholePixels = [scale](float points) {
        const float pixels = points * scale;
        return pixels == std::nearbyint(pixels);
    };
    const bool paintsWholeBand = side.opaque() && wholePixels(side.size().width) &&
                                 wholePixels(side.size().height) &&
                                 static_cast<float>(bandWidth) <= side.size().width * scale &&
                                 static_cast<float>(band.pixelHeight()) <= side.size().height * scale;
    UIPainter bandPainter(band);
    // Strips meet on whole pixels of the view; a view placed between pixels moves those edges off
    // them, and there the strips overlap by a fraction of a point so that no seam shows.
    const float stripOverlap = wholePixels(origin.x) ? 0.0f : 0.5f;

    const auto& strips = frame.strips;
    std::vector<ImageColumn> columns;
    std::size_t next = 0;
    while (next < strips.size()) {
        // The band starts a margin before the first strip still to draw, and ends where the side
        // does if it reaches that far, so that both are padded alike at the side's edges.
        const int wanted =
            static_cast<int>(std::floor(strips[next].sourceMinX * scale)) - kFlipBandMarginPixels;
        const int left = std::clamp(wanted, 0, std::max(0, whole.width - bandWidth));
        const int right = left + bandWidth;
        const float leftPoints = static_cast<float>(left) / scale;
        // A side that paints every pixel opaquely first leaves nothing of the band's last columns
        // to show, and clearing it again would write megabytes for nothing in every flip frame at
        // tablet size and two pixels per point.
        if (!paintsWholeBand)
            bandPainter.fill({0, 0, 0, 0});
        side.replay(band, bandPainter, {-leftPoints, 0});
        std::size_t end = next + 1; // a strip wider than a band is drawn from what the band holds
        while (end < strips.size() &&
               (right >= whole.width || strips[end].sourceMaxX * scale + kFlipBandMarginPixels <= right))
            ++end;
        columns.clear();
        for (std::size_t i = next; i < end; ++i) {
            const FlipStrip& s = strips[i];
            columns.push_back({s.sourceMinX - leftPoints, s.sourceMaxX - leftPoints,
                               CGRectMake(origin.x + s.dest.minX(), origin.y + s.dest.minY(),
                                          s.dest.size.width + stripOverlap, s.dest.size.height)});
        }
        // Scaling the strips is a screen's worth of pixels: the target's rows are shared out
        // among the cores. A band the side painted opaquely first stays opaque (whatever follows
        // is drawn over it or clears to black), so its strips are copied rather than blended.
        if (target)
            drawImageColumns(*target, band, columns, paintsWholeBand ? ImageAlpha::Opaque : ImageAlpha::Any);
        else
            for (const ImageColumn& c : columns)
                painter.drawImageColumn(band, c.sourceMinX, c.sourceMaxX, c.dest);
        next = end;
    }
}

} // namespace dazed
