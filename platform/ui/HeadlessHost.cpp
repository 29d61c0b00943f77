#include "platform/ui/HeadlessHost.h"

#include "platform/graphics/UIPainter.h"

#include <algorithm>

namespace dazed {

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
