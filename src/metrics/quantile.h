#pragma once
// Every quantile the program takes, from one set of rules: the reference value of a
// normalisation (the median, or the 75th percentile interpolated at the 1-based position
// 0.75 x n), and the percentiles of the bootstrap intervals, interpolated between order
// statistics as R's quantile(type = 7).

#include <utility>
#include <vector>

namespace torrentix {

// The median of a non-empty list sorted ascending.
double medianOfSorted(const std::vector<double>& sorted);
// The 75th percentile of a non-empty list sorted ascending: interpolated at the 1-based
// position 0.75 x n; the 75th percentile of a single value is that value.
double percentile75OfSorted(const std::vector<double>& sorted);

// The reference value of a list: its median (median = true) or 75th percentile, as a
// 32-bit value; 0 for an empty list. The list is reordered: the order statistics are
// found by selection, the values the same as from the sorted list.
float referenceQuantile(std::vector<double>& values, bool median);

// The p-quantile (0 <= p <= 1) of a non-empty list sorted ascending, as R's
// quantile(type = 7): interpolated at the 0-based position (n - 1) x p.
double quantileType7(const std::vector<double>& sorted, double p);
// The same of a non-empty list in any order, which it reorders: the two order statistics
// it interpolates between are found in linear time, without sorting the whole list.
double quantileType7Unsorted(std::vector<double>& values, double p);

} // namespace torrentix
