#pragma once
// The parsing floor: the least any reader of a sample file must do. The whole file is
// read into memory and every TAB-separated cell of every line goes through
// std::from_chars; nothing is kept but a checksum.

#include <cstddef>
#include <string>

namespace torrentix::bench {

struct FloorResult {
    std::size_t cells = 0;   // cells seen
    std::size_t numbers = 0; // cells that converted to a number
    double sum = 0.0;        // sum of the numbers, so that nothing is optimised away
};

FloorResult parseFloor(const std::string& path);

} // namespace torrentix::bench
