#pragma once

// The desktop host: one resizable, HiDPI-aware SDL window showing the device screen letterboxed.
// The screen is drawn straight into the window's own pixels where it has them (X11's shared
// memory image), or else fed through a streaming texture of a renderer; events come from SDL's
// event wait, so an idle application sleeps in the kernel instead of polling.

#include "platform/Result.h"
#include "platform/sdl/SDLEventTranslator.h"
#include "platform/ui/Host.h"

#include <SDL.h>
#include <functional>
#include <memory>
#include <string>

namespace dazed {

struct SDLWindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct SDLRendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct SDLTextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};

class SDLHost final : public Host {
public:
    // Fails, saying why, when SDL's video cannot start or there is no display to show a window on.
    static Result<std::unique_ptr<SDLHost>> create(const std::string& title);
    ~SDLHost() override;
    SDLHost(const SDLHost&) = delete;
    SDLHost& operator=(const SDLHost&) = delete;

    void showScreen(CGSize size) override;
    [[nodiscard]] float displayScale() const override { return m_translator.letterbox().scale; }
    void present(const Image& screen) override;
    bool drawScreenInPlace(CGSize size, const std::function<void(Image&)>& draw) override;
    std::optional<HostEvent> waitEvent(std::optional<double> deadline) override;
    std::optional<HostEvent> pollEvent() override;
    [[nodiscard]] double now() const override;
    [[nodiscard]] double frameInterval() const override;
    bool openURL(const std::string& url) override;
    void toggleFullScreen() override;

    [[nodiscard]] SDL_Window* window() const { return m_window.get(); }
    // True when frames go into the window's own pixels; false when through a renderer.
    [[nodiscard]] bool drawsIntoWindowSurface() const { return m_usesWindowSurface; }

private:
    explicit SDLHost(std::string title);
    void updateGeometry();
    std::optional<HostEvent> translate(const SDL_Event& event);
    // The window's pixels when frames are drawn into them and SDL has them in the one format
    // drawn (32-bit xRGB); null otherwise.
    [[nodiscard]] SDL_Surface* windowSurface() const;
    [[nodiscard]] SDL_Rect pictureDestination(int pictureWidth, int pictureHeight) const;
    // Blacks out what lies around `picture` in the window surface and shows the surface.
    void showWindowSurface(SDL_Surface* surface, const SDL_Rect& picture);

    std::string m_title;
    std::unique_ptr<SDL_Window, SDLWindowDeleter> m_window;
    std::unique_ptr<SDL_Renderer, SDLRendererDeleter> m_renderer;
    std::unique_ptr<SDL_Texture, SDLTextureDeleter> m_texture;
    bool m_usesWindowSurface{false};
    int m_textureWidth{0};
    int m_textureHeight{0};
    CGSize m_screen;
    SDLEventTranslator m_translator;
};

} // namespace dazed
