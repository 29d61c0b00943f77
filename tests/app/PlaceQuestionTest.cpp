// T and the menu's Tonight here with no place known: the system is asked off the event loop, the
// menu says so meanwhile, and then the sky of the place found shows, or the menu says in one line
// why there is none. Closing the window while the question is out withdraws it.

#include "AppTestSupport.h"
#include "platform/ui/UIMenuView.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dazed {
namespace {

using namespace std::chrono_literals;
using test::LaunchedApp;

constexpr const char* kAsking = "Asking the system where this is\xE2\x80\xA6";

// A stand-in for GeoClue: answers what it is given, once the test lets it, and counts questions.
class FakeSystem {
public:
    explicit FakeSystem(Result<SystemLocation> answer)
        : m_answer(std::move(answer))
    {
    }
    RootViewController::PlaceQuestion question()
    {
        return [this](std::stop_token stop) -> Result<SystemLocation> {
            ++m_asked;
            std::unique_lock held(m_lock);
            if (!m_changed.wait_for(held, stop, 60s, [this] { return m_released; })) {
                m_withdrawn = stop.stop_requested();
                return failure("the question to GeoClue was withdrawn");
            }
            return m_answer;
        };
    }
    void release()
    {
        {
            const std::scoped_lock held(m_lock);
            m_released = true;
        }
        m_changed.notify_all();
    }
    [[nodiscard]] int asked() const { return m_asked; }
    [[nodiscard]] bool withdrawn() const { return m_withdrawn; }

private:
    Result<SystemLocation> m_answer;
    std::atomic<int> m_asked{0};
    std::atomic<bool> m_withdrawn{false};
    std::mutex m_lock;
    std::condition_variable_any m_changed;
    bool m_released{false};
};

// Lets the fake answer and waits (at most ten seconds) until the answer has woken the loop, then
// lets the loop run a pass, which delivers it.
void answer(LaunchedApp& app, FakeSystem& system)
{
    const int before = app.host.interruptions();
    system.release();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (app.host.interruptions() == before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_GT(app.host.interruptions(), before) << "the answer never came back to the loop";
    app.send(CancelTouchesInput{});
}

void pressT(LaunchedApp& app)
{
    app.send(KeyInput{UIKey::fromCharacter('t')});
}

// Holds a finger still until the menu opens, lifts it, and taps Tonight here.
void chooseTonightHere(LaunchedApp& app)
{
    app.send(TouchInput{{{7, UITouchPhase::Began, {160, 240}}}, 0});
    for (int i = 0; i < 5 && !(app.root().menu() && app.root().menu()->isOpen()); ++i)
        app.loop->step();
    app.send(TouchInput{{{7, UITouchPhase::Ended, {160, 240}}}, 0});
    const auto& menu = app.root().menu();
    ASSERT_TRUE(menu && menu->isOpen());
    for (std::size_t i = 0; i < menu->items().size(); ++i)
        if (menu->items()[i].title == "Tonight here") {
            app.tap(menu->itemFrame(i).center());
            return;
        }
    FAIL() << "no Tonight here";
}

SystemLocation berlin()
{
    return {52.52, 13.405, 34.0, 2000.0};
}

TEST(PlaceQuestion, TWithNoPlaceAsksTheSystemAndShowsTheSkyOfThePlaceFound)
{
    LaunchedApp app(DeviceFamily::Phone);
    FakeSystem system{berlin()};
    app.root().setPlaceQuestion(system.question());
    std::vector<SkyLayerState> heard;
    app.root().mainViewController()->setSkyLayerObserver(
        [&heard](const SkyLayerState& s) { heard.push_back(s); });

    pressT(app);
    EXPECT_TRUE(app.root().isAskingForPlace());
    EXPECT_EQ(app.root().placeNote(), kAsking);
    pressT(app);
    answer(app, system);
    EXPECT_EQ(system.asked(), 1) << "a second T while the question is out asks nothing more";
    EXPECT_FALSE(app.root().isAskingForPlace());
    const SkyLayerState& sky = app.root().mainViewController()->skyLayer();
    ASSERT_TRUE(sky.place);
    EXPECT_DOUBLE_EQ(sky.place->latitudeDegrees, 52.52);
    EXPECT_DOUBLE_EQ(sky.place->longitudeDegrees, 13.405);
    EXPECT_DOUBLE_EQ(sky.place->heightMetres, 34.0);
    EXPECT_TRUE(sky.shown);
    EXPECT_FALSE(sky.fixedTime) << "the sky follows the clock";
    EXPECT_TRUE(app.root().placeNote().empty());
    ASSERT_EQ(heard.size(), 1u) << "the place is remembered";
    EXPECT_TRUE(heard[0].place && heard[0].shown);

    // With a place, T hides the layer as always and asks nothing.
    pressT(app);
    EXPECT_FALSE(app.root().mainViewController()->skyLayer().shown);
    EXPECT_FALSE(app.root().isAskingForPlace());
    EXPECT_EQ(system.asked(), 1);
}

TEST(PlaceQuestion, TonightHereKeepsTheMenuOpenWhileAskingAndSaysWhyThereIsNoPlace)
{
    LaunchedApp app(DeviceFamily::Phone);
    FakeSystem system{failure("GeoClue is not running on the system bus")};
    app.root().setPlaceQuestion(system.question());
    std::vector<std::string> reported;
    UIApplication::sharedApplication().setReporter(
        [&reported](const Error& e) { reported.push_back(e.message); });

    chooseTonightHere(app);
    const auto menu = app.root().menu();
    ASSERT_TRUE(menu && menu->isOpen()) << "the menu comes back to say the system is being asked";
    EXPECT_EQ(menu->note(), kAsking);
    const auto asking = app.host.lastPresented();

    answer(app, system);
    EXPECT_TRUE(menu->isOpen());
    EXPECT_EQ(menu->note(), "No place: GeoClue is not running on the system bus");
    EXPECT_NE(app.host.lastPresented(), asking) << "the menu is drawn again with the answer";
    EXPECT_EQ(reported,
              std::vector<std::string>{
                  "Tonight here: GeoClue is not running on the system bus, and no place is remembered"});
    EXPECT_FALSE(app.root().mainViewController()->skyLayer().place);
    EXPECT_FALSE(app.root().mainViewController()->skyLayer().shown);
    UIApplication::sharedApplication().setReporter(nullptr);
}

TEST(PlaceQuestion, AnAnswerFromTheMenuClosesItAndShowsTheSky)
{
    LaunchedApp app(DeviceFamily::Phone);
    FakeSystem system{berlin()};
    app.root().setPlaceQuestion(system.question());
    chooseTonightHere(app);
    ASSERT_TRUE(app.root().menu()->isOpen());
    answer(app, system);
    EXPECT_FALSE(app.root().menu()->isOpen());
    EXPECT_TRUE(app.root().mainViewController()->skyLayer().shown);
}

TEST(PlaceQuestion, NonsenseFromTheSystemIsNoPlace)
{
    for (const SystemLocation& nonsense :
         {SystemLocation{std::numeric_limits<double>::quiet_NaN(), 2.35, std::nullopt, 0},
          SystemLocation{48.85, 1000.0, std::nullopt, 0}, SystemLocation{-91.0, 0.0, std::nullopt, 0}}) {
        LaunchedApp app(DeviceFamily::Phone);
        FakeSystem system{nonsense};
        app.root().setPlaceQuestion(system.question());
        pressT(app);
        answer(app, system);
        EXPECT_FALSE(app.root().mainViewController()->skyLayer().place) << nonsense.longitudeDegrees;
        EXPECT_EQ(app.root().placeNote().rfind("No place: ", 0), 0u) << app.root().placeNote();
    }
}

TEST(PlaceQuestion, ClosingTheWindowWhileAskingWithdrawsTheQuestionAtOnce)
{
    auto app = std::make_unique<LaunchedApp>(DeviceFamily::Phone);
    FakeSystem system{berlin()}; // never released: only the withdrawal ends its wait
    app->root().setPlaceQuestion(system.question());
    pressT(*app);
    while (system.asked() == 0)
        std::this_thread::sleep_for(1ms);
    const auto start = std::chrono::steady_clock::now();
    app.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_TRUE(system.withdrawn()) << "the question was left waiting";
    // Nothing the question might have left behind runs in the next window.
    LaunchedApp next(DeviceFamily::Phone);
    next.send(CancelTouchesInput{});
    EXPECT_FALSE(next.root().mainViewController()->skyLayer().place);
}

TEST(PlaceQuestion, WithoutAQuestionTWithNoPlaceDoesNothing)
{
    LaunchedApp app(DeviceFamily::Phone);
    const int frames = app.host.presentCount();
    pressT(app);
    EXPECT_FALSE(app.root().isAskingForPlace());
    EXPECT_TRUE(app.root().placeNote().empty());
    EXPECT_EQ(app.host.presentCount(), frames);
}

} // namespace
} // namespace dazed
