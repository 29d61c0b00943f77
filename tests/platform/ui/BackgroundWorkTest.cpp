// Work run off the event loop: its result comes back on the loop's thread, when the loop runs it,
// and never once the handle that started it has gone.

#include "platform/ui/BackgroundWork.h"

#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIApplication.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace dazed {
namespace {

using namespace std::chrono_literals;

// The application attached to a headless host for the test's length.
class BackgroundWorkTest : public ::testing::Test {
protected:
    BackgroundWorkTest() { UIApplication::sharedApplication().attachHost(&m_host); }
    ~BackgroundWorkTest() override { UIApplication::sharedApplication().reset(); }

    // Waits (at most ten seconds) until another thread has woken the loop `count` times.
    bool woken(int count = 1) const
    {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (m_host.interruptions() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        return m_host.interruptions() >= count;
    }

    HeadlessHost m_host;
};

TEST_F(BackgroundWorkTest, TheResultArrivesOnTheLoopsThreadWhenTheLoopRunsIt)
{
    std::thread::id workedOn;
    std::thread::id deliveredOn;
    int delivered = 0;
    auto work = BackgroundWork::start<int>(
        [&](std::stop_token) {
            workedOn = std::this_thread::get_id();
            return 42;
        },
        [&](int answer) {
            deliveredOn = std::this_thread::get_id();
            delivered = answer;
        });
    ASSERT_TRUE(woken());
    EXPECT_FALSE(work->isRunning());
    EXPECT_EQ(delivered, 0) << "nothing is delivered until the loop runs it";
    UIApplication::sharedApplication().runActionsFromOtherThreads();
    EXPECT_EQ(delivered, 42);
    EXPECT_NE(workedOn, std::this_thread::get_id());
    EXPECT_EQ(deliveredOn, std::this_thread::get_id());
    UIApplication::sharedApplication().runActionsFromOtherThreads();
    EXPECT_EQ(delivered, 42);
}

TEST_F(BackgroundWorkTest, DroppingTheHandleStopsTheWorkAndDeliversNothing)
{
    std::atomic<bool> started{false};
    std::atomic<bool> sawStop{false};
    bool delivered = false;
    auto work = BackgroundWork::start<int>(
        [&](std::stop_token stop) {
            started = true;
            std::mutex lock;
            std::condition_variable_any stopped;
            std::unique_lock held(lock);
            // Waits for the stop, and gives up after a minute so that a fault fails rather than hangs.
            sawStop = stopped.wait_for(held, stop, 60s, [] { return false; }) || stop.stop_requested();
            return 1;
        },
        [&](int) { delivered = true; });
    while (!started)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(work->isRunning());
    const auto start = std::chrono::steady_clock::now();
    work.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_TRUE(sawStop);
    UIApplication::sharedApplication().runActionsFromOtherThreads();
    EXPECT_FALSE(delivered);
}

TEST_F(BackgroundWorkTest, AResultHandedOverBeforeTheHandleWentIsNotDelivered)
{
    bool delivered = false;
    auto work = BackgroundWork::start<int>([](std::stop_token) { return 7; }, [&](int) { delivered = true; });
    ASSERT_TRUE(woken());
    work.reset();
    UIApplication::sharedApplication().runActionsFromOtherThreads();
    EXPECT_FALSE(delivered);
}

TEST_F(BackgroundWorkTest, ActionsFromManyThreadsEachRunOnceInTheOrderEachThreadGaveThem)
{
    constexpr int kThreads = 4;
    constexpr int kEach = 200;
    std::vector<std::vector<int>> ran(kThreads);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([t, &ran] {
                for (int i = 0; i < kEach; ++i)
                    UIApplication::sharedApplication().performOnMainThread(
                        [t, i, &ran] { ran[t].push_back(i); });
            });
    }
    EXPECT_EQ(m_host.interruptions(), kThreads * kEach);
    UIApplication::sharedApplication().runActionsFromOtherThreads();
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(ran[t].size(), static_cast<std::size_t>(kEach)) << "thread " << t;
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(ran[t][i], i) << "thread " << t;
    }
}

TEST_F(BackgroundWorkTest, ResetDropsWhatHasNotRunAndAnActionWaitsForAHost)
{
    bool ran = false;
    UIApplication::sharedApplication().performOnMainThread([&] { ran = true; });
    UIApplication::sharedApplication().reset();
    UIApplication::sharedApplication().runActionsFromOtherThreads();
    EXPECT_FALSE(ran);

    // No host attached: nobody to wake, and the action waits for the loop all the same.
    const int woken = m_host.interruptions();
    UIApplication::sharedApplication().performOnMainThread([&] { ran = true; });
    EXPECT_EQ(m_host.interruptions(), woken);
    UIApplication::sharedApplication().runActionsFromOtherThreads();
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace dazed
