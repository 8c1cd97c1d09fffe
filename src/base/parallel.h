#pragma once
// Work shared by threads: blocks handed out as they come with their results given back
// in order, and numbered items of work done by several threads at once. Whatever thread
// does an item, the results are those of doing them one after the other.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace torrentix {

// The number of threads to use: `wanted`, or every core when it is 0.
inline unsigned threadCount(int wanted) {
    if (wanted > 0) {
        return static_cast<unsigned>(wanted);
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// Starts one worker thread running `body`. Starting a thread can fail (std::system_error
// when the system has no more threads to give); tests hand in a start that fails.
using ThreadStart = std::function<std::thread(std::function<void()> body)>;

inline std::thread startThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

// Takes blocks from `next` (called on this thread, in order, until it gives nullopt),
// hands each to `work` on one of `threads` threads, and returns the results in the order
// of the blocks. At most two blocks per thread wait or are worked on at any time, so
// the blocks' memory stays bounded. The first exception of any thread, or of starting
// one, is rethrown once every thread started has stopped.
template <class Block, class Result, class Next, class Work>
std::vector<Result> mapBlocksInOrder(unsigned threads, Next next, Work work,
                                     const ThreadStart& start = startThread) {
    std::vector<Result> results;
    // Most files are one block: no thread is started for them.
    std::optional<Block> first = next();
    std::optional<Block> second = first ? next() : std::nullopt;
    if (threads <= 1 || !second) {
        if (first) {
            results.push_back(work(std::move(*first)));
        }
        if (second) {
            results.push_back(work(std::move(*second)));
            while (std::optional<Block> block = next()) {
                results.push_back(work(std::move(*block)));
            }
        }
        return results;
    }
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::pair<std::size_t, Block>> waiting;
        std::vector<std::unique_ptr<Result>> done;
        std::size_t inFlight = 0;
        bool finished = false;
        std::exception_ptr failure;
    } shared;
    auto worker = [&shared, &work] {
        while (true) {
            std::unique_lock lock(shared.mutex);
            shared.changed.wait(lock, [&] { return !shared.waiting.empty() || shared.finished; });
            if (shared.waiting.empty()) {
                return;
            }
            auto [index, block] = std::move(shared.waiting.front());
            shared.waiting.pop_front();
            lock.unlock();
            std::unique_ptr<Result> result;
            try {
                if (!shared.failure) {
                    result = std::make_unique<Result>(work(std::move(block)));
                }
            } catch (...) {
                lock.lock();
                shared.failure = shared.failure ? shared.failure : std::current_exception();
                lock.unlock();
            }
            lock.lock();
            shared.done[index] = std::move(result);
            --shared.inFlight;
            shared.changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    auto finish = [&] {
        {
            std::lock_guard lock(shared.mutex);
            shared.finished = true;
        }
        shared.changed.notify_all();
        for (auto& thread : pool) {
            thread.join();
        }
    };
    try {
        for (unsigned t = 0; t < threads; ++t) {
            pool.push_back(start(worker));
        }
        for (std::size_t index = 0;; ++index) {
            std::optional<Block> block = index == 0   ? std::move(first)
                                         : index == 1 ? std::move(second)
                                                      : next();
            if (!block) {
                break;
            }
            std::unique_lock lock(shared.mutex);
            shared.changed.wait(lock, [&] { return shared.inFlight < 2 * threads || shared.failure; });
            if (shared.failure) {
                break;
            }
            shared.done.emplace_back();
            shared.waiting.emplace_back(index, std::move(*block));
            ++shared.inFlight;
            shared.changed.notify_all();
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    if (shared.failure) {
        std::rethrow_exception(shared.failure);
    }
    results.reserve(shared.done.size());
    for (auto& result : shared.done) {
        results.push_back(std::move(*result));
    }
    return results;
}

// Calls `work(i)` for every i below `count` on up to `threads` threads, the calling thread
// one of them. After each item the calling thread finishes, `done(n)` is called on it with
// the number of items finished by then (the last call gives `count`). The first exception
// of any thread, or of starting one, is rethrown once every thread started has stopped.
template <class Work, class Done>
void forEachIndex(std::size_t count, unsigned threads, Work work, Done done,
                  const ThreadStart& start = startThread) {
    std::atomic<std::size_t> nextIndex{0};
    std::atomic<std::size_t> finished{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto takeItems = [&](bool caller) {
        while (!failed) {
            const std::size_t i = nextIndex++;
            if (i >= count) {
                return;
            }
            try {
                work(i);
                const std::size_t n = ++finished;
                if (caller && n < count) {
                    done(n);
                }
            } catch (...) {
                std::lock_guard lock(failureMutex);
                failure = failure ? failure : std::current_exception();
                failed = true;
                return;
            }
        }
    };
    if (count == 0) {
        return;
    }
    std::vector<std::thread> helpers;
    const auto helping = static_cast<unsigned>(std::min<std::size_t>(std::max(threads, 1u), count) - 1);
    try {
        for (unsigned t = 0; t < helping; ++t) {
            helpers.push_back(start([&takeItems] { takeItems(false); }));
        }
    } catch (...) {
        failed = true; // the helpers already started stop after their current item
        for (auto& helper : helpers) {
            helper.join();
        }
        throw;
    }
    takeItems(true);
    for (auto& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    done(count); // also when other threads finished the last items
}

template <class Work> void forEachIndex(std::size_t count, unsigned threads, Work work) {
    forEachIndex(count, threads, work, [](std::size_t) {});
}

} // namespace torrentix
