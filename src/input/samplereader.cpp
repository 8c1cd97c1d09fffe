#include "input/samplereader.h"

#include "base/files.h"
#include "base/lines.h"
#include "base/memory.h"
#include "base/numberforms.h"
#include "base/parallel.h"
#include "base/text.h"
#include "input/cells.h"
#include "input/filetext.h"
#include "input/rowparser.h"
#include "input/textblocks.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace torrentix {
namespace {

const std::string crlf = "\r\n";

// A line 2 that reads like a data row: a class number where the header names the class
// column, and numbers where family names belong.
bool looksLikeDataRow(const std::vector<std::string>& cells) {
    if (cells.size() <= firstTaxonCell || !isNumeric(cells[2])) {
        return false;
    }
    std::size_t numbers = 0;
    std::size_t names = 0;
    for (std::size_t c = firstTaxonCell; c < cells.size(); ++c) {
        if (isNumeric(cells[c])) {
            ++numbers;
        } else if (!trimBlanks(cells[c]).empty()) {
            ++names;
        }
    }
    return numbers > 0 && numbers >= names;
}

// The header cells, unquoted, after the checks that tell a file which is not a sample
// file from one with a fault of its own.
std::vector<std::string> readHeader(std::string_view line, const std::string& path) {
    if (line.find('\t') == std::string_view::npos) {
        const auto commas = std::count(line.begin(), line.end(), ',');
        const auto semicolons = std::count(line.begin(), line.end(), ';');
        if (commas + semicolons > 0) {
            const bool semicolon = semicolons > commas;
            throw Error(
                "The file " + path + " looks " + (semicolon ? "semicolon" : "comma") +
                "-separated: its line 2 holds no TAB but " + std::to_string(semicolon ? semicolons : commas) +
                (semicolon ? " semicolons" : " commas") +
                ". Sample files are tab-separated: save the sheet as \"Text (Tab delimited)\" (or as CSV "
                "with TAB as the field separator) and open that file.");
        }
    }
    std::vector<std::string> cells;
    std::string storage;
    for (std::string_view cell : splitTabs(line)) {
        cells.emplace_back(unquoteCell(cell, storage));
    }
    if (looksLikeDataRow(cells)) {
        throw Error("The title line of the file " + path +
                    " seems to be missing: line 2 holds numbers where the column names belong. Line 1 is a "
                    "title, line 2 the column names, samples start on line 3.");
    }
    return cells;
}

void checkTaxonNames(const std::vector<std::string>& header, const std::string& path) {
    std::vector<std::size_t> empty;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        if (trimBlanks(header[c]).empty()) {
            empty.push_back(c + 1);
        }
    }
    if (empty.empty()) {
        return;
    }
    std::string columns;
    for (std::size_t k = 0; k < empty.size(); ++k) {
        columns += (k == 0 ? "" : ", ") + std::to_string(empty[k]);
    }
    throw Error("The file " + path + " has " +
                (empty.size() == 1 ? "an empty column name in column " : "empty column names in columns ") +
                columns + " (line 2): write the family's name there, or remove the column.");
}

std::string plural(std::size_t n, const std::string& word) {
    if (n == 1) {
        return "1 " + word;
    }
    const bool y = word.size() > 1 && word.back() == 'y';
    return std::to_string(n) + " " + (y ? word.substr(0, word.size() - 1) + "ies" : word + "s");
}

// Resolves every taxon column: the family index it adds into, or -1 when ignored.
// Returns nullopt when the user aborted.
std::optional<std::vector<int>> resolveColumns(const std::vector<std::string>& header, SampleTable& table,
                                               const TaxaDatabase& taxa, const TaxaTree& tree,
                                               const UnknownTaxonHandler& ask) {
    std::vector<bool> known;
    std::vector<std::string> unknownNames;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        known.push_back(knownFamily(taxa, toUpperAscii(header[c])).has_value());
        if (!known.back()) {
            unknownNames.push_back(toUpperAscii(header[c]));
        }
    }
    NamePlace place;
    place.unknownCount = static_cast<int>(unknownNames.size());
    place.unknownNames = &unknownNames;
    std::vector<int> familyOfColumn;
    std::unordered_map<std::string, int> familyIndex;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        const std::string& cell = header[c];
        place.column = static_cast<int>(c + 1);
        place.unknown += known[c - firstTaxonCell] ? 0 : 1;
        Resolution r = resolveTaxonName(taxa, tree, toUpperAscii(cell), table.utf8, ask, place);
        table.namesCorrected = table.namesCorrected || r.askedUser;
        if (r.kind == Resolution::Kind::Abort) {
            return std::nullopt;
        }
        if (r.kind == Resolution::Kind::Ignore) {
            table.ignoredColumns.push_back(cell);
            familyOfColumn.push_back(-1);
            continue;
        }
        auto [it, isNew] = familyIndex.try_emplace(r.family, table.nfam());
        if (isNew) {
            table.familyNames.push_back(r.family);
        }
        familyOfColumn.push_back(it->second);
    }
    return familyOfColumn;
}

// One note naming the families that more than one column adds into.
std::optional<std::string> mergedColumnsNote(const std::vector<int>& familyOfColumn,
                                             const SampleTable& table) {
    std::map<int, std::vector<std::size_t>> columnsOf;
    for (std::size_t c = 0; c < familyOfColumn.size(); ++c) {
        if (familyOfColumn[c] >= 0) {
            columnsOf[familyOfColumn[c]].push_back(c + firstTaxonCell + 1);
        }
    }
    std::string merged;
    std::size_t families = 0;
    for (const auto& [family, columns] : columnsOf) {
        if (columns.size() < 2) {
            continue;
        }
        merged += std::string(families++ == 0 ? "" : "; ") +
                  table.familyNames[static_cast<std::size_t>(family)] + " (columns";
        for (std::size_t column : columns) {
            merged += " " + std::to_string(column);
        }
        merged += ")";
    }
    if (families == 0) {
        return std::nullopt;
    }
    return "Columns of one family were added together, " + plural(families, "family") + ": " + merged + ".";
}

// The text of a sample file, opened to be read in blocks. UTF-16 text is converted whole
// (it is rare and cannot be cut anywhere); any other file is read piece by piece.
TextBlocks openText(const std::string& path, std::size_t blockBytes, bool& wasUtf16) {
    auto file = std::make_shared<FileReader>(path);
    std::string start;
    while (start.size() < 8 && file->readInto(start, 8 - start.size()) > 0) {
    }
    if (start.empty() || start == "\xEF\xBB\xBF") {
        throw Error("The file " + path + " is empty.");
    }
    refuseWorkbook(start, path);
    wasUtf16 = isUtf16(start);
    if (wasUtf16) {
        auto content = std::make_shared<std::string>(std::move(start));
        while (file->readInto(*content, 1 << 20) > 0) {
        }
        prepareSampleText(*content, path);
        auto offset = std::make_shared<std::size_t>(0);
        return TextBlocks(
            [content, offset](std::string& into, std::size_t most) {
                const std::size_t n = std::min(most, content->size() - *offset);
                into.append(*content, *offset, n);
                *offset += n;
                return n;
            },
            std::string(), blockBytes, content->size());
    }
    const std::size_t size = file->size();
    return TextBlocks([file](std::string& into, std::size_t most) { return file->readInto(into, most); },
                      std::move(start), blockBytes, size);
}

// What the data rows tell about a header with empty column names: whether there is any
// row, and how many of the empty last columns are empty in every row too (a TAB at the
// end of every line, as some spreadsheets write them), which are then dropped.
struct EmptyColumns {
    bool anyRow = false;
    std::size_t droppable = 0;
};

EmptyColumns scanEmptyLastColumns(const std::string& path, const std::vector<std::string>& header,
                                  std::size_t blockBytes) {
    std::size_t candidates = 0;
    while (header.size() - candidates > firstTaxonCell + 1 &&
           trimBlanks(header[header.size() - 1 - candidates]).empty()) {
        ++candidates;
    }
    EmptyColumns result{false, candidates};
    bool wasUtf16 = false;
    TextBlocks text = openText(path, blockBytes, wasUtf16);
    text.nextLine();
    text.nextLine();
    std::vector<std::string_view> cells;
    std::string storage;
    while (auto block = text.nextBlock()) {
        LineReader lines(block->text);
        while (auto line = lines.next()) {
            if (trimBlanks(*line).empty()) {
                return result;
            }
            result.anyRow = true;
            if (isBlankRow(*line)) {
                continue;
            }
            splitTabsInto(*line, cells);
            if (cells.size() != header.size()) {
                result.droppable = 0;
                continue;
            }
            std::size_t empty = 0;
            while (empty < result.droppable &&
                   trimBlanks(unquoteCell(cells[cells.size() - 1 - empty], storage)).empty()) {
                ++empty;
            }
            result.droppable = empty;
        }
    }
    return result;
}

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

JoinedRows joinBlocks(std::vector<ParsedBlock> parsed, ReadResult& result) {
    JoinedRows joined;
    SampleTable& table = result.table;
    std::optional<int> blankLine;
    int unread = 0;
    for (ParsedBlock& block : parsed) {
        if (blankLine) {
            unread += block.nonBlankBeforeBlank + block.nonBlankAfterBlank;
            continue;
        }
        joined.anyRow = joined.anyRow || block.nonBlankBeforeBlank > 0;
        if (block.fault) {
            throw Error(block.fault->message(static_cast<int>(joined.kept) + block.fault->keptBefore + 1));
        }
        joined.kept += static_cast<std::size_t>(std::count(block.kept.begin(), block.kept.end(), true));
        for (std::size_t k = 0; k < 3; ++k) {
            table.numericTestValueCounts[k] += block.numericTestValueCounts[k];
        }
        if (joined.decimalCommas == 0) {
            joined.firstDecimalComma = block.firstDecimalComma;
        }
        joined.decimalCommas += block.decimalCommas;
        if (joined.decimalPoints == 0) {
            joined.firstDecimalPoint = block.firstDecimalPoint;
        }
        joined.decimalPoints += block.decimalPoints;
        result.doubtfulCount += block.doubtfulCount;
        for (DoubtfulCell& cell : block.doubtfulCells) {
            if (result.doubtfulCells.size() < doubtfulCellsListed) {
                result.doubtfulCells.push_back(std::move(cell));
            }
        }
        if (block.blankLine) {
            blankLine = block.blankLine;
            unread += block.nonBlankAfterBlank;
        }
        joined.blocks.push_back(std::move(block));
    }
    if (unread > 0) {
        result.notes.push_back("The data end at the blank line " + std::to_string(*blankLine) + ": " +
                               std::to_string(unread) + " non-blank line" +
                               (unread == 1 ? " after it was" : "s after it were") + " not read.");
    }
    return joined;
}

// Turns the joined rows into the table's samples and abundances by family: columns of one
// family added together, samples with a total abundance of 0 left out.
void fillTable(JoinedRows& rows, const std::vector<int>& familyOfColumn, unsigned threads, SampleTable& table,
               std::vector<std::string>& notes) {
    if (!rows.familyOfColumn) { // else each block was merged as it was parsed
        forEachIndex(rows.blocks.size(), threads, [&](std::size_t k) {
            ParsedBlock& block = rows.blocks[k];
            block.abundances.mergeInto(familyOfColumn, table.familyNames.size(), block.kept);
        });
    }
    table.samples.reserve(rows.kept);
    // The samples move from the blocks into one array: for a large file the memory of the
    // blocks already emptied is handed back now and then, so that the two are not held at once.
    FreedMemory emptied(std::size_t{8} << 20);
    std::string droppedLines;
    std::size_t dropped = 0;
    for (ParsedBlock& block : rows.blocks) {
        for (std::size_t r = 0; r < block.samples.size(); ++r) {
            if (block.kept[r]) {
                Sample& sample = block.samples[r];
                sample.name = fitWidth(sample.fullName, sampleNameWidth, table.utf8);
                table.samples.push_back(std::move(sample));
            } else {
                if (dropped < 10) {
                    droppedLines += (dropped == 0 ? "" : ", ") + std::to_string(block.fileLines[r]);
                }
                ++dropped;
            }
        }
        table.abundances.appendBlock(std::move(block.abundances));
        const std::size_t bytes = block.samples.capacity() * sizeof(Sample);
        block = ParsedBlock();
        emptied.freed(bytes);
    }
    if (dropped > 0) {
        notes.push_back(plural(dropped, "sample") + " with a total abundance of 0 " +
                        (dropped == 1 ? "was" : "were") + " left out (file line" +
                        (dropped == 1 ? " " : "s ") + droppedLines + (dropped > 10 ? ", ..." : "") + ").");
    }
}

// Checks the header's taxon columns; returns how many empty last columns are dropped.
std::size_t checkTaxonColumns(std::vector<std::string>& header, const std::string& path,
                              const ReadOptions& options) {
    const bool emptyName =
        std::any_of(header.begin() + static_cast<std::ptrdiff_t>(std::min(header.size(), firstTaxonCell)),
                    header.end(), [](const std::string& cell) { return trimBlanks(cell).empty(); });
    std::size_t dropped = 0;
    if (emptyName) {
        const EmptyColumns scan = scanEmptyLastColumns(path, header, options.blockBytes);
        dropped = scan.droppable;
        header.resize(header.size() - dropped);
        if (!scan.anyRow) {
            throw Error("The file " + path + " has no data line (samples are expected from line 3 on).");
        }
        checkTaxonNames(header, path);
    }
    if (header.size() <= firstTaxonCell) {
        throw Error("The file " + path +
                    " has no taxon column (a family name is expected from column 7 on).");
    }
    if (header.size() - firstTaxonCell > maxTaxonColumns) {
        throw Error("The file " + path + " has " + std::to_string(header.size() - firstTaxonCell) +
                    " taxon columns; at most " + std::to_string(maxTaxonColumns) + " can be read.");
    }
    return dropped;
}

// The families of the taxon columns when every name is known (nothing to ask), else nullopt.
using KnownColumns = std::function<std::optional<std::vector<int>>(const std::vector<std::string>& header)>;

// Reads the title, header and data rows; throws Error for a file that cannot be used.
JoinedRows readRows(TextBlocks& text, ReadResult& result, const ReadOptions& options,
                    const KnownColumns& knownColumns) {
    SampleTable& table = result.table;
    const std::string& path = table.sourcePath;
    table.title = text.nextLine().value_or("");
    std::vector<std::string> header = readHeader(text.nextLine().value_or(""), path);
    const std::size_t dropped = checkTaxonColumns(header, path, options);
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
        threadCount(options.threads), [&text] { return text.nextBlock(); },
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
    JoinedRows rows = joinBlocks(std::move(parsed), result);
    if (!rows.anyRow) {
        throw Error("The file " + path + " has no data line (samples are expected from line 3 on).");
    }
    if (rows.decimalCommas > 0 && !options.decimalComma) {
        throw DecimalCommaError(path,
                                rows.firstDecimalComma + "; " +
                                    plural(static_cast<std::size_t>(rows.decimalCommas), "cell"),
                                rows.decimalCommas);
    }
    if (rows.decimalPoints > 0) {
        throw Error("The file " + path + " is read with decimal commas, but writes numbers with a \".\" (" +
                    rows.firstDecimalPoint + "; " +
                    plural(static_cast<std::size_t>(rows.decimalPoints), "cell") +
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

void saveCorrectedFile(ReadResult& result) {
    const SampleTable& table = result.table;
    std::string path = replaceExtension(table.sourcePath, "_adj.txt");
    try {
        if (path == table.sourcePath) {
            throw Error("The corrected file would replace the sample file " + path + ".");
        }
        writeFileAtomically(path, correctedFileText(table));
        result.correctedPath = path;
        result.notice = "The corrected file has been saved as " + path;
        if (!table.ignoredColumns.empty()) {
            result.notice += crlf + crlf + "The following taxa were ignored:";
            for (const std::string& name : table.ignoredColumns) {
                result.notice += crlf + name;
            }
        }
    } catch (const Error& e) {
        result.correctedFileError = std::string("The corrected file could not be saved. ") + e.what();
    }
}

std::string correctedFileText(const SampleTable& table) {
    std::string out = table.title + crlf;
    for (const auto& label : table.headerlabel) {
        out += label + "\t";
    }
    for (const auto& name : table.testVariableNames) {
        out += name + "\t";
    }
    for (std::size_t j = 0; j < table.familyNames.size(); ++j) {
        out += (j == 0 ? "" : "\t") + table.familyNames[j];
    }
    out += crlf;
    std::vector<double> row(table.familyNames.size());
    for (int i = 0; i < table.nsamp(); ++i) {
        const Sample& s = table.samples[static_cast<std::size_t>(i)];
        out += s.code + "\t" + s.name + "\t" + std::to_string(s.qualityClass);
        for (const auto& t : s.testValueTexts) {
            out += "\t" + t;
        }
        std::fill(row.begin(), row.end(), 0.0);
        for (const Abundances::Present p : table.present(i)) {
            row[static_cast<std::size_t>(p.family)] = p.abundance;
        }
        for (const double a : row) {
            out += "\t" + formatGeneral(a);
        }
        out += crlf;
    }
    return out;
}

std::string doubtfulCellsText(const ReadResult& result) {
    if (result.doubtfulCount == 0) {
        return {};
    }
    std::string text = plural(static_cast<std::size_t>(result.doubtfulCount), "abundance cell") +
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
    return text;
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
    ReadResult result;
    SampleTable& table = result.table;
    table.sourcePath = path;
    TextBlocks text = openText(path, options.blockBytes, table.utf8);
    // With every name known nothing is asked: the columns are resolved before the rows are
    // read, so that each block is merged into families as it is parsed.
    auto knownColumns = [&](const std::vector<std::string>& header) -> std::optional<std::vector<int>> {
        for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
            if (!knownFamily(taxa, toUpperAscii(header[c]))) {
                return std::nullopt;
            }
        }
        return resolveColumns(header, table, taxa, tree, ask);
    };
    JoinedRows rows;
    try {
        rows = readRows(text, result, options, knownColumns);
    } catch (const Error&) {
        if (auto nul = text.firstNul()) {
            refuseNul(*nul, path); // a file that is not text is told as such first
        }
        throw;
    }
    auto familyOfColumn =
        rows.familyOfColumn ? rows.familyOfColumn : resolveColumns(rows.header, table, taxa, tree, ask);
    if (!familyOfColumn) {
        result.status = ReadResult::Status::Aborted;
        return result;
    }
    if (auto merged = mergedColumnsNote(*familyOfColumn, table)) {
        result.notes.push_back(*merged);
    }
    fillTable(rows, *familyOfColumn, threadCount(options.threads), table, result.notes);
    if (table.nsamp() == 0) {
        throw Error("The file " + path + " holds no sample with a total abundance above 0.");
    }
    return result;
}

} // namespace torrentix
