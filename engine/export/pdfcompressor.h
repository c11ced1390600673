#pragma once
// Compresses page content streams on worker threads while the next pages
// are laid out, and hands them back in the order they came, so the file is
// written page after page. The queue is bounded: when it is full the
// caller waits for the oldest page, which keeps memory small however long
// the document.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Orv::Pdf {

class Compressor
{
public:
    struct Job
    {
        std::string data;  // in: the content; out: compressed
        std::string extra; // anything else the writer needs, passed through
        int id = 0;
        int pageId = 0;
    };
    using Sink = std::function<void(Job &)>;

    // workers 0 compresses on the calling thread.
    Compressor(int workers, size_t limit, Sink sink);
    ~Compressor();
    Compressor(const Compressor &) = delete;
    Compressor &operator=(const Compressor &) = delete;

    // Queues a job; jobs finished by now go to the sink, oldest first.
    void push(Job job);
    // Waits for every queued job and hands it to the sink.
    void finish();

    // Worker threads for this machine: one core stays with the layout.
    static int defaultWorkers();

private:
    struct Slot
    {
        Job job;
        bool started = false;
        bool done = false;
    };
    void work();
    void deliver(bool all);

    Sink m_sink;
    size_t m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;  // workers: a job or the end
    std::condition_variable m_doneCv; // the caller: a job finished
    std::deque<std::shared_ptr<Slot>> m_slots;
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};

} // namespace Orv::Pdf
