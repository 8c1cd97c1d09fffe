#pragma once
// Memory the program has freed, handed back to the system.

#include <cstddef>

namespace torrentix {

// The C library keeps freed memory for later allocations; after a large release (the
// abundances of a big file) handing it back keeps the program's resident size to what it
// holds. Does nothing where the library offers no way to do it.
void giveBackFreeMemory();

// Memory counted as it is freed and handed back each time the count reaches an amount
// worth it: a page handed back costs a fault when it is taken again, so small releases
// are better kept for the allocations that follow.
class FreedMemory {
  public:
    explicit FreedMemory(std::size_t worthHandingBack) : worth_(worthHandingBack) {}
    void freed(std::size_t bytes) {
        pending_ += bytes;
        if (pending_ >= worth_) {
            giveBackFreeMemory();
            pending_ = 0;
        }
    }

  private:
    std::size_t worth_;
    std::size_t pending_ = 0;
};

} // namespace torrentix
