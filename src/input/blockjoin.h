#pragma once
// The blocks of a sample file parsed on several threads, joined in file order as one pass
// over the file reads them: faults, notes and row numbers included; then turned into the
// table's samples and abundances by family.

#include "input/rowparser.h"
#include "input/samplereader.h"

#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// The rows of the parsed blocks up to the end of the data, joined in file order.
struct JoinedRows {
    std::vector<std::string> header;                // the empty last columns dropped
    std::optional<std::vector<int>> familyOfColumn; // when every name was known
    std::vector<ParsedBlock> blocks;                // those holding data rows
    std::size_t kept = 0;
    bool anyRow = false;
    int decimalCommas = 0;
    std::string firstDecimalComma;
    int decimalPoints = 0;
    std::string firstDecimalPoint;
};

// Joins the parsed blocks up to the end of the data; throws Error for the first row fault.
JoinedRows joinBlocks(std::vector<ParsedBlock> parsed, ReadResult& result);

// Turns the joined rows into the table's samples and abundances by family: columns of one
// family added together, samples with a total abundance of 0 left out (and noted).
void fillTable(JoinedRows& rows, const std::vector<int>& familyOfColumn, unsigned threads, SampleTable& table,
               std::vector<std::string>& notes);

} // namespace torrentix
