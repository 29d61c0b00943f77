#include "platform/sdl/SDLHost.h"

#include "platform/graphics/image/PixelSize.h"
#include "platform/sdl/SDLEventTranslator.h"
#include "platform/sdl/VideoDriverChoice.h"
#include "platform/sdl/WaylandSeatProbe.h"

#include <SDL.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace dazed {

namespace {
// The largest share of the desktop the first window takes, so that a tablet screen fits.
constexpr float kMaxDesktopShare = 0.9f;
constexpr double kDefaultFrameRate = 60.0;

// The window's bars around `picture`, as SDL rectangles.
std::vector<SDL_Rect> sdlBarsAround(const SDL_Rect& picture, int windowWidth, int windowHeight)
{
    std::vector<SDL_Rect> bars;
    for (const PixelRect& bar :
         barsAround({picture.x, picture.y, picture.w, picture.h}, windowWidth, windowHeight))
        bars.push_back({bar.x, bar.y, bar.width, bar.height});
    return bars;
}
} // namespace

struct SDLWindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct SDLRendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct SDLTextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
struct SDLCursorDeleter {
    void operator()(SDL_Cursor* c) const { SDL_FreeCursor(c); }
};
struct SDLSurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

namespace {
// The night pointer: an arrow, its tip at the top left, '#' its black edge and '+' its red body.
constexpr const char* kNightArrow[] = {
    "#",        "##",        "#+#",       "#++#",       "#+++#",       "#++++#",
    "#+++++#",  "#++++++#",  "#+++++++#", "#++++++++#", "#+++++++++#", "#++++++#####",
    "#+++#++#", "#++# #++#", "#+#  #++#", "##    #++#", "#     #++#",  "       ##",
};
constexpr int kNightArrowRows = static_cast<int>(sizeof kNightArrow / sizeof kNightArrow[0]);
constexpr int kNightArrowColumns = 12;
// Red as dim as can still be found at a glance: no brighter than the day pointer's white.
constexpr std::uint8_t kNightArrowRed = 200;

// The night arrow at `pixelsPerDot` pixels a dot of the pattern, or null when SDL cannot make it.
SDL_Cursor* makeNightArrow(int pixelsPerDot)
{
    const int n = std::clamp(pixelsPerDot, 1, 4);
    std::unique_ptr<SDL_Surface, SDLSurfaceDeleter> picture(SDL_CreateRGBSurfaceWithFormat(
        0, kNightArrowColumns * n, kNightArrowRows * n, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!picture || (SDL_MUSTLOCK(picture.get()) && SDL_LockSurface(picture.get()) != 0))
        return nullptr;
    for (int y = 0; y < picture->h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(picture->pixels) +
                                                     static_cast<std::ptrdiff_t>(y) * picture->pitch);
        const char* dots = kNightArrow[y / n];
        const int length = static_cast<int>(std::strlen(dots));
        for (int x = 0; x < picture->w; ++x) {
            const char dot = x / n < length ? dots[x / n] : ' ';
            row[x] = dot == '#'   ? 0xFF000000u
                     : dot == '+' ? 0xFF000000u | (std::uint32_t{kNightArrowRed} << 16)
                                  : 0u;
        }
    }
    if (SDL_MUSTLOCK(picture.get()))
        SDL_UnlockSurface(picture.get());
    return SDL_CreateColorCursor(picture.get(), 0, 0);
}
} // namespace

struct SDLHost::Impl {
    explicit Impl(std::string title)
        : m_title(std::move(title))
        , m_wakeEvent(SDL_RegisterEvents(1))
    {
    }
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void showScreen(CGSize size);
    [[nodiscard]] float displayScale() const { return m_translator.letterbox().scale; }
    void present(const Image& screen);
    bool drawScreenInPlace(CGSize size, const std::function<void(Image&)>& draw);
    std::optional<HostEvent> waitEvent(std::optional<double> deadline);
    std::optional<HostEvent> pollEvent();
    [[nodiscard]] double now() const;
    [[nodiscard]] double frameInterval() const;
    void toggleFullScreen();
    void setPointerTint(ScreenTint tint);

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
    // Made the first time night falls and kept (SDL_SetCursor keeps a pointer to it).
    std::unique_ptr<SDL_Cursor, SDLCursorDeleter> m_nightCursor;
    bool m_usesWindowSurface{false};
    int m_textureWidth{0};
    int m_textureHeight{0};
    CGSize m_screen;
    ScreenFit m_fit{ScreenFit::Device};
    SDLEventTranslator m_translator;
    // The event type interruptWait pushes; (Uint32)-1 when SDL had none left to give.
    Uint32 m_wakeEvent;
};

Result<std::unique_ptr<SDLHost>> SDLHost::create(const std::string& title)
{
    // Fingers and the mouse are translated separately; SDL must not make either out of the other,
    // or every touch would arrive twice.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    // A drag that leaves the window must still hear where its button was released.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1");
    // SDL falls back to drawing into memory when no display answers; a window nobody can see is
    // no window. Those drivers are used only when asked for by name (tests, screenshots).
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const bool driverAsked = asked && *asked;
    const auto unset = [](const char* name) {
        const char* value = std::getenv(name);
        return !value || !*value;
    };
    if (!driverAsked && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
        return failure("neither DISPLAY nor WAYLAND_DISPLAY is set");
    }
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    const DisplayEnvironment environment{variable("SDL_VIDEODRIVER"), variable("WAYLAND_DISPLAY"),
                                         variable("DISPLAY")};
    const VideoDriverChoice choice =
        chooseVideoDriver(environment, [&] { return lookForWaylandSeat(environment.waylandDisplay); });
    switch (choice.action) {
    case VideoDriverChoice::Action::LeaveToSdl:
        break;
    case VideoDriverChoice::Action::Ask:
        SDL_SetHint(SDL_HINT_VIDEODRIVER, choice.drivers.c_str());
        break;
    case VideoDriverChoice::Action::Refuse:
        return failure(choice.reason);
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return failure(std::string("cannot start SDL video: ") + SDL_GetError());
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driverAsked && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return failure("no X11 or Wayland display could be opened");
    }
    return std::unique_ptr<SDLHost>(new SDLHost(title));
}

SDLHost::SDLHost(std::string title)
    : m_impl(std::make_unique<Impl>(std::move(title)))
{
}

SDLHost::~SDLHost() = default;

SDLHost::Impl::~Impl()
{
    if (m_nightCursor)
        SDL_SetCursor(SDL_GetDefaultCursor());
    m_nightCursor.reset();
    m_texture.reset();
    m_renderer.reset();
    m_window.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SDLHost::Impl::showScreen(CGSize size)
{
    const CGSize previous = m_screen;
    m_screen = size;
    if (!m_window) {
        SDL_Rect usable{0, 0, 0, 0};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
            usable = {0, 0, 0, 0};
        const WindowPixels opening = initialWindowSize(size, usable.w, usable.h, kMaxDesktopShare);
        m_window.reset(SDL_CreateWindow(m_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        opening.width, opening.height,
                                        SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI));
        // Every frame is drawn by Cairo in memory and shown one pixel for one, so it is drawn
        // straight into the window's own pixels (shared memory under X11): no GL stack is loaded
        // to copy it (on a machine without a GPU, Mesa's software rasteriser took over half of the
        // first frame's time and most of its memory), and no screen image or texture is kept beside
        // the window's (24 MiB for a tablet at two pixels per point). The display cycle is paced
        // by the loop, not by a renderer's vsync. Where the window has no surface of its own in
        // the format drawn, the software renderer converts; where it has no surface at all, or
        // SDL_RENDER_DRIVER names a renderer, the accelerated one is used.
        if (m_window) {
            if (!SDL_GetHint(SDL_HINT_RENDER_DRIVER)) {
                SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
                m_usesWindowSurface = true;
                if (!windowSurface()) {
                    m_usesWindowSurface = false;
                    m_renderer.reset(SDL_CreateRenderer(m_window.get(), -1, SDL_RENDERER_SOFTWARE));
                }
            }
            if (!m_usesWindowSurface && !m_renderer)
                m_renderer.reset(SDL_CreateRenderer(m_window.get(), -1,
                                                    SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
            if (!m_usesWindowSurface && !m_renderer)
                m_renderer.reset(SDL_CreateRenderer(m_window.get(), -1, 0));
        }
    } else if (previous.width != size.width && previous.width == size.height) {
        // The device turned: turn the window with it, keeping its area. A window the screen fits
        // turns only while it still shows the screen as it was: otherwise the new size came from
        // the window itself, resized by its user.
        int w = 0, h = 0;
        SDL_GetWindowSize(m_window.get(), &w, &h);
        const bool showsPrevious =
            static_cast<float>(w) == previous.width && static_cast<float>(h) == previous.height;
        if (m_fit == ScreenFit::Device || showsPrevious)
            SDL_SetWindowSize(m_window.get(), h, w);
    }
    updateGeometry();
}

void SDLHost::setScreenFit(ScreenFit fit)
{
    m_impl->m_fit = fit;
}

std::optional<CGSize> SDLHost::windowSize() const
{
    if (!m_impl->m_window)
        return std::nullopt;
    int w = 0, h = 0;
    SDL_GetWindowSize(m_impl->m_window.get(), &w, &h);
    return CGSize{static_cast<float>(w), static_cast<float>(h)};
}

void SDLHost::Impl::updateGeometry()
{
    int w = 1, h = 1, pw = 1, ph = 1;
    if (m_window)
        SDL_GetWindowSize(m_window.get(), &w, &h);
    pw = w;
    ph = h;
    if (SDL_Surface* surface = windowSurface()) {
        pw = surface->w;
        ph = surface->h;
    } else if (m_renderer) {
        SDL_GetRendererOutputSize(m_renderer.get(), &pw, &ph);
    }
    m_translator.setGeometry(w, h, pw, ph, m_screen);
}

SDL_Surface* SDLHost::Impl::windowSurface() const
{
    if (!m_usesWindowSurface || !m_window)
        return nullptr;
    // SDL makes the surface again after the window changed size.
    SDL_Surface* surface = SDL_GetWindowSurface(m_window.get());
    if (!surface || !surface->format || surface->format->format != SDL_PIXELFORMAT_RGB888 || !surface->pixels)
        return nullptr;
    return surface;
}

SDL_Rect SDLHost::Impl::pictureDestination(int pictureWidth, int pictureHeight) const
{
    const CGRect d = m_translator.letterbox().destinationPixels();
    return {saturatingInt(d.minX(), INT_MIN, INT_MAX), saturatingInt(d.minY(), INT_MIN, INT_MAX),
            pictureWidth, pictureHeight};
}

void SDLHost::Impl::showWindowSurface(SDL_Surface* surface, const SDL_Rect& picture)
{
    const std::vector<SDL_Rect> bars = sdlBarsAround(picture, surface->w, surface->h);
    if (!bars.empty())
        SDL_FillRects(surface, bars.data(), static_cast<int>(bars.size()),
                      SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(m_window.get());
}

bool SDLHost::Impl::drawScreenInPlace(CGSize size, const std::function<void(Image&)>& draw)
{
    SDL_Surface* surface = windowSurface();
    if (!surface)
        return false;
    const PixelSize pixels = pixelSizeFor(size, displayScale());
    const SDL_Rect dest = pictureDestination(pixels.width, pixels.height);
    // A picture that does not lie wholly inside the window (its size is rounded up) is drawn
    // aside and copied in by present(), which clips it.
    if (dest.x < 0 || dest.y < 0 || dest.w > surface->w - dest.x || dest.h > surface->h - dest.y)
        return false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
        return false;
    auto* first = static_cast<std::uint8_t*>(surface->pixels) +
                  static_cast<std::ptrdiff_t>(dest.y) * surface->pitch +
                  static_cast<std::ptrdiff_t>(dest.x) * 4;
    bool drawn = false;
    if (auto screen = Image::borrowOpaquePixels(first, dest.w, dest.h, surface->pitch, pixels.scale)) {
        draw(*screen);
        drawn = true;
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    if (drawn)
        showWindowSurface(surface, dest);
    return drawn;
}

void SDLHost::Impl::present(const Image& screen)
{
    if (SDL_Surface* surface = windowSurface()) {
        const SDL_Rect dest = pictureDestination(screen.pixelWidth(), screen.pixelHeight());
        // SDL_BlitSurface clips to the window and writes back the part it copied.
        SDL_Rect shown = dest;
        if (SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(
                const_cast<std::uint8_t*>(screen.pixels()), screen.pixelWidth(), screen.pixelHeight(), 32,
                screen.stride(), SDL_PIXELFORMAT_ARGB8888)) {
            SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);
            SDL_BlitSurface(picture, nullptr, surface, &shown);
            SDL_FreeSurface(picture);
        }
        showWindowSurface(surface, dest);
        return;
    }
    if (!m_renderer)
        return;
    if (!m_texture || m_textureWidth != screen.pixelWidth() || m_textureHeight != screen.pixelHeight()) {
        m_textureWidth = screen.pixelWidth();
        m_textureHeight = screen.pixelHeight();
        // Cairo's ARGB32 in native byte order is SDL's ARGB8888 on every supported machine.
        m_texture.reset(SDL_CreateTexture(m_renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_STREAMING, m_textureWidth, m_textureHeight));
        // The screen is opaque (the loop fills it black first): copied, not blended.
        if (m_texture)
            SDL_SetTextureBlendMode(m_texture.get(), SDL_BLENDMODE_NONE);
    }
    if (!m_texture)
        return;
    SDL_UpdateTexture(m_texture.get(), nullptr, screen.pixels(), screen.stride());
    const SDL_Rect dest = pictureDestination(m_textureWidth, m_textureHeight);
    // Only the bars around the picture are cleared: clearing the whole window first would write
    // every pixel the picture covers twice.
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetRendererOutputSize(m_renderer.get(), &windowWidth, &windowHeight);
    const std::vector<SDL_Rect> bars = sdlBarsAround(dest, windowWidth, windowHeight);
    SDL_SetRenderDrawColor(m_renderer.get(), 0, 0, 0, 255);
    if (!bars.empty())
        SDL_RenderFillRects(m_renderer.get(), bars.data(), static_cast<int>(bars.size()));
    SDL_RenderCopy(m_renderer.get(), m_texture.get(), nullptr, &dest);
    SDL_RenderPresent(m_renderer.get());
}

std::optional<HostEvent> SDLHost::Impl::translate(const SDL_Event& event)
{
    if (event.type == SDL_WINDOWEVENT || event.type == SDL_RENDER_TARGETS_RESET) {
        updateGeometry();
        if (event.type == SDL_RENDER_TARGETS_RESET) {
            m_texture.reset();
            return ResizeInput{};
        }
    }
    return m_translator.translate(event, SDL_GetModState());
}

namespace {
bool sdlFingerIsDown(SDL_TouchID touchId, SDL_FingerID fingerId)
{
    const int count = SDL_GetNumTouchFingers(touchId);
    for (int i = 0; i < count; ++i)
        if (const SDL_Finger* finger = SDL_GetTouchFinger(touchId, i); finger && finger->id == fingerId)
            return true;
    return false;
}
} // namespace

std::optional<HostEvent> SDLHost::Impl::waitEvent(std::optional<double> deadline)
{
    SDL_Event event;
    for (;;) {
        // Every queued event has been handled, so SDL's list of fingers is what the application
        // has seen too: fingers missing from it lost their lift somewhere.
        SDL_PumpEvents();
        if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
            if (auto lost = m_translator.cancelLostFingers(sdlFingerIsDown))
                return lost;
        int got = 0;
        if (deadline) {
            const double left = *deadline - now();
            if (left <= 0)
                return pollEvent();
            got = SDL_WaitEventTimeout(&event, saturatingInt(std::ceil(left * 1000.0), 1, INT_MAX));
            if (!got)
                return std::nullopt;
        } else {
            got = SDL_WaitEvent(&event);
            if (!got)
                return QuitInput{}; // the event system has failed; nothing more can arrive
        }
        if (event.type == m_wakeEvent)
            return std::nullopt;
        if (auto translated = translate(event))
            return translated;
    }
}

std::optional<HostEvent> SDLHost::Impl::pollEvent()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (auto translated = translate(event))
            return translated;
    return std::nullopt;
}

double SDLHost::Impl::now() const
{
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

double SDLHost::Impl::frameInterval() const
{
    SDL_DisplayMode mode;
    const int display = m_window ? SDL_GetWindowDisplayIndex(m_window.get()) : 0;
    if (SDL_GetCurrentDisplayMode(std::max(0, display), &mode) == 0 && mode.refresh_rate > 0)
        return 1.0 / mode.refresh_rate;
    return 1.0 / kDefaultFrameRate;
}

void SDLHost::Impl::toggleFullScreen()
{
    if (!m_window)
        return;
    const bool full = (SDL_GetWindowFlags(m_window.get()) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(m_window.get(), full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    updateGeometry();
}

void SDLHost::Impl::setPointerTint(ScreenTint tint)
{
    if (tint == ScreenTint::Day) {
        if (SDL_Cursor* standard = SDL_GetDefaultCursor())
            SDL_SetCursor(standard);
        return;
    }
    // Drawn at the window's pixel density, so that it is as big as the system's on HiDPI too.
    if (!m_nightCursor)
        m_nightCursor.reset(makeNightArrow(static_cast<int>(std::lround(displayScale()))));
    if (m_nightCursor)
        SDL_SetCursor(m_nightCursor.get());
}

bool SDLHost::openURL(const std::string& url)
{
    return SDL_OpenURL(url.c_str()) == 0;
}

void SDLHost::showScreen(CGSize size)
{
    m_impl->showScreen(size);
}

float SDLHost::displayScale() const
{
    return m_impl->displayScale();
}

void SDLHost::present(const Image& screen)
{
    m_impl->present(screen);
}

bool SDLHost::drawScreenInPlace(CGSize size, const std::function<void(Image&)>& draw)
{
    return m_impl->drawScreenInPlace(size, draw);
}

std::optional<HostEvent> SDLHost::waitEvent(std::optional<double> deadline)
{
    return m_impl->waitEvent(deadline);
}

std::optional<HostEvent> SDLHost::pollEvent()
{
    return m_impl->pollEvent();
}

double SDLHost::now() const
{
    return m_impl->now();
}

double SDLHost::frameInterval() const
{
    return m_impl->frameInterval();
}

void SDLHost::toggleFullScreen()
{
    m_impl->toggleFullScreen();
}

void SDLHost::setPointerTint(ScreenTint tint)
{
    m_impl->setPointerTint(tint);
}

void SDLHost::interruptWait()
{
    if (m_impl->m_wakeEvent == static_cast<Uint32>(-1))
        return;
    SDL_Event wake{};
    wake.type = m_impl->m_wakeEvent;
    SDL_PushEvent(&wake);
}

std::uint32_t SDLHost::windowID() const
{
    return m_impl->m_window ? SDL_GetWindowID(m_impl->m_window.get()) : 0;
}

bool SDLHost::drawsIntoWindowSurface() const
{
    return m_impl->m_usesWindowSurface;
}

} // namespace dazed
