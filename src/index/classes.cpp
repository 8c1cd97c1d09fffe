#include "index/classes.h"

namespace torrentix {

ClassCounts contaclassif(const SampleTable& table) {
    ClassCounts counts{};
    for (const Sample& s : table.samples) {
        ++counts[static_cast<std::size_t>(classSlot(s.sampclass))];
    }
    return counts;
}

} // namespace torrentix
