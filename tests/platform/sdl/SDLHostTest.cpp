#include "platform/sdl/SDLHost.h"

#include "platform/graphics/image/PixelSize.h"
#include "platform/graphics/painter/UIPainter.h"

#include <SDL.h>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace dazed {
namespace {

// These run on SDL's offscreen video driver (the test run sets SDL_VIDEODRIVER), whose windows
// have pixels of their own in memory, as an X11 window has its shared memory image.

std::uint32_t windowPixel(SDL_Window* window, int x, int y)
{
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    std::uint32_t word = 0;
    std::memcpy(&word, static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, 4);
    return word & 0x00FFFFFFu; // the top byte of the window's words means nothing
}

std::unique_ptr<SDLHost> hostWithWindow(int width, int height)
{
    auto created = SDLHost::create("test");
    if (!created)
        return nullptr;
    auto host = std::move(created.value());
    host->showScreen({320, 480});
    SDL_SetWindowSize(SDL_GetWindowFromID(host->windowID()), width, height);
    while (host->pollEvent()) {
    }
    return host;
}

TEST(SDLHost, DrawsTheScreenIntoTheWindowsOwnPixelsWithBlackBarsAround)
{
    // Twice as wide as the screen needs: bars left and right.
    const auto host = hostWithWindow(640, 480);
    ASSERT_TRUE(host);
    ASSERT_TRUE(host->drawsIntoWindowSurface()) << "the offscreen driver's windows have pixels of their own";
    SDL_Surface* surface = SDL_GetWindowSurface(SDL_GetWindowFromID(host->windowID()));
    ASSERT_EQ(surface->w, 640);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 255, 0)); // what a last frame left
    EXPECT_FLOAT_EQ(host->displayScale(), 1.0f);

    CGSize drawnSize;
    const bool drawn = host->drawScreenInPlace({320, 480}, [&](Image& screen) {
        drawnSize = screen.size();
        UIPainter painter(screen);
        painter.fill({1, 0, 0, 1});
        painter.fillRect(CGRectMake(0, 0, 10, 10), {0, 0, 1, 1});
    });
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawnSize, (CGSize{320, 480}));
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 0, 0), 0x000000u) << "the left bar is black";
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 159, 240), 0x000000u);
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 160, 0), 0x0000FFu)
        << "the screen's top left lies at the bar's end";
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 170, 10), 0xFF0000u);
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 479, 479), 0xFF0000u);
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 480, 240), 0x000000u)
        << "the right bar is black";
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 639, 479), 0x000000u);
}

TEST(SDLHost, AScreenDrawnAsideIsCopiedIntoTheWindowClippedToIt)
{
    const auto host = hostWithWindow(320, 960);
    ASSERT_TRUE(host);
    ASSERT_TRUE(host->drawsIntoWindowSurface());
    // A screen of another size than the window expects (as one drawn aside for a window that
    // was resized meanwhile): the part inside the window shows, nothing is written outside.
    auto screen = Image::create({400, 1200}, 1.0f);
    {
        UIPainter painter(*screen);
        painter.fill({0, 0, 1, 1});
    }
    host->present(*screen);
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 0, 0), 0x000000u)
        << "the bar above the screen";
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 0, 240), 0x0000FFu);
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 319, 959), 0x0000FFu);
}

TEST(SDLHost, AWindowTurnedAndResizedIsDrawnIntoAtItsNewSize)
{
    const auto host = hostWithWindow(320, 480);
    ASSERT_TRUE(host);
    host->showScreen({480, 320});
    SDL_SetWindowSize(SDL_GetWindowFromID(host->windowID()), 960, 640);
    while (host->pollEvent()) {
    }
    EXPECT_FLOAT_EQ(host->displayScale(), 2.0f);
    int width = 0;
    const bool drawn = host->drawScreenInPlace({480, 320}, [&](Image& screen) {
        width = screen.pixelWidth();
        UIPainter painter(screen);
        painter.fill({1, 1, 1, 1});
    });
    ASSERT_TRUE(drawn);
    EXPECT_EQ(width, 960);
    EXPECT_EQ(windowPixel(SDL_GetWindowFromID(host->windowID()), 959, 639), 0xFFFFFFu);
}

} // namespace
} // namespace dazed
