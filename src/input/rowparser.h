#pragma once
// Parses a block of data lines of a sample file: each row is read once, its sample cells
// kept and its abundances collected as (taxon column, abundance) pairs. Blocks are parsed
// independently, in any order and on any thread; joined in file order, they give what one
// pass over the whole file gives.

#include "input/abundances.h"
#include "input/samplereader.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

inline constexpr std::size_t firstTaxonCell = 6; // 0-based index of the first taxon column

// What every block is parsed against.
struct RowContext {
    const std::vector<std::string>& header; // without the empty last columns dropped
    std::size_t width;                      // cells of a row, those columns included
    const ReadOptions& options;
    const std::string& path;
    // The family of each taxon column (-1: ignored), when known before the rows are read:
    // the columns of each row are then merged into families as the block is parsed.
    const std::vector<int>* familyOfColumn = nullptr;
    std::size_t families = 0;
    // The file starts with the byte-order mark of UTF-8: a line that is not UTF-8 is named.
    bool utf8Declared = false;
};

// A fault of a row, which ends the read; its message needs the row's number among the
// kept samples, which only the join of the blocks knows.
struct RowFault {
    int keptBefore = 0; // samples kept in the same block before the faulty row
    std::function<std::string(int rowNumber)> message;
};

struct ParsedBlock {
    std::vector<Sample> samples; // names not yet cut to their width
    std::vector<int> fileLines;
    std::vector<bool> kept;   // the row's total abundance is above 0
    AbundanceRows abundances; // keyed by family when the context gives the families, else by taxon column
    std::array<int, 3> numericTestValueCounts{};
    int decimalCommas = 0;
    std::string firstDecimalComma;
    int decimalPoints = 0; // numbers written with a "." when commas are the decimal marks
    std::string firstDecimalPoint;
    int classWords = 0; // class cells written as words
    std::string firstClassWord;
    int doubtfulCount = 0;
    std::vector<DoubtfulCell> doubtfulCells;
    std::optional<RowFault> fault; // the first fault before the block's first blank line
    std::optional<int> blankLine;  // file line of the block's first blank line
    int skippedBlankLines = 0;     // blank lines read past, as asked
    int firstSkippedBlankLine = 0;
    int nonBlankBeforeBlank = 0; // lines that are not blank, before that line
    int nonBlankAfterBlank = 0;  // and after it
    bool nonAscii = false;       // the block's text holds bytes outside ASCII
    bool validUtf8 = true;
    int firstNonUtf8Line = 0; // when the file says it is UTF-8: its first line that is not
};

// Parses the lines of `text`, the first being line `firstFileLine` of the file. Stops
// taking rows at the first blank line, after which lines are only counted, unless the
// options read past blank lines.
ParsedBlock parseBlock(const RowContext& context, std::string_view text, int firstFileLine);

// Where a cell stands, as the user finds it: "line 5, column 8 (BAETIDAE)".
std::string placeOf(int fileLine, std::size_t cell, const std::vector<std::string>& header);
std::string quoted(std::string_view text);
// A row of TABs and blanks only: no sample, skipped.
bool isBlankRow(std::string_view line);

} // namespace torrentix
