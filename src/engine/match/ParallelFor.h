#pragma once
// Runs fn(index, worker) for every index below `count` on up to `threads` threads (0: one
// per processor), handing out indexes one at a time so that uneven items balance out. The
// calling thread is worker 0. The first exception thrown stops the handing out and is
// rethrown here once every thread has finished.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace orv::engine {

inline unsigned WorkerCount(unsigned threads, std::size_t items) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::clamp<std::size_t>(items, 1, threads));
}

template <class Fn>
void ParallelFor(std::size_t count, unsigned workers, Fn&& fn) {
    if (workers <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) fn(i, 0u);
        return;
    }
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorLock;
    auto work = [&](unsigned worker) {
        try {
            for (std::size_t i; !failed.load(std::memory_order_relaxed) && (i = next++) < count;)
                fn(i, worker);
        } catch (...) {
            std::lock_guard<std::mutex> hold(errorLock);
            if (!error) error = std::current_exception();
            failed = true;
        }
    };
    {
        std::vector<std::jthread> pool;
        pool.reserve(workers - 1);
        try {
            for (unsigned w = 1; w < workers; ++w) pool.emplace_back(work, w);
        } catch (const std::system_error&) {
            // No more threads to be had: the ones running share the rest of the work.
        }
        work(0);
    }
    if (error) std::rethrow_exception(error);
}

}  // namespace orv::engine
