#pragma once
// Names that the outputs of a run cannot tell apart: sample codes and sample names held by
// more than one sample, and test-variable names that the results file's shortened form makes
// equal. Each is said with the lines or columns of the file that hold it.

#include "input/sampletable.h"

#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

// A test-variable name as the results file prints it: its first 8 characters, or VAR1 to
// VAR3 where the header cell is empty (k is 0-based).
std::string printedTestVariableName(std::string_view name, std::size_t k, bool utf8);

// One text per name held more than once: "sample code \"CB-0001\" in lines 3, 40".
std::vector<std::string> sameNames(const SampleTable& table);

} // namespace torrentix
