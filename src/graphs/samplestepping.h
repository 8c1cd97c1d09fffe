#pragma once
// Stepping through the samples of the scatter plot from the keyboard: Right and Left go to
// the next sample along the x axis (ties by y, then in sample order), Up and Down along the
// y axis (ties by x), Home and End to the first and last along x.

#include "graphs/plotscale.h"

#include <cstddef>
#include <optional>

namespace torrentix {

bool isSteppingKey(int key);

// The sample (0-based) that the key leads to from the current one (none chosen yet: the
// first in the key's direction); nullopt when the key does not step or there is no sample.
std::optional<std::size_t> nextSample(const PlotInput& input, std::optional<std::size_t> current, int key);

} // namespace torrentix
