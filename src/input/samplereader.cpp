#include "input/samplereader.h"

#include "base/files.h"
#include "base/numberforms.h"
#include "base/parallel.h"
#include "base/text.h"
#include "input/blockjoin.h"
#include "input/columnresolution.h"
#include "input/correctedfile.h"
#include "input/filetext.h"
#include "input/headerchecks.h"
#include "input/rowparser.h"
#include "input/samenames.h"
#include "input/textblocks.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace torrentix {
namespace {

// The families of the taxon columns when every name is known (nothing to ask), else nullopt.
using KnownColumns = std::function<std::optional<std::vector<int>>(const std::vector<std::string>& header)>;

// Reads the title, header and data rows; throws Error for a file that cannot be used.
JoinedRows readRows(TextBlocks& text, const OpenSampleText& open, ReadResult& result,
                    const ReadOptions& options, const KnownColumns& knownColumns) {
    SampleTable& table = result.table;
    const std::string& path = table.sourcePath;
    table.title = text.nextLine().value_or("");
    std::vector<std::string> header = readHeader(text.nextLine().value_or(""), path);
    const std::size_t dropped = checkTaxonColumns(header, path, options, open);
    for (std::size_t k = 0; k < 3; ++k) {
        table.headerlabel[k] = header[k];
        table.testVariableNames[k] = std::string(trimBlanks(header[3 + k]));
    }
    std::optional<std::vector<int>> familyOfColumn = knownColumns(header);
    const RowContext context{header,
                             header.size() + dropped,
                             options,
                             path,
                             familyOfColumn ? &*familyOfColumn : nullptr,
                             table.familyNames.size(),
                             text.hadByteOrderMark()};
    std::vector<ParsedBlock> parsed = mapBlocksInOrder<TextBlocks::Block, ParsedBlock>(
        threadCount(options.threads),
        [&text, &options] {
            stopIfRequested(options.stop);
            if (options.progress) {
                options.progress(text.fractionRead());
            }
            return text.nextBlock();
        },
        [&context, &text](TextBlocks::Block block) {
            ParsedBlock rows = parseBlock(context, block.text, block.firstLine);
            text.giveBack(std::move(block.text));
            return rows;
        });
    if (auto nul = text.firstNul()) {
        refuseNul(*nul, path);
    }
    bool nonAscii = text.linesNonAscii();
    bool validUtf8 = text.linesValidUtf8();
    int firstNonUtf8Line = text.firstNonUtf8Line();
    for (const ParsedBlock& block : parsed) {
        nonAscii = nonAscii || block.nonAscii;
        validUtf8 = validUtf8 && block.validUtf8;
        firstNonUtf8Line = firstNonUtf8Line != 0 ? firstNonUtf8Line : block.firstNonUtf8Line;
    }
    if (text.hadByteOrderMark() && !validUtf8) {
        throw Error("The file " + path + " starts with the byte-order mark of UTF-8 text, but its line " +
                    std::to_string(firstNonUtf8Line) +
                    " holds bytes that are not UTF-8, as text saved in another encoding does. Save the file "
                    "again as UTF-8, or as text without the mark.");
    }
    table.utf8 = table.utf8 || text.hadByteOrderMark() || (nonAscii && validUtf8);
    stopIfRequested(options.stop);
    JoinedRows rows = joinBlocks(std::move(parsed), result);
    if (!rows.anyRow) {
        throw Error("The file " + path + " has no data line (samples are expected from line 3 on).");
    }
    if (rows.decimalCommas > 0 && !options.decimalComma) {
        throw DecimalCommaError(path,
                                rows.firstDecimalComma + "; " +
                                    countOf(static_cast<std::size_t>(rows.decimalCommas), "cell"),
                                rows.decimalCommas);
    }
    if (rows.decimalPoints > 0) {
        throw Error("The file " + path + " is read with decimal commas, but writes numbers with a \".\" (" +
                    rows.firstDecimalPoint + "; " +
                    countOf(static_cast<std::size_t>(rows.decimalPoints), "cell") +
                    "): whether \".\" separates thousands (1.394 for 1394) or decimals cannot be told. "
                    "Write every number with a decimal comma only.");
    }
    rows.header = std::move(header);
    rows.familyOfColumn = std::move(familyOfColumn);
    return rows;
}

} // namespace

DecimalCommaError::DecimalCommaError(const std::string& path, std::string detail, int count)
    : Error("The file " + path + " writes numbers with a decimal comma (" + detail + ")."),
      detail_(std::move(detail)), count_(count) {}

std::string classWordsText(const SampleTable& table) {
    if (table.classWordCount == 0) {
        return {};
    }
    return "The class column names " + std::to_string(table.classWordCount) +
           (table.classWordCount == 1 ? " class" : " classes") + " in words, the first " +
           table.firstClassWord +
           ", which count as Not Classified: write the classes as numbers, 6 Reference, 5 High, 4 Good, "
           "3 Moderate, 2 Poor, 1 Bad.";
}

std::string doubtfulCellsText(const ReadResult& result) {
    std::string text;
    if (result.doubtfulCount > 0) {
        text = countOf(static_cast<std::size_t>(result.doubtfulCount), "abundance cell") +
               (result.doubtfulCount == 1 ? " is" : " are") +
               " not a plain number and read as the leading number of the text, else 0:\n";
        for (const DoubtfulCell& c : result.doubtfulCells) {
            text += "  line " + std::to_string(c.line) + ", column " + std::to_string(c.column) + " (" +
                    c.family + "): " + quoted(c.text) + " read as " + formatGeneral(c.value) + "\n";
        }
        const auto listed = static_cast<int>(result.doubtfulCells.size());
        if (result.doubtfulCount > listed) {
            text += "  ... and " + std::to_string(result.doubtfulCount - listed) + " more\n";
        }
    }
    if (!result.sameNames.empty()) {
        text += "Names the outputs cannot tell apart:\n";
        for (const std::string& same : result.sameNames) {
            text += "  " + same + "\n";
        }
    }
    return text;
}

std::string dataEndText(const LinesAfterBlank& after) {
    return "The data end at the blank line " + std::to_string(after.blankLine) + ": " +
           std::to_string(after.lines) + " non-blank line" +
           (after.lines == 1 ? " after it was" : "s after it were") + " not read.";
}

std::string linesAfterBlankText(const LinesAfterBlank& after) {
    return countOf(static_cast<std::size_t>(after.lines), "non-blank line") + " after the blank line " +
           std::to_string(after.blankLine) + " will not be read.";
}

ReadResult readSampleFileSavingCorrections(const std::string& path, const TaxaDatabase& taxa,
                                           const TaxaTree& tree, const UnknownTaxonHandler& ask,
                                           const ReadOptions& options) {
    ReadResult result = readSampleFile(path, taxa, tree, ask, options);
    if (result.status == ReadResult::Status::Ok && result.table.namesCorrected) {
        saveCorrectedFile(result);
    }
    return result;
}

ReadResult readSampleFile(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                          const UnknownTaxonHandler& ask, const ReadOptions& options) {
    if (!fileExists(path)) {
        throw Error("File not found.");
    }
    return readSampleText(
        path, [&path](std::size_t blockBytes, bool& utf8) { return openSampleText(path, blockBytes, utf8); },
        taxa, tree, ask, options);
}

namespace {

// Every taxon column a family of its own, named as written.
std::vector<int> columnsAsWritten(const std::vector<std::string>& header, SampleTable& table) {
    std::vector<int> familyOfColumn;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        familyOfColumn.push_back(table.nfam());
        table.familyNames.push_back(header[c]);
    }
    return familyOfColumn;
}

// A read up to the resolution of its names: with every name known, the names are resolved
// before the rows are read, so that each block is merged into families as it is parsed.
JoinedRows readUpToNames(const OpenSampleText& open, const TaxaDatabase& taxa, const TaxaTree& tree,
                         const UnknownTaxonHandler& ask, const ReadOptions& options, TextBlocks& text,
                         ReadResult& result) {
    SampleTable& table = result.table;
    auto knownColumns = [&](const std::vector<std::string>& header) -> std::optional<std::vector<int>> {
        if (options.columnsAsWritten) {
            return columnsAsWritten(header, table);
        }
        for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
            if (!knownFamily(taxa, toUpperAscii(header[c]))) {
                return std::nullopt;
            }
        }
        return resolveColumns(header, table, taxa, tree, ask);
    };
    try {
        return readRows(text, open, result, options, knownColumns);
    } catch (const Cancelled&) {
        throw;
    } catch (const Error&) {
        if (auto nul = text.firstNul()) {
            refuseNul(*nul, table.sourcePath); // a file that is not text is told as such first
        }
        throw;
    }
}

// The read completed from its rows: the names resolved (unless already), the columns of a
// family merged and the table filled.
ReadResult completeRead(JoinedRows rows, ReadResult result, const TaxaDatabase& taxa, const TaxaTree& tree,
                        const UnknownTaxonHandler& ask, const ReadOptions& options) {
    SampleTable& table = result.table;
    auto familyOfColumn =
        rows.familyOfColumn ? rows.familyOfColumn : resolveColumns(rows.header, table, taxa, tree, ask);
    if (!familyOfColumn) {
        result.status = ReadResult::Status::Aborted;
        return result;
    }
    if (auto merged = mergedColumnsNote(*familyOfColumn, table)) {
        result.notes.push_back(*merged);
    }
    if (auto counted =
            options.columnsAsWritten ? std::nullopt : countedAsNote(*familyOfColumn, table, taxa)) {
        result.notes.push_back(*counted);
    }
    stopIfRequested(options.stop);
    fillTable(rows, *familyOfColumn, threadCount(options.threads), table, result.notes);
    if (table.nsamp() == 0) {
        throw Error("The file " + table.sourcePath + " holds no sample with a total abundance above 0.");
    }
    result.sameNames = sameNames(table);
    return result;
}

} // namespace

ReadResult readSampleText(const std::string& path, const OpenSampleText& open, const TaxaDatabase& taxa,
                          const TaxaTree& tree, const UnknownTaxonHandler& ask, const ReadOptions& options) {
    ReadResult result;
    result.table.sourcePath = path;
    TextBlocks text = open(options.blockBytes, result.table.utf8);
    JoinedRows rows = readUpToNames(open, taxa, tree, ask, options, text, result);
    if (result.unread && options.askPastBlankLine && !options.readPastBlankLines) {
        switch (options.askPastBlankLine(*result.unread)) {
        case PastBlankLine::Cancel:
            result.status = ReadResult::Status::Aborted;
            return result;
        case PastBlankLine::ReadThem: { // no name was asked yet: the file is read again
            ReadOptions again = options;
            again.readPastBlankLines = true;
            return readSampleText(path, open, taxa, tree, ask, again);
        }
        case PastBlankLine::StopHere:
            break;
        }
    }
    return completeRead(std::move(rows), std::move(result), taxa, tree, ask, options);
}

// With every name known the read is completed at once, and each answer is a copy of it (the
// abundances shared); else the rows wait, keyed by column, for the answers to the names.
struct ReadBeforeNames::Rows {
    std::optional<JoinedRows> rows;
    ReadResult result;
};

ReadBeforeNames::ReadBeforeNames(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                                 const ReadOptions& options)
    : taxa_(&taxa), tree_(&tree), options_(options) {
    if (!fileExists(path)) {
        throw Error("File not found.");
    }
    options_.askPastBlankLine = {};
    auto read = std::make_shared<Rows>();
    read->result.table.sourcePath = path;
    TextBlocks text = openSampleText(path, options.blockBytes, read->result.table.utf8);
    const OpenSampleText open = [&path](std::size_t blockBytes, bool& utf8) {
        return openSampleText(path, blockBytes, utf8);
    };
    // Nothing is asked while the rows are read: only known names are resolved then.
    const UnknownTaxonHandler none = [](const UnknownTaxonQuestion&) { return UnknownTaxonAnswer::abort(); };
    JoinedRows rows = readUpToNames(open, taxa, tree, none, options_, text, read->result);
    if (rows.familyOfColumn) {
        read->result = completeRead(std::move(rows), std::move(read->result), taxa, tree, none, options_);
    } else {
        read->rows = std::move(rows);
    }
    rows_ = std::move(read);
}

ReadResult ReadBeforeNames::answered(const UnknownTaxonHandler& ask) const {
    if (!rows_->rows) {
        return rows_->result;
    }
    return completeRead(*rows_->rows, rows_->result, *taxa_, *tree_, ask, options_);
}

const std::optional<LinesAfterBlank>& ReadBeforeNames::unread() const {
    return rows_->result.unread;
}

} // namespace torrentix
