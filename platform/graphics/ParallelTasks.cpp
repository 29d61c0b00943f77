#include "platform/graphics/ParallelTasks.h"

#include <algorithm>
#include <atomic>
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

// One call of runTasks: its tasks are claimed one number at a time by whoever works on it.
struct Job {
    const std::function<void(int)>* task{nullptr};
    int count{0};
    std::atomic<int> next{0};
    // Waiting threads that took this job from the queue and have not left it; guarded by the
    // pool's mutex.
    int helpers{0};
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
            m_helpersLeft.wait(lock, [&] { return job.helpers == 0; });
        }
        if (job.error)
            std::rethrow_exception(job.error);
    }

private:
    void serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_workAvailable.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return; // stopping
            Job* job = m_jobs.front();
            ++job->helpers;
            lock.unlock();
            job->work();
            lock.lock();
            // Whoever finds a job's numbers all claimed takes it off the queue.
            std::erase(m_jobs, job);
            if (--job->helpers == 0)
                m_helpersLeft.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_helpersLeft;
    std::deque<Job*> m_jobs;
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
