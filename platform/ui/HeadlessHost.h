#pragma once

// A host without a window, for tests: events are injected, the clock is set by hand and only moves
// when the loop sleeps to a deadline or a test advances it, and every presented screen is kept.

#include "platform/ui/Host.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>

namespace dazed {

class HeadlessHost final : public Host {
public:
    explicit HeadlessHost(float scale = 1.0f)
        : m_scale(scale)
    {
    }

    void inject(const HostEvent& event) { m_events.push_back(event); }
    void advance(double seconds) { m_now += seconds; }
    void setScale(float scale) { m_scale = scale; }

    [[nodiscard]] CGSize screenSize() const { return m_screenSize; }
    [[nodiscard]] int presentCount() const { return m_presentCount; }
    // A copy of the last screen presented; null when none was, or while copies are not kept.
    [[nodiscard]] const std::shared_ptr<Image>& lastPresented() const { return m_lastPresented; }
    // Copies cost a screen's worth of pixels each; a run that only counts frames can do without.
    void setKeepsPresented(bool keeps);
    [[nodiscard]] const std::vector<std::string>& openedURLs() const { return m_openedURLs; }
    // The deadline of every wait, in order; none for a wait that would sleep until an event.
    [[nodiscard]] const std::vector<std::optional<double>>& waits() const { return m_waits; }
    void setOpenURLSucceeds(bool succeeds) { m_openSucceeds = succeeds; }
    // Like a window, lends pixels of its own to draw the screen in place: a block with a margin of
    // kLentMargin pixels on every side, which holds kLentMarginPixel and must keep it.
    void setLendsPixels(bool lends) { m_lendsPixels = lends; }
    static constexpr int kLentMargin = 3;
    static constexpr std::uint32_t kLentMarginPixel = 0x00C0FFEEu;
    // Whether every pixel of the margin still holds kLentMarginPixel; true before any lending.
    [[nodiscard]] bool lentMarginIntact() const;

    void showScreen(CGSize size) override;
    void setScreenFit(ScreenFit fit) override { m_fit = fit; }
    [[nodiscard]] ScreenFit screenFit() const { return m_fit; }
    // A window of `size` points for a screen that fits it; a ResizeInput tells the loop.
    void setWindowSize(CGSize size) { m_windowSize = size; }
    [[nodiscard]] std::optional<CGSize> windowSize() const override { return m_windowSize; }
    [[nodiscard]] float displayScale() const override { return m_scale; }
    void present(const Image& screen) override;
    bool drawScreenInPlace(CGSize size, const std::function<void(Image&)>& draw) override;
    // With nothing queued and no deadline nothing could ever arrive, so this answers QuitInput.
    std::optional<HostEvent> waitEvent(std::optional<double> deadline) override;
    std::optional<HostEvent> pollEvent() override;
    [[nodiscard]] double now() const override { return m_now; }
    [[nodiscard]] double frameInterval() const override { return 1.0 / 60.0; }
    bool openURL(const std::string& url) override;
    void toggleFullScreen() override { ++m_fullScreenToggles; }
    [[nodiscard]] int fullScreenToggles() const { return m_fullScreenToggles; }
    void setPointerTint(ScreenTint tint) override { m_pointerTint = tint; }
    void interruptWait() override { ++m_interruptions; }
    // How often another thread woke the loop.
    [[nodiscard]] int interruptions() const { return m_interruptions.load(); }
    [[nodiscard]] ScreenTint pointerTint() const { return m_pointerTint; }

private:
    [[nodiscard]] bool inLentMargin(int x, int y) const;
    [[nodiscard]] std::size_t lentIndex(int x, int y) const;

    float m_scale;
    double m_now{0};
    CGSize m_screenSize;
    ScreenFit m_fit{ScreenFit::Device};
    std::optional<CGSize> m_windowSize;
    std::deque<HostEvent> m_events;
    int m_presentCount{0};
    bool m_keepsPresented{true};
    std::shared_ptr<Image> m_lastPresented;
    std::vector<std::string> m_openedURLs;
    std::vector<std::optional<double>> m_waits;
    bool m_openSucceeds{true};
    int m_fullScreenToggles{0};
    ScreenTint m_pointerTint{ScreenTint::Day};
    std::atomic<int> m_interruptions{0};
    bool m_lendsPixels{false};
    std::vector<std::uint32_t> m_lent;
    int m_lentWidth{0};
    int m_lentHeight{0};
};

} // namespace dazed
