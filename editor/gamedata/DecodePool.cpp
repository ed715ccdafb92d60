#include "gamedata/DecodePool.h"

#include <algorithm>

cDecodePool::cDecodePool(int threads)
    : m_threadCount(threads > 0 ? threads : std::max(1, int(std::thread::hardware_concurrency()))) {}

cDecodePool::~cDecodePool() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void cDecodePool::run(int count, const std::function<void(int)>& task) {
    if (count <= 0) return;
    if (count == 1) {
        task(0);
        return;
    }
    std::unique_lock lock(m_mutex);
    while (int(m_threads.size()) < m_threadCount)
        m_threads.emplace_back(&cDecodePool::work, this);
    m_task = &task;
    m_count = count;
    m_next = 0;
    m_running = 0;
    m_wake.notify_all();
    // The mutex orders every task's writes before this thread reads them.
    m_done.wait(lock, [this] { return m_next >= m_count && m_running == 0; });
    m_task = nullptr;
}

void cDecodePool::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || (m_task && m_next < m_count); });
        if (m_stopping) return;
        const std::function<void(int)>& task = *m_task;
        const int index = m_next++;
        ++m_running;
        lock.unlock();
        task(index);
        lock.lock();
        --m_running;
        if (m_next >= m_count && m_running == 0) m_done.notify_one();
    }
}
