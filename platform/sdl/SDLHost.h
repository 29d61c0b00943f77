#pragma once

// The desktop host: one resizable, HiDPI-aware SDL window showing the device screen letterboxed.
// The screen is drawn straight into the window's own pixels where it has them (X11's shared
// memory image), or else fed through a streaming texture of a renderer; events come from SDL's
// event wait, so an idle application sleeps in the kernel instead of polling.

#include "platform/Result.h"
#include "platform/ui/Host.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace dazed {

class SDLHost final : public Host {
public:
    // Fails, saying why, when SDL's video cannot start or there is no display to show a window on.
    static Result<std::unique_ptr<SDLHost>> create(const std::string& title);
    ~SDLHost() override;
    SDLHost(const SDLHost&) = delete;
    SDLHost& operator=(const SDLHost&) = delete;

    void showScreen(CGSize size) override;
    void setScreenFit(ScreenFit fit) override;
    [[nodiscard]] std::optional<CGSize> windowSize() const override;
    [[nodiscard]] float displayScale() const override;
    void present(const Image& screen) override;
    bool drawScreenInPlace(CGSize size, const std::function<void(Image&)>& draw) override;
    std::optional<HostEvent> waitEvent(std::optional<double> deadline) override;
    std::optional<HostEvent> pollEvent() override;
    [[nodiscard]] double now() const override;
    [[nodiscard]] double frameInterval() const override;
    bool openURL(const std::string& url) override;
    void toggleFullScreen() override;
    // At night a red arrow of the window's own replaces the system's pointer over the window; by
    // day the system's comes back.
    void setPointerTint(ScreenTint tint) override;
    // Pushes an event of the host's own that ends the wait; SDL's queue takes events from any thread.
    void interruptWait() override;

    // SDL's number for the window (SDL_GetWindowFromID finds it); 0 before showScreen made it.
    [[nodiscard]] std::uint32_t windowID() const;
    // True when frames go into the window's own pixels; false when through a renderer.
    [[nodiscard]] bool drawsIntoWindowSurface() const;

    // The window, its renderer and the event translator, kept out of this header so that nothing
    // that uses the host sees SDL.
    struct Impl;

private:
    explicit SDLHost(std::string title);
    std::unique_ptr<Impl> m_impl;
};

} // namespace dazed
