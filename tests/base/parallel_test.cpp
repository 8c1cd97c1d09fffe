// Work shared by threads: results in order whatever thread did them, progress on the
// calling thread, and a failure anywhere given back to the caller once every thread has
// stopped.

#include "base/parallel.h"

#include <gtest/gtest.h>
#include <numeric>
#include <stdexcept>
#include <system_error>

using namespace torrentix;

namespace {

// Gives the blocks 0, 1 .. n - 1 in turn, then none.
auto blocksUpTo(int n) {
    return [n, given = 0]() mutable -> std::optional<int> {
        return given < n ? std::optional(given++) : std::nullopt;
    };
}

} // namespace

TEST(Parallel, BlocksComeBackInOrderOnAnyNumberOfThreads) {
    for (const unsigned threads : {1u, 2u, 4u}) {
        for (const int blocks : {0, 1, 2, 37}) {
            const auto squares =
                mapBlocksInOrder<int, int>(threads, blocksUpTo(blocks), [](int b) { return b * b; });
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
        EXPECT_THROW((mapBlocksInOrder<int, int>(
                         threads, blocksUpTo(9),
                         [](int b) { return b == 5 ? throw std::runtime_error("block") : b; })),
                     std::runtime_error);
    }
}

// A thread that cannot be started (the system has none left) is a failure like any other:
// the threads already started finish and are joined before it reaches the caller, instead
// of the program being ended by a thread left running.
TEST(Parallel, AThreadThatCannotStartFailsTheWorkAfterTheOthersStopped) {
    int started = 0;
    const ThreadStart secondFails = [&started](std::function<void()> body) {
        if (++started == 2) {
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return std::thread(std::move(body));
    };
    std::atomic<int> done{0};
    EXPECT_THROW(forEachIndex(
                     1000, 3, [&](std::size_t) { ++done; }, [](std::size_t) {}, secondFails),
                 std::system_error);
    EXPECT_LE(done.load(), 1000);
    started = 0;
    EXPECT_THROW((mapBlocksInOrder<int, int>(
                     3, blocksUpTo(20), [](int b) { return b; }, secondFails)),
                 std::system_error);
    EXPECT_EQ(started, 2);
}
