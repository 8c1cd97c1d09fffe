#pragma once
// The "_ci.tsv" file of a bootstrap: its settings on the first line, then per kept sample
// both indices with their 95 % intervals, then per regression of the results file its
// point values with their intervals. UTF-8, TAB-separated, LF line ends; point values at
// full precision; a value that does not exist is an empty cell.

#include "run/bootstrap.h"

#include <string>

namespace torrentix {

std::string bootstrapTableText(const BootstrapResult& b, const RunResult& run);

// The bootstrap table that belongs to a sample file: its name cut at the last "." +
// "_ci.tsv", in `folder` when one is given, else beside the sample file.
std::string bootstrapPathFor(const std::string& sourcePath, const std::string& folder = {});

} // namespace torrentix
