#include "pagefaults.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <stdexcept>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace torrentix::bench {

long minorPageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

namespace {

// Maps `bytes` of fresh memory, writes one byte on each page and gives the memory back;
// returns microseconds per fault taken (huge pages, where the system gives them, take one
// fault for many small pages).
double timeFirstTouch(std::size_t bytes) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        throw std::runtime_error("no memory to time page faults with");
    }
    auto* bytesOf = static_cast<volatile char*>(memory);
    const long faultsBefore = minorPageFaults();
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t at = 0; at < bytes; at += page) {
        bytesOf[at] = 1;
    }
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    const long faults = std::max(1L, minorPageFaults() - faultsBefore);
    munmap(memory, bytes);
    return took.count() / static_cast<double>(faults);
}

} // namespace

double pageFaultMicroseconds() {
    double least = timeFirstTouch(std::size_t{256} << 20);
    for (int i = 0; i < 2; ++i) {
        least = std::min(least, timeFirstTouch(std::size_t{256} << 20));
    }
    return least;
}

} // namespace torrentix::bench
