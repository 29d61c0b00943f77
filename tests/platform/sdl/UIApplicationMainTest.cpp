#include "platform/ui/UIApplicationMain.h"

#include "platform/sdl/SDLHost.h"
#include "platform/ui/ClassRegistry.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace dazed {
namespace {

// These run on SDL's offscreen video driver (the test run sets SDL_VIDEODRIVER).

TEST(UIApplicationMain, AMissingInterfaceDescriptionEndsWithExitCodeOne)
{
    char arg0[] = "dazed", arg1[] = "--interface", arg2[] = "/nonexistent/MainWindow.json";
    char* argv[] = {arg0, arg1, arg2, nullptr};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(UIApplicationMain(3, argv, nullptr, nullptr), 1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("/nonexistent/MainWindow.json"), std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

TEST(UIApplicationMain, ABadDeviceEndsWithExitCodeOne)
{
    char arg0[] = "dazed", arg1[] = "--device=toaster";
    char* argv[] = {arg0, arg1, nullptr};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(UIApplicationMain(2, argv, nullptr, nullptr), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("toaster"), std::string::npos);
}

TEST(SDLHost, WaitsForInjectedEventsAndTimesOutAtTheDeadline)
{
    auto created = SDLHost::create("test");
    ASSERT_TRUE(created) << created.error().message;
    auto& host = created.value();
    host->showScreen({320, 480});
    EXPECT_GT(host->displayScale(), 0.0f);
    // Drain whatever the window's creation queued.
    while (host->pollEvent()) {
    }
    const double start = host->now();
    EXPECT_FALSE(host->waitEvent(start + 0.05));
    EXPECT_GE(host->now() - start, 0.04);

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_RIGHT;
    key.key.keysym.mod = KMOD_LCTRL;
    SDL_PushEvent(&key);
    auto e = host->waitEvent(std::nullopt);
    ASSERT_TRUE(e);
    EXPECT_TRUE(std::holds_alternative<RotateInput>(*e));

    auto screen = Image::create({320, 480}, host->displayScale());
    host->present(*screen); // no crash on the offscreen renderer
    host->showScreen({480, 320});
}

TEST(UIApplicationMain, RunsTheShippedPhoneDescriptionUntilItQuits)
{
    ClassRegistry::shared().registerDelegate("AppDelegate_Phone", [] {
        struct Delegate : UIApplicationDelegate {};
        return std::make_unique<Delegate>();
    });
    ClassRegistry::shared().registerController<UIViewController>("RootViewController");
    std::string interface = std::string(DAZED_RESOURCE_DIR) + "/MainWindow_Phone.json";
    char arg0[] = "dazed", arg1[] = "--quit-after=0.2", arg2[] = "--interface";
    char* argv[] = {arg0, arg1, arg2, interface.data(), nullptr};
    EXPECT_EQ(UIApplicationMain(4, argv, nullptr, nullptr), 0);
}

} // namespace
} // namespace dazed
