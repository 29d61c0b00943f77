#include "SkyScreenTestSupport.h"
#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIApplication.h"
#include "render/QuartzView.h"
#include "sky/SolarSystem.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using namespace std::chrono;
using test::DeviceSetUp;
using test::RecordingMainViewController;

const system_clock::time_point kNow = sys_days{2026y / December / 9} + 21h + 30min + 15s;
const GeographicPlace kParis{48.85, 2.35, 0};

// A sky screen on a phone whose controller reads a fixed clock, with a host attached to the
// application so that wake-ups can be scheduled.
struct SkyScreen {
    DeviceSetUp device{{320, 480}};
    HeadlessHost host;
    RecordingMainViewController controller{"MainView"};

    explicit SkyScreen(std::optional<SkyLayerState> layer)
    {
        UIApplication::sharedApplication().reset();
        UIApplication::sharedApplication().attachHost(&host);
        controller.setClock([] { return kNow; });
        if (layer)
            controller.setSkyLayer(*layer);
        [[maybe_unused]] const auto& loaded = controller.view(); // loads it, and viewDidLoad runs
    }
    ~SkyScreen() { UIApplication::sharedApplication().reset(); }
    SkyScreen(const SkyScreen&) = delete;
    SkyScreen& operator=(const SkyScreen&) = delete;

    bool press(char c) { return controller.keyDown(UIKey::fromCharacter(c)); }
    std::vector<SkyViewCommand> take() { return std::exchange(controller.commands, {}); }
};

SkyLayerState shownAt(std::optional<UtcTime> time)
{
    return {kParis, time, 60, true};
}

std::optional<UtcTime> skyTimeSent(const std::vector<SkyViewCommand>& commands)
{
    for (const auto& c : commands)
        if (const auto* sky = std::get_if<SetSkyCommand>(&c); sky && sky->sky)
            return sky->sky->time;
    return std::nullopt;
}

TEST(SkyLayerKeys, WithoutAPlaceTheKeysAreNotHandledAndNoWakeUpIsAsked)
{
    SkyScreen screen(std::nullopt);
    screen.take();
    for (const char c : {'t', 'n', '[', ']', '{', '}', 'h'})
        EXPECT_FALSE(screen.press(c)) << c;
    EXPECT_TRUE(screen.take().empty());
    EXPECT_FALSE(UIApplication::sharedApplication().wakeUpTime());
    EXPECT_FALSE(screen.controller.quartzView()->skySnapshot());
}

TEST(SkyLayerKeys, FollowingTheClockTheSkyIsSentAndAWakeUpAskedForTheNextMinute)
{
    SkyScreen screen(shownAt(std::nullopt));
    EXPECT_EQ(skyTimeSent(screen.take()), (UtcTime{2026, 12, 9, 21, 30, 15.0}));
    ASSERT_TRUE(screen.controller.quartzView()->skySnapshot());
    const auto wake = UIApplication::sharedApplication().wakeUpTime();
    ASSERT_TRUE(wake);
    EXPECT_DOUBLE_EQ(*wake, screen.host.now() + 45.0);
    // The wake-up works the sky out again and asks for the next one.
    screen.host.advance(45.0);
    UIApplication::sharedApplication().runWakeUpIfDue(screen.host.now());
    EXPECT_TRUE(skyTimeSent(screen.take()));
    EXPECT_TRUE(UIApplication::sharedApplication().wakeUpTime());
}

TEST(SkyLayerKeys, BracketsAndBracesStepTheTimeAndFixIt)
{
    SkyScreen screen(shownAt(std::nullopt));
    screen.take();
    EXPECT_TRUE(screen.press(']'));
    EXPECT_EQ(skyTimeSent(screen.take()), (UtcTime{2026, 12, 9, 22, 30, 15.0}));
    EXPECT_FALSE(UIApplication::sharedApplication().wakeUpTime()) << "a fixed time needs no wake-up";
    EXPECT_TRUE(screen.press('{'));
    EXPECT_EQ(skyTimeSent(screen.take()), (UtcTime{2026, 12, 8, 22, 30, 15.0}));
    EXPECT_TRUE(screen.press('['));
    EXPECT_TRUE(screen.press('}'));
    EXPECT_EQ(screen.controller.skyLayer().fixedTime, (UtcTime{2026, 12, 9, 21, 30, 15.0}));
    EXPECT_TRUE(screen.press('n'));
    EXPECT_FALSE(screen.controller.skyLayer().fixedTime);
    EXPECT_TRUE(UIApplication::sharedApplication().wakeUpTime()) << "following the clock again";
}

TEST(SkyLayerKeys, THidesAndShowsTheLayer)
{
    SkyScreen screen(shownAt(UtcTime{2026, 12, 9, 20, 30, 0.0}));
    screen.take();
    EXPECT_TRUE(screen.press('t'));
    EXPECT_EQ(screen.take(), (std::vector<SkyViewCommand>{SetSkyCommand{}}));
    EXPECT_FALSE(screen.controller.quartzView()->skySnapshot());
    EXPECT_FALSE(UIApplication::sharedApplication().wakeUpTime());
    // Held down, the key does not flicker the layer.
    EXPECT_TRUE(screen.controller.keyDown({UIKeyCode::Character, 't', 0, true}));
    EXPECT_TRUE(screen.take().empty());
    EXPECT_TRUE(screen.press('t'));
    EXPECT_TRUE(skyTimeSent(screen.take()));
}

TEST(SkyLayerKeys, HCentresOnTheZenith)
{
    const UtcTime t{2026, 12, 9, 20, 30, 0.0};
    SkyScreen screen(shownAt(t));
    screen.take();
    EXPECT_TRUE(screen.press('h'));
    const auto zenith = zenithJ2000(kParis, t);
    ASSERT_TRUE(zenith);
    const auto commands = screen.take();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0],
              (SkyViewCommand{WritexsCommand{static_cast<float>(zenith->rightAscensionHours),
                                             static_cast<float>(zenith->declinationDegrees), 320, 480}}));
    EXPECT_FLOAT_EQ(screen.controller.navigation().xs, static_cast<float>(zenith->rightAscensionHours));
}

TEST(SkyLayerKeys, AHiddenLayerStillStepsAndShowsTheNewTimeWhenTurnedOn)
{
    SkyLayerState layer = shownAt(UtcTime{2026, 12, 9, 20, 30, 0.0});
    layer.shown = false;
    SkyScreen screen(layer);
    EXPECT_FALSE(skyTimeSent(screen.take())) << "nothing sent for a hidden layer";
    EXPECT_TRUE(screen.press(']'));
    EXPECT_TRUE(screen.take().empty());
    EXPECT_TRUE(screen.press('t'));
    EXPECT_EQ(skyTimeSent(screen.take()), (UtcTime{2026, 12, 9, 21, 30, 0.0}));
}

} // namespace
} // namespace dazed

namespace dazed {
namespace {

// The app remembers the layer through the observer: it hears T each time it shows or hides the
// layer, and nothing else (time steps, N, H and repeats of T are not settings).
TEST(SkyLayerKeys, TheObserverHearsEachToggleOfTheLayerAndNothingElse)
{
    SkyScreen screen(SkyLayerState{kParis, std::nullopt, 60, false});
    std::vector<bool> heard;
    screen.controller.setSkyLayerObserver([&](const SkyLayerState& layer) {
        EXPECT_TRUE(layer.place);
        heard.push_back(layer.shown);
    });
    screen.press('t');
    for (const char c : {'[', ']', '{', '}', 'n', 'h'})
        screen.press(c);
    UIKey repeat = UIKey::fromCharacter('t');
    repeat.isRepeat = true;
    screen.controller.keyDown(repeat);
    screen.press('t');
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}

} // namespace
} // namespace dazed
