#include "engine/export/pdfcompressor.h"

#include "engine/export/pdfobjects.h"

#include <algorithm>

namespace Orv::Pdf {

Compressor::Compressor(int workers, size_t limit, Sink sink) : m_sink(std::move(sink)), m_limit(std::max<size_t>(1, limit))
{
    for (int i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

Compressor::~Compressor()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

int Compressor::defaultWorkers()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return int(std::clamp(cores > 1 ? cores - 1 : 0u, 0u, 4u));
}

void Compressor::work()
{
    for (;;) {
        std::shared_ptr<Slot> slot;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this, &slot] {
                if (m_stop)
                    return true;
                for (const std::shared_ptr<Slot> &s : m_slots) {
                    if (!s->started) {
                        slot = s;
                        return true;
                    }
                }
                return false;
            });
            if (!slot)
                return;
            slot->started = true;
        }
        slot->job.data = deflate(slot->job.data);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            slot->done = true;
        }
        m_doneCv.notify_one();
    }
}

void Compressor::push(Job job)
{
    if (m_threads.empty()) {
        job.data = deflate(job.data);
        m_sink(job);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto slot = std::make_shared<Slot>();
        slot->job = std::move(job);
        m_slots.push_back(std::move(slot));
    }
    m_wake.notify_one();
    deliver(false);
}

void Compressor::finish()
{
    deliver(true);
}

void Compressor::deliver(bool all)
{
    for (;;) {
        std::shared_ptr<Slot> front;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_slots.empty())
                return;
            // Wait for the oldest when the queue is full or everything must go.
            if (all || m_slots.size() >= m_limit)
                m_doneCv.wait(lock, [this] { return m_slots.front()->done; });
            if (!m_slots.front()->done)
                return;
            front = std::move(m_slots.front());
            m_slots.pop_front();
        }
        m_sink(front->job);
    }
}

} // namespace Orv::Pdf
