#pragma once
// The rows of the results list, the same on every front (the desktop program's list and
// the page's): the text of each cell and the order of the rows sorted by a column.

#include "index/normalisation.h"
#include "input/sampletable.h"

#include <cstddef>
#include <string>
#include <vector>

namespace torrentix {

// The running sample number, CODE, SAMPLE, CLASS, STAR_ICMi, the GIG ICMi and the three test
// variables.
inline constexpr int resultsColumnCount = 9;

// The text of a cell of sample i (0-based), as UTF-8: the running number from 1, the code in
// the sample-code form, the name, the class, both indices in F2 and the test values in F2
// when numeric, otherwise as written.
std::string resultsCellText(const SampleTable& table, const IndexResult& indices, std::size_t i, int column);

// A column sorts by its texts as text, character by character ("10.50" before "2.25" before
// "9.00", "-1.20" before "-0.55"); a cell without a value (empty or "N/A") comes last in
// either direction. The rank of each cell's text among the column's texts in that order,
// from 1; 0 for a cell without a value. Equal texts have equal ranks.
std::vector<std::size_t> sortRanks(const std::vector<std::string>& texts);

// Reorders the rows (each a sample number) by the ranks of their samples, ascending or
// descending, the rows without a value last; rows of equal rank keep the order they had.
void sortRows(std::vector<std::size_t>& rows, const std::vector<std::size_t>& ranks, bool descending);

} // namespace torrentix
