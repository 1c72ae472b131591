#include "base/ParallelRun.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <vector>

// Emscripten without its thread support has std::thread, but starting one
// aborts the page.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define MORVEK_NO_THREADS 1
#else
#include <system_error>
#include <thread>
#endif

int ParallelRun::GetCoreCount()
{
#ifdef MORVEK_NO_THREADS
    return 1;
#else
    return std::max(1u, std::thread::hardware_concurrency());
#endif
}

void ParallelRun::ForEach(size_t count, int threads, const std::function<void(size_t)>& work)
{
    std::atomic<size_t> next(0);
    std::atomic<bool> failed(false);
    std::exception_ptr first;
    std::mutex guard; // of first
    auto run = [&]() {
        while (!failed.load(std::memory_order_relaxed)) {
            const size_t i = next++;
            if (i >= count)
                return;
            try {
                work(i);
            } catch (...) {
                std::lock_guard<std::mutex> lock(guard);
                if (!first)
                    first = std::current_exception();
                failed = true;
            }
        }
    };
    // Threads besides the caller's, no more than there are pieces for.
    const size_t wanted = std::min(static_cast<size_t>(threads > 0 ? threads : GetCoreCount()), count);
    const size_t helpers = wanted > 1 ? wanted - 1 : 0;
#ifndef MORVEK_NO_THREADS
    std::vector<std::thread> started;
    for (size_t k = 0; k < helpers; ++k) {
        try {
            started.emplace_back(run);
        } catch (const std::system_error&) {
            break; // the caller does the rest
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    run();
    for (std::thread& helper : started)
        helper.join();
#else
    (void)helpers;
    run();
#endif
    if (first)
        std::rethrow_exception(first);
}
