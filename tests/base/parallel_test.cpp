// Work shared by threads: results in order whatever thread did them, progress on the
// calling thread, and a failure anywhere given back to the caller once every thread has
// stopped.

#include "base/parallel.h"

#include <gtest/gtest.h>
#include <numeric>
#include <stdexcept>

using namespace torrentix;

TEST(Parallel, BlocksComeBackInOrderOnAnyNumberOfThreads) {
    for (const unsigned threads : {1u, 2u, 4u}) {
        for (const int blocks : {0, 1, 2, 37}) {
            int given = 0;
            const auto squares = mapBlocksInOrder<int, int>(
                threads,
                [&]() -> std::optional<int> {
                    return given < blocks ? std::optional(given++) : std::nullopt;
                },
                [](int b) { return b * b; });
            ASSERT_EQ(squares.size(), static_cast<std::size_t>(blocks));
            for (int b = 0; b < blocks; ++b) {
                EXPECT_EQ(squares[static_cast<std::size_t>(b)], b * b) << threads << " threads";
            }
        }
    }
}

TEST(Parallel, AFailureInWorkOrProgressReachesTheCaller) {
    for (const unsigned threads : {1u, 2u, 4u}) {
        std::vector<int> seen(100, 0);
        std::vector<std::size_t> progress;
        forEachIndex(
            seen.size(), threads, [&](std::size_t i) { seen[i] += 1; },
            [&](std::size_t done) { progress.push_back(done); });
        EXPECT_EQ(std::accumulate(seen.begin(), seen.end(), 0), 100);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_EQ(progress.back(), 100u);

        const auto failing = [&](std::size_t i) {
            if (i == 50) {
                throw std::runtime_error("work");
            }
        };
        EXPECT_THROW(forEachIndex(100, threads, failing), std::runtime_error);
        EXPECT_THROW(
            forEachIndex(
                100, threads, [](std::size_t) {}, [](std::size_t) { throw std::runtime_error("progress"); }),
            std::runtime_error);
        int given = 0;
        EXPECT_THROW(
            (mapBlocksInOrder<int, int>(
                threads,
                [&]() -> std::optional<int> { return given < 9 ? std::optional(given++) : std::nullopt; },
                [](int b) { return b == 5 ? throw std::runtime_error("block") : b; })),
            std::runtime_error);
    }
}
