#pragma once
// Quality classes given in the sample file and the number of samples in each.

#include "input/sampletable.h"

#include <array>
#include <string_view>

namespace torrentix {

// Counts in the order Reference, High, Good, Moderate, Poor, Bad, Not Classified.
using ClassCounts = std::array<int, 7>;

inline constexpr std::array<std::string_view, 7> classNames = {
    "Reference", "High", "Good", "Moderate", "Poor", "Bad", "Not Classified"};

// Class codes of the sample file.
inline constexpr int referenceClass = 6;
inline constexpr int highClass = 5;
inline constexpr int goodClass = 4;

// Position in ClassCounts of a class code (6 Reference .. 1 Bad, anything else 6).
inline int classSlot(int qualityClass) {
    return (qualityClass >= 1 && qualityClass <= 6) ? 6 - qualityClass : 6;
}

ClassCounts countSamplesPerClass(const SampleTable& table);

} // namespace torrentix
