#pragma once
// The bootstrap confidence intervals in the views: the interval columns of the results
// list and the intervals of a regression under its equation.

#include "run/bootstrap.h"

#include <QString>

#include <utility>
#include <vector>

#include <memory>

namespace torrentix {

class ResultsList;

// Adds the columns STAR_lo, STAR_hi and the GIG index's lo and hi after the results list's
// own, filled by sample number whatever the rows' order, shown or hidden; without
// intervals the list has its own columns only.
void setIntervalColumns(ResultsList& list, std::shared_ptr<const BootstrapResult> intervals, bool shown);

// The regression of an index (the STAR_ICMi when `star`) against a test variable
// (0-based), when the bootstrap computed it.
const RegressionIntervals* findRegression(const BootstrapResult& intervals, bool star, int variable);

// "95 % m: lo to hi", "95 % r²: lo to hi" and the replicates counted, three decimals each.
QString regressionIntervalText(const RegressionIntervals& regression);

// The bootstrap band of the fitted line as the plot draws it (lower and upper y at x = 0.1,
// 0.2, ...); empty when some point has no interval.
std::vector<std::pair<double, double>> bootstrapBand(const RegressionIntervals& regression);

} // namespace torrentix
