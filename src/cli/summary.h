#pragma once
// The summary of a computation run that the batch command prints after its report.

#include "run/computerun.h"

#include <string>

namespace torrentix::cli {

// Every regression of the results file (index, test variable, n, m, b, r², or why it was
// not computed), then the median and range of both indices. Lines end with LF.
std::string runSummary(const RunResult& run, Gig gig);

} // namespace torrentix::cli
