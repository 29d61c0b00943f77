#include "platform/graphics/parallel/ParallelTasks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace dazed {

namespace {

// No caller cuts its work into more than eight bands.
constexpr int kMaxWaitingThreads = 7;
// How long a thread that ran out of work keeps looking for more before it sleeps. Tasks come in
// runs (a flip frame shares out about six in a row), and on a virtual machine waking a sleeping
// thread can take a good part of what a band costs (docs/performance.md).
constexpr auto kSpinBeforeSleep = std::chrono::microseconds(200);

// Calls `done` until it returns true or kSpinBeforeSleep has passed, yielding the core in between.
template <typename Done> bool spinUntil(Done done)
{
    const auto until = std::chrono::steady_clock::now() + kSpinBeforeSleep;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// One call of runTasks: its tasks are claimed one number at a time by whoever works on it.
struct Job {
    const std::function<void(int)>* task{nullptr};
    int count{0};
    std::atomic<int> next{0};
    // Waiting threads that took this job from the queue and have not left it; changed under the
    // pool's mutex, read without it by a caller waiting for them.
    std::atomic<int> helpers{0};
    std::mutex errorMutex;
    std::exception_ptr error;

    // Runs tasks until every number has been claimed.
    void work()
    {
        for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            try {
                (*task)(i);
            } catch (...) {
                const std::lock_guard lock(errorMutex);
                if (!error)
                    error = std::current_exception();
            }
        }
    }
};

class Pool {
public:
    Pool()
    {
        const int wanted = std::min(coreCount() - 1, kMaxWaitingThreads);
        for (int i = 0; i < wanted; ++i) {
            try {
                m_threads.emplace_back([this] { serve(); });
            } catch (const std::system_error&) {
                break; // fewer helpers; the callers do the rest
            }
        }
    }

    ~Pool()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_workAvailable.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }

    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    void run(int count, const std::function<void(int)>& task)
    {
        if (count <= 0)
            return;
        Job job;
        job.task = &task;
        job.count = count;
        const bool shared = count > 1 && !m_threads.empty();
        if (shared) {
            {
                const std::lock_guard lock(m_mutex);
                m_jobs.push_back(&job);
                m_queued.store(static_cast<int>(m_jobs.size()));
            }
            const int helpersWanted = std::min<int>(count - 1, static_cast<int>(m_threads.size()));
            for (int i = 0; i < helpersWanted; ++i)
                m_workAvailable.notify_one();
        }
        job.work();
        if (shared) {
            // Every number is claimed. Once the job is off the queue no thread can take it again;
            // once its helpers have left, every task they claimed has returned.
            std::unique_lock lock(m_mutex);
            std::erase(m_jobs, &job);
            m_queued.store(static_cast<int>(m_jobs.size()));
            lock.unlock();
            if (!spinUntil([&] { return job.helpers.load() == 0; })) {
                lock.lock();
                m_helpersLeft.wait(lock, [&] { return job.helpers.load() == 0; });
            }
        }
        if (job.error)
            std::rethrow_exception(job.error);
    }

private:
    void serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (m_jobs.empty() && !m_stopping) {
                lock.unlock();
                spinUntil([this] { return m_queued.load() > 0; });
                lock.lock();
            }
            m_workAvailable.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return; // stopping
            Job* job = m_jobs.front();
            job->helpers.fetch_add(1);
            lock.unlock();
            job->work();
            lock.lock();
            // Whoever finds a job's numbers all claimed takes it off the queue.
            std::erase(m_jobs, job);
            m_queued.store(static_cast<int>(m_jobs.size()));
            // The job is not touched after this: its caller may return as soon as it reads 0.
            if (job->helpers.fetch_sub(1) == 1)
                m_helpersLeft.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_helpersLeft;
    std::deque<Job*> m_jobs;
    // m_jobs.size(), for threads looking for work without the mutex.
    std::atomic<int> m_queued{0};
    bool m_stopping{false};
    std::vector<std::thread> m_threads;
};

Pool& pool()
{
    // Started on first use and stopped when the process exits; its threads sleep in between.
    static Pool instance;
    return instance;
}

} // namespace

int coreCount()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void runTasks(int count, const std::function<void(int)>& task)
{
    pool().run(count, task);
}

} // namespace dazed
