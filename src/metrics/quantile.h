#pragma once
// Reference values of the normalisation: the median, or the 75th percentile
// interpolated at position 0.75 x n, of a list of values that is sorted in place.

#include <vector>

namespace torrentix {

// Sorts values[lo..hi] (0-based, inclusive) ascending in place (quicksort, Hoare partition).
void sortvals(std::vector<double>& values, long lo, long hi);

// Median (median = true) or 75th percentile of a non-empty list, as a 32-bit value.
// The list is left sorted ascending. The 75th percentile of a single value is that value.
float quantile(std::vector<double>& values, bool median);

} // namespace torrentix
