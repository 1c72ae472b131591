// Pieces of work spread over threads: each runs once, whatever the counts,
// and a failing piece reaches the caller instead of ending the process.
#include "base/ParallelRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

TEST(ParallelRunTest, RunsEveryPieceOnce)
{
    for (int threads : { 0, 1, 2, 5 }) {
        for (size_t count : { 0, 1, 3, 100 }) {
            std::vector<std::atomic<int>> runs(count);
            ParallelRun::ForEach(count, threads, [&runs](size_t i) { ++runs[i]; });
            for (size_t i = 0; i < count; ++i)
                EXPECT_EQ(1, runs[i].load()) << threads << " threads, piece " << i << " of " << count;
        }
    }
}

TEST(ParallelRunTest, AFailingPieceReachesTheCaller)
{
    for (int threads : { 1, 3 }) {
        EXPECT_THROW(ParallelRun::ForEach(50, threads,
                                          [](size_t i) {
                                              if (i == 7)
                                                  throw std::runtime_error("piece 7");
                                          }),
                     std::runtime_error);
    }
}

} // namespace
