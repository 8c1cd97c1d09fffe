#pragma once
// An R table as the text of a sample file, made a block at a time while the engine's reader
// reads it: the abundances stay in R's own vectors, and only the block being read is ever
// held as text. A wide table gives one row per sample; a long one (sample, taxon,
// abundance) is laid out by an order of its rows that R computed, the taxa as columns.

#include <Rinternals.h>

#include "input/samplereader.h"

#include <cstddef>
#include <string>
#include <vector>

namespace torrentix::r {

// One column of an R table as the cells of a sample file.
class CellColumn {
  public:
    explicit CellColumn(SEXP column); // a numeric, integer, logical, character or factor vector
    // Appends the cell of row i: a number in the shortest form that reads back to the same
    // value, NA as "NA", a text as its UTF-8 bytes.
    void append(std::size_t i, std::string& out) const;
    // Cells of numbers take at most this many bytes; they are written straight to `at`,
    // which they return the end of.
    static constexpr std::size_t mostNumberBytes = 32;
    bool isNumbers() const { return kind_ != Kind::Text && kind_ != Kind::Factor; }
    char* writeNumber(std::size_t i, char* at) const;

  private:
    enum class Kind { Double, Integer, Logical, Text, Factor };
    Kind kind_ = Kind::Text;
    const double* doubles_ = nullptr;
    const int* integers_ = nullptr;
    SEXP texts_ = R_NilValue; // the strings, or a factor's levels
};

// The long layout: the abundance of each (sample, taxon) pair given.
struct LongRows {
    SEXP abundance = R_NilValue;   // the abundance column
    const int* order = nullptr;    // the rows of the long table, sample by sample (0-based)
    const int* taxon = nullptr;    // the taxon of each row of the long table (0-based)
    const int* firstRow = nullptr; // per sample, where its rows start in `order`; one more at the end
};

struct TableLayout {
    std::string title;
    std::vector<std::string> header; // the sample file's line 2: six sample columns, then the taxa
    std::vector<SEXP> sampleColumns; // code, name, class, three test variables
    std::vector<SEXP> taxonColumns;  // the wide layout's abundances; empty for the long one
    LongRows longRows;
    std::size_t rows = 0;
};

// Refuses, as an Error naming the place, a text that would break the file's lines or cells:
// a TAB or a line break in a cell or a header, a line break in the title.
void checkTexts(const TableLayout& layout);

// The text of the table, as often as the reader opens it. Called on the calling thread only.
OpenSampleText openTableText(const TableLayout& layout);

} // namespace torrentix::r
