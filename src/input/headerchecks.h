#pragma once
// The checks of a sample file's title and header lines that tell a file which is not a
// sample file (comma-separated, without a title line) from one with a fault of its own, and
// the taxon columns: empty names, empty last columns, too many columns.

#include "input/samplereader.h"

#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

// The header cells of line 2, unquoted; throws Error for a file that is no sample file.
std::vector<std::string> readHeader(std::string_view line, const std::string& path);

// Checks the header's taxon columns; returns how many empty last columns are dropped (a
// TAB at the end of every line, as some spreadsheets write them). Throws Error naming the
// fault.
// `open` gives the text again, to look at the data rows' last cells.
std::size_t checkTaxonColumns(std::vector<std::string>& header, const std::string& path,
                              const ReadOptions& options, const OpenSampleText& open);

} // namespace torrentix
