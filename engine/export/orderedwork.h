#pragma once
// Work done on a pool of threads and taken back in the order it was handed
// out, so a filter can draw pages on every core and still write them one
// after the other. The caller decides how much is out at once (pending());
// with one thread the work runs at once on the caller's thread, as plain
// sequential code would.
#include <QThread>
#include <QThreadPool>

#include <deque>
#include <functional>
#include <future>
#include <memory>

namespace Orv {

template <typename Result>
class OrderedWork
{
public:
    // threads: workers (0: one per core).
    explicit OrderedWork(int threads)
        : m_threads(threads > 0 ? threads : qMax(1, QThread::idealThreadCount()))
    {
        m_pool.setMaxThreadCount(m_threads);
    }
    ~OrderedWork()
    {
        // Work not started is dropped; what runs is waited for, as it may
        // use what the caller owns.
        m_pool.clear();
        m_pool.waitForDone();
    }
    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;

    int threads() const { return m_threads; }
    // Pieces handed out and not taken back yet.
    int pending() const { return int(m_queue.size()); }

    void submit(std::function<Result()> job)
    {
        if (m_threads == 1) {
            done(job());
            return;
        }
        auto task = std::make_shared<std::packaged_task<Result()>>(std::move(job));
        m_queue.push_back(task->get_future());
        m_pool.start([task] { (*task)(); });
    }
    // A result known without work (an error found while handing out).
    void done(Result result)
    {
        std::promise<Result> ready;
        ready.set_value(std::move(result));
        m_queue.push_back(ready.get_future());
    }
    // The oldest piece, waited for; pending() must not be 0.
    Result takeNext()
    {
        std::future<Result> next = std::move(m_queue.front());
        m_queue.pop_front();
        return next.get();
    }

private:
    int m_threads;
    QThreadPool m_pool;
    std::deque<std::future<Result>> m_queue;
};

} // namespace Orv
