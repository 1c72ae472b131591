#ifndef MORVEK_BASE_PARALLELRUN_H
#define MORVEK_BASE_PARALLELRUN_H

#include <cstddef>
#include <functional>

// Runs independent pieces of work on the machine's cores: work(i) for every
// i in [0, count), each once, in no set order, the caller's thread taking
// its share. Where the system starts no threads (the page's build without
// them), or starting one fails, the caller runs every piece itself.
//
// The pieces must not share what they write. The first exception a piece
// throws reaches the caller once every thread has stopped; pieces not yet
// begun then never run.
class ParallelRun final {
public:
// Operations
    // threads: at most this many threads in all, the caller's included; 0
    // for one per core.
    static void ForEach(size_t count, int threads, const std::function<void(size_t)>& work);

// Attributes
    // The cores the system reports, at least 1; 1 where it starts no threads.
    static int GetCoreCount();
};

#endif
