// Worker threads that run one batch of independent tasks at a time while the calling thread
// waits: image decoding for the texture manager. Threads start with the first batch that has more
// than one task and end with the pool.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class cDecodePool {
public:
    // threads <= 0: one per core, at least one.
    explicit cDecodePool(int threads = 0);
    ~cDecodePool();
    cDecodePool(const cDecodePool&) = delete;
    cDecodePool& operator=(const cDecodePool&) = delete;

    int threadCount() const { return m_threadCount; }
    // Calls task(0) .. task(count - 1), each once, on the workers, and returns when all have
    // returned. Tasks must not share mutable state; what they write is visible here afterwards.
    // A single task runs on the calling thread.
    void run(int count, const std::function<void(int)>& task);

private:
    void work();

    int m_threadCount;
    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::function<void(int)>* m_task = nullptr;
    int m_count = 0;
    int m_next = 0;
    int m_running = 0; // tasks taken and not yet finished
    bool m_stopping = false;
};
