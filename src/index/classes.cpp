#include "index/classes.h"

namespace torrentix {

ClassCounts countSamplesPerClass(const SampleTable& table) {
    ClassCounts counts{};
    for (const Sample& s : table.samples) {
        ++counts[static_cast<std::size_t>(classSlot(s.qualityClass))];
    }
    return counts;
}

} // namespace torrentix
