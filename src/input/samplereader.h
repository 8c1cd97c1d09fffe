#pragma once
// Reader of the tab-separated sample file: title line, header (three sample labels,
// three test variables, one taxon per further column), then one data row per sample up
// to the first blank line. The file's shape and numbers are checked before any name is
// resolved; every taxon column is then resolved to a family, columns of one family are
// merged and samples with a zero total are dropped. Whatever the reader takes otherwise
// than its user may have meant is named: file line, column, text.

#include "base/cancel.h"
#include "base/error.h"
#include "input/nameresolution.h"
#include "input/sampletable.h"
#include "input/textblocks.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// Non-blank lines after the first completely empty line of the data, which ends the data.
struct LinesAfterBlank {
    int blankLine = 0; // the file line of the empty line
    int lines = 0;     // the non-blank lines after it
};

// What to do with the lines after a blank line: read them too (the empty lines skipped, as
// rows of TABs are), stop at the blank line as the method does, or cancel the read.
enum class PastBlankLine { ReadThem, StopHere, Cancel };

struct ReadOptions {
    bool decimalComma = false;       // read "12,5" as 12.5
    bool readPastBlankLines = false; // empty lines inside the data are skipped, not its end
    // Asked once, before any taxon name, when lines follow the blank line that ends the data
    // (and readPastBlankLines is not set); without it the data end there.
    int threads = 0;                  // threads that parse the rows; 0: one per core
    std::size_t blockBytes = 1 << 20; // the file is read and parsed in blocks of about this size
    StopRequest stop = nullptr;       // the read throws Cancelled once this is set
    std::function<PastBlankLine(const LinesAfterBlank&)> askPastBlankLine = {};
    // The fraction of the file's data rows read so far, called on the calling thread.
    std::function<void(double)> progress = {};
    // Every taxon column kept as written, a family of its own named by its header cell: no
    // name is resolved and no column merged (for a front that shows the file as it is).
    bool columnsAsWritten = false;
};

// The text of a sample file from its beginning, in blocks of about `blockBytes`, setting
// `utf8` when the text is known to be UTF-8 (converted from UTF-16); called again whenever
// the reader needs the text anew. A file's is openSampleText; another program's table held
// in memory gives its own.
using OpenSampleText = std::function<TextBlocks(std::size_t blockBytes, bool& utf8)>;

// "62 non-blank lines after the blank line 61 will not be read."
std::string linesAfterBlankText(const LinesAfterBlank& after);
// "The data end at the blank line 61: 62 non-blank lines after it were not read."
std::string dataEndText(const LinesAfterBlank& after);

// Taxon columns a file may have: a column is numbered in 16 bits.
inline constexpr std::size_t maxTaxonColumns = 65535;

// An abundance cell that is not a plain number, read as the method reads it.
struct DoubtfulCell {
    int line = 0;       // 1-based line of the file
    int column = 0;     // 1-based column
    std::string family; // the header cell of its column
    std::string text;   // the cell as written
    double value = 0.0; // the value taken: its leading number, else 0
};

// How many doubtful cells a read lists; the rest are only counted.
inline constexpr std::size_t doubtfulCellsListed = 10;

struct ReadResult {
    enum class Status { Ok, Aborted };
    Status status = Status::Ok;
    SampleTable table;
    std::string correctedPath;               // the "_adj.txt" file written, if any
    std::string notice;                      // what to tell the user about the corrected file
    std::string correctedFileError;          // why the corrected file could not be written
    int doubtfulCount = 0;                   // abundance cells that are not plain numbers
    std::vector<DoubtfulCell> doubtfulCells; // the first of them, in file order
    std::vector<std::string> notes;          // what the read did that its user should know
    std::optional<LinesAfterBlank> unread;   // lines after the blank line that ends the data
    // Sample codes, sample names and test-variable names that the outputs cannot tell apart,
    // each said with its lines or columns.
    std::vector<std::string> sameNames;
    // Doubtful cells and same names: what --strict refuses and the desktop asks about.
    int doubtfulTotal() const { return doubtfulCount + static_cast<int>(sameNames.size()); }
};

// The file writes numbers with a decimal comma and was read without ReadOptions::decimalComma.
// Thrown before any question about names.
class DecimalCommaError : public Error {
  public:
    DecimalCommaError(const std::string& path, std::string detail, int count);
    // Where and how many: "\"12,5\" in line 5, column 8 (BAETIDAE); 37 cells".
    const std::string& detail() const { return detail_; }
    int count() const { return count_; }

  private:
    std::string detail_;
    int count_;
};

// Reads a sample file. Throws Error with the message to show for a file that cannot be
// used; returns Aborted when the user aborted the name resolution. When names had to be
// corrected, writes the corrected file beside the sample file.
ReadResult readSampleFileSavingCorrections(const std::string& path, const TaxaDatabase& taxa,
                                           const TaxaTree& tree, const UnknownTaxonHandler& ask,
                                           const ReadOptions& options = {});

// The same read without writing the corrected file.
ReadResult readSampleFile(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                          const UnknownTaxonHandler& ask, const ReadOptions& options = {});

// The same read of a text that is no file: `name` stands for the path in the table and in
// every message.
ReadResult readSampleText(const std::string& name, const OpenSampleText& open, const TaxaDatabase& taxa,
                          const TaxaTree& tree, const UnknownTaxonHandler& ask,
                          const ReadOptions& options = {});

// A read that stops before the unknown taxon names are asked: the file is read and checked
// once, and its names answered afterwards, as often as wanted, each time giving what
// readSampleFile gives with those answers, without reading the file again (for a front that
// asks its user about the names between the two, and runs the same file again). Throws as
// readSampleFile does for a file that cannot be used; the blank line that ends the data is
// not asked about (its lines are told by unread()).
class ReadBeforeNames {
  public:
    ReadBeforeNames(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                    const ReadOptions& options);

    // The read completed with `ask` answering the names the taxa database does not know.
    ReadResult answered(const UnknownTaxonHandler& ask) const;
    // Lines after the blank line that ends the data.
    const std::optional<LinesAfterBlank>& unread() const;

    struct Rows; // the rows as read, and the read's findings so far

  private:
    std::shared_ptr<const Rows> rows_;
    const TaxaDatabase* taxa_;
    const TaxaTree* tree_;
    ReadOptions options_;
};

// The report of the doubtful cells: how many, then one line per listed cell (file line,
// column, family, text, value taken), then the names that cannot be told apart. Lines end
// with LF; empty when there is none.
std::string doubtfulCellsText(const ReadResult& result);

// What a refusal for too few reference samples adds when class cells are words: how many,
// the first, and how classes are written. Empty when every class cell is a number.
std::string classWordsText(const SampleTable& table);

} // namespace torrentix
