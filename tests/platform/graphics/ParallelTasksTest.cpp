#include "platform/graphics/parallel/ParallelTasks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace dazed {
namespace {

// How many times each number ran, for one call of runTasks.
std::vector<int> runCounts(int count)
{
    std::vector<std::atomic<int>> runs(static_cast<std::size_t>(std::max(count, 0)));
    runTasks(count, [&](int i) { runs.at(static_cast<std::size_t>(i)).fetch_add(1); });
    std::vector<int> result;
    for (const auto& r : runs)
        result.push_back(r.load());
    return result;
}

TEST(ParallelTasks, EveryNumberRunsExactlyOnceWhateverTheCount)
{
    for (int count : {0, 1, 2, 3, 8, 100}) {
        const std::vector<int> runs = runCounts(count);
        EXPECT_EQ(std::count(runs.begin(), runs.end(), 1), count) << count << " tasks";
    }
    runTasks(-3, [](int) { ADD_FAILURE() << "no task for a negative count"; });
}

TEST(ParallelTasks, WaitingThreadsTakeTasksWhileTheCallerWorks)
{
    if (coreCount() < 2)
        GTEST_SKIP() << "one core: the caller runs every task";
    // Task 0 waits for task 1 to start. Had the caller to run both, task 0 would time out first.
    std::mutex mutex;
    std::condition_variable started;
    bool secondStarted = false;
    bool met = false;
    runTasks(2, [&](int i) {
        std::unique_lock lock(mutex);
        if (i == 1) {
            secondStarted = true;
            started.notify_all();
        } else {
            met = started.wait_for(lock, std::chrono::seconds(10), [&] { return secondStarted; });
        }
    });
    EXPECT_TRUE(met);
}

TEST(ParallelTasks, CallersOnManyThreadsAndTasksThatRunTasksAllFinish)
{
    constexpr int kCallers = 4;
    constexpr int kRounds = 50;
    std::atomic<int> failures{0};
    std::vector<std::thread> callers;
    for (int c = 0; c < kCallers; ++c)
        callers.emplace_back([&] {
            for (int round = 0; round < kRounds; ++round) {
                const std::vector<int> runs = runCounts(5 + round % 4);
                if (std::any_of(runs.begin(), runs.end(), [](int n) { return n != 1; }))
                    ++failures;
            }
        });
    for (std::thread& caller : callers)
        caller.join();
    EXPECT_EQ(failures.load(), 0);

    // Each of 3 tasks runs 4 more: 12 inner tasks in all, none lost or repeated.
    std::atomic<int> inner{0};
    runTasks(3, [&](int) { runTasks(4, [&](int) { inner.fetch_add(1); }); });
    EXPECT_EQ(inner.load(), 12);
}

TEST(ParallelTasks, AThrowingTaskLetsTheOthersRunAndItsErrorReachesTheCaller)
{
    std::vector<std::atomic<int>> runs(6);
    EXPECT_THROW(runTasks(6,
                          [&](int i) {
                              runs[static_cast<std::size_t>(i)].fetch_add(1);
                              if (i == 2 || i == 4)
                                  throw std::runtime_error("band failed");
                          }),
                 std::runtime_error);
    for (const auto& r : runs)
        EXPECT_EQ(r.load(), 1);
    // The threads are still there for the next caller.
    const std::vector<int> after = runCounts(4);
    EXPECT_EQ(std::count(after.begin(), after.end(), 1), 4);
}

} // namespace
} // namespace dazed
