#pragma once

// Work that would hold up the event loop (asking a system service that may take seconds) runs on
// a thread of its own, and its result comes back on the loop's thread, where the views live
// (UIApplication::performOnMainThread). The handle owns the thread: dropping it asks the work to
// stop through its stop token, waits for the thread, and the result is then never delivered. So
// the object that started the work can drop it in its destructor and never hear from it again.

#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

namespace dazed {

class BackgroundWork {
public:
    // Runs `work` on a new thread; `done` gets its result on the loop's thread, unless the handle
    // was dropped first.
    template <class Result>
    static std::unique_ptr<BackgroundWork> start(std::function<Result(std::stop_token)> work,
                                                 std::function<void(Result)> done)
    {
        return std::unique_ptr<BackgroundWork>(new BackgroundWork(
            [work = std::move(work), done = std::move(done)](std::stop_token stop) -> std::function<void()> {
                auto result = std::make_shared<Result>(work(stop));
                return [done, result] {
                    done(std::move(*result));
                };
            }));
    }

    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // True from the start until the result has been handed to the loop's thread.
    [[nodiscard]] bool isRunning() const;

private:
    // What the thread does: the work, which returns what the loop's thread then runs.
    using Job = std::function<std::function<void()>(std::stop_token)>;
    explicit BackgroundWork(Job job);

    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::jthread m_thread;
};

} // namespace dazed
