#pragma once
// The corrected copy of a sample file ("_adj.txt"), written when names had to be corrected:
// the families after merging, in the sample file's own format.

#include "input/samplereader.h"

#include <string>

namespace torrentix {

// Writes the corrected file of a read whose names needed correction, recording the
// outcome (path and notice, or the error) in the result.
void saveCorrectedFile(ReadResult& result);

// The text of the corrected file of a table, with CR LF line ends.
std::string correctedFileText(const SampleTable& table);

} // namespace torrentix
