#include "platform/ui/BackgroundWork.h"

#include "platform/ui/UIApplication.h"

#include <atomic>

namespace dazed {

// Outlives the handle while the result waits on the loop's side, so that a result handed over
// just before the handle went can see that nobody wants it any more.
struct BackgroundWork::Shared {
    std::atomic<bool> dropped{false};
    std::atomic<bool> handedOver{false};
};

BackgroundWork::BackgroundWork(Job job)
    : m_shared(std::make_shared<Shared>())
{
    m_thread = std::jthread([shared = m_shared, job = std::move(job)](std::stop_token stop) {
        std::function<void()> deliver = job(stop);
        shared->handedOver = true;
        if (stop.stop_requested())
            return;
        UIApplication::sharedApplication().performOnMainThread([shared, deliver = std::move(deliver)] {
            if (!shared->dropped)
                deliver();
        });
    });
}

BackgroundWork::~BackgroundWork()
{
    // Marked before the thread is stopped and joined: a result already handed over is then not
    // delivered either (the loop runs it only after this, on this same thread).
    m_shared->dropped = true;
    m_thread.request_stop();
    if (m_thread.joinable())
        m_thread.join();
}

bool BackgroundWork::isRunning() const
{
    return !m_shared->handedOver;
}

} // namespace dazed
