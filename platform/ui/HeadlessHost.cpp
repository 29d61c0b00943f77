#include "platform/ui/HeadlessHost.h"

#include "platform/graphics/image/PixelSize.h"
#include "platform/graphics/painter/UIPainter.h"

#include <algorithm>

namespace dazed {

void HeadlessHost::showScreen(CGSize size)
{
    // As a desktop window does: a window showing the screen exactly turns with the device.
    if (m_fit == ScreenFit::Window && m_windowSize && *m_windowSize == m_screenSize &&
        size == CGSize{m_screenSize.height, m_screenSize.width})
        m_windowSize = size;
    m_screenSize = size;
}

void HeadlessHost::present(const Image& screen)
{
    ++m_presentCount;
    if (!m_keepsPresented)
        return;
    // Keep a copy: the caller draws the next frame into the same image. The previous copy is
    // copied over when nobody else holds it and its size still fits; a caller that kept it keeps
    // the frame it took.
    const bool reusable = m_lastPresented && m_lastPresented.use_count() == 1 &&
                          m_lastPresented->scale() == screen.scale() &&
                          m_lastPresented->pixelWidth() == screen.pixelWidth() &&
                          m_lastPresented->pixelHeight() == screen.pixelHeight();
    if (!reusable)
        m_lastPresented = Image::create(screen.size(), screen.scale());
    UIPainter painter(*m_lastPresented);
    painter.copyPixels(screen);
}

bool HeadlessHost::drawScreenInPlace(CGSize size, const std::function<void(Image&)>& draw)
{
    if (!m_lendsPixels)
        return false;
    const PixelSize pixels = pixelSizeFor(size, m_scale);
    const int width = pixels.width + 2 * kLentMargin;
    const int height = pixels.height + 2 * kLentMargin;
    // Whatever the last frame left is not cleared, as a window's pixels are not; the margin is
    // laid once for each size.
    if (width != m_lentWidth || height != m_lentHeight) {
        m_lentWidth = width;
        m_lentHeight = height;
        m_lent.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (inLentMargin(x, y))
                    m_lent[lentIndex(x, y)] = kLentMarginPixel;
    }
    const int stride = m_lentWidth * 4;
    auto* first = reinterpret_cast<std::uint8_t*>(m_lent.data()) +
                  static_cast<std::ptrdiff_t>(kLentMargin) * stride + kLentMargin * 4;
    const auto screen = Image::borrowOpaquePixels(first, pixels.width, pixels.height, stride, pixels.scale);
    if (!screen)
        return false;
    draw(*screen);
    present(*screen);
    return true;
}

bool HeadlessHost::inLentMargin(int x, int y) const
{
    return x < kLentMargin || y < kLentMargin || x >= m_lentWidth - kLentMargin ||
           y >= m_lentHeight - kLentMargin;
}

std::size_t HeadlessHost::lentIndex(int x, int y) const
{
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_lentWidth) + static_cast<std::size_t>(x);
}

bool HeadlessHost::lentMarginIntact() const
{
    for (int y = 0; y < m_lentHeight; ++y)
        for (int x = 0; x < m_lentWidth; ++x)
            if (inLentMargin(x, y) && m_lent[lentIndex(x, y)] != kLentMarginPixel)
                return false;
    return true;
}

void HeadlessHost::setKeepsPresented(bool keeps)
{
    m_keepsPresented = keeps;
    if (!keeps)
        m_lastPresented.reset();
}

std::optional<HostEvent> HeadlessHost::waitEvent(std::optional<double> deadline)
{
    m_waits.push_back(deadline);
    if (!m_events.empty())
        return pollEvent();
    if (!deadline)
        return QuitInput{};
    m_now = std::max(m_now, *deadline);
    return std::nullopt;
}

std::optional<HostEvent> HeadlessHost::pollEvent()
{
    if (m_events.empty())
        return std::nullopt;
    HostEvent e = std::move(m_events.front());
    m_events.pop_front();
    return e;
}

bool HeadlessHost::openURL(const std::string& url)
{
    m_openedURLs.push_back(url);
    return m_openSucceeds;
}

} // namespace dazed
