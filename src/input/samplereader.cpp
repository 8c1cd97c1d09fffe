#include "input/samplereader.h"

#include "base/files.h"
#include "base/lines.h"
#include "base/numberforms.h"
#include "base/text.h"
#include "input/cells.h"
#include "input/filetext.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace torrentix {
namespace {

constexpr std::size_t firstTaxonCell = 6; // 0-based index of the first taxon column

const std::string crlf = "\r\n";

struct DataLine {
    std::string_view text;
    int fileLine = 0; // 1-based line of the file
};

// Lines 3 onward up to the first line that is blank after trimming spaces, and a note
// when non-blank lines follow that blank line: they are not read.
std::vector<DataLine> dataLines(LineReader& lines, std::vector<std::string>& notes) {
    std::vector<DataLine> rows;
    int fileLine = 2;
    while (auto line = lines.next()) {
        ++fileLine;
        if (trimBlanks(*line).empty()) {
            const int blankLine = fileLine;
            int unread = 0;
            while (auto after = lines.next()) {
                unread += trimBlanks(*after).empty() ? 0 : 1;
            }
            if (unread > 0) {
                notes.push_back("The data end at the blank line " + std::to_string(blankLine) + ": " +
                                std::to_string(unread) + " non-blank line" +
                                (unread == 1 ? " after it was" : "s after it were") + " not read.");
            }
            break;
        }
        rows.push_back({*line, fileLine});
    }
    return rows;
}

bool isBlankRow(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == '\t' || c == ' '; });
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Where a cell stands, as the user finds it: "line 5, column 8 (BAETIDAE)".
std::string placeOf(int fileLine, std::size_t cell, const std::vector<std::string>& header) {
    std::string place = "line " + std::to_string(fileLine) + ", column " + std::to_string(cell + 1);
    if (cell < header.size()) {
        place += " (" + header[cell] + ")";
    }
    return place;
}

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

// Drops last columns whose header cell and every data cell are empty (a TAB at the end
// of every line, as some spreadsheets write them). Returns how many were dropped.
std::size_t dropEmptyLastColumns(std::vector<std::string>& header, const std::vector<DataLine>& rows) {
    std::size_t dropped = 0;
    std::vector<std::string_view> cells;
    std::string storage;
    while (header.size() > firstTaxonCell + 1 && trimBlanks(header.back()).empty()) {
        const std::size_t width = header.size() + dropped;
        const bool allEmpty = std::all_of(rows.begin(), rows.end(), [&](const DataLine& row) {
            if (isBlankRow(row.text)) {
                return true;
            }
            splitTabsInto(row.text, cells);
            return cells.size() == width &&
                   trimBlanks(unquoteCell(cells[header.size() - 1], storage)).empty();
        });
        if (!allEmpty) {
            break;
        }
        header.pop_back();
        ++dropped;
    }
    return dropped;
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

// The data rows as read before any name is resolved: per row its sample cells and the
// abundances of its taxon columns, row by row. Once the names are resolved the same block
// of memory becomes the table's abundance matrix.
struct ParsedRows {
    std::vector<Sample> samples;
    std::vector<int> fileLines;
    std::vector<double> totals;
    std::vector<double> abundances; // one row of taxon columns per data row
    int decimalCommas = 0;
    std::string firstDecimalComma; // where the first one stands
    int doubtfulCount = 0;
    std::vector<DoubtfulCell> doubtfulCells;
};

class RowParser {
  public:
    RowParser(const std::vector<std::string>& header, std::size_t droppedColumns, const ReadOptions& options,
              SampleTable& table)
        : header_(header), width_(header.size() + droppedColumns), options_(options), table_(table) {}

    ParsedRows parse(const std::vector<DataLine>& rows) {
        cells_.reserve(width_);
        parsed_.abundances.reserve(rows.size() * (header_.size() - firstTaxonCell));
        int kept = 0;
        for (const DataLine& row : rows) {
            if (isBlankRow(row.text)) {
                continue;
            }
            splitTabsInto(row.text, cells_);
            checkWidth(row.fileLine, kept + 1);
            parseRow(row.fileLine, kept + 1);
            kept += parsed_.totals.back() == 0.0 ? 0 : 1;
        }
        return std::move(parsed_);
    }

  private:
    void checkWidth(int fileLine, int rowNumber) const {
        if (cells_.size() == width_) {
            return;
        }
        const char* what = cells_.size() > width_ ? "Too many columns in row " : "Too few columns in row ";
        throw Error(std::string("Error #1. ") + what + std::to_string(rowNumber) +
                    " (file: " + table_.inputpath + "). Process aborted. File line " +
                    std::to_string(fileLine) + " holds " + std::to_string(cells_.size()) +
                    " cells; the header has " + std::to_string(width_) + ".");
    }

    void parseRow(int fileLine, int rowNumber) {
        Sample sample;
        sample.code = std::string(cell(0));
        sample.fullName = std::string(cell(1));
        sample.name = fitWidth(sample.fullName, sampleNameWidth, table_.utf8);
        const double x = parseNumeric(cell(2)).value_or(0.0);
        sample.sampclass = (x > 0.0 && x < 7.0) ? static_cast<int>(roundHalfEven(x)) : 0;
        for (std::size_t k = 0; k < 3; ++k) {
            sample.testval[k] = testValue(3 + k, fileLine);
            if (sample.testval[k] != "N/A") {
                ++table_.testcount[k];
            }
        }
        double total = 0.0;
        for (std::size_t c = firstTaxonCell; c < header_.size(); ++c) {
            const double v = abundance(c, fileLine, rowNumber);
            parsed_.abundances.push_back(v);
            total += v;
        }
        if (!std::isfinite(total)) {
            throw Error("Error #2. The abundances in row " + std::to_string(rowNumber) +
                        " add up beyond the largest number that can be held (file: " + table_.inputpath +
                        "). Process aborted. File line " + std::to_string(fileLine) + ".");
        }
        parsed_.samples.push_back(std::move(sample));
        parsed_.fileLines.push_back(fileLine);
        parsed_.totals.push_back(total);
    }

    std::string_view cell(std::size_t c) { return unquoteCell(cells_[c], storage_); }

    // A number written with a decimal comma: counted; read as its decimal-point twin when
    // the user asked for it.
    std::optional<std::string> decimalComma(std::string_view text, std::size_t c, int fileLine) {
        if (!isDecimalCommaNumber(text)) {
            if (options_.decimalComma && isAmbiguousNumber(text)) {
                throw Error(
                    "The cell " + quoted(text) + " in " + placeOf(fileLine, c, header_) + " of the file " +
                    table_.inputpath +
                    " holds both \".\" and \",\": which one is the decimal mark cannot be told. Write it "
                    "with a decimal comma only.");
            }
            return std::nullopt;
        }
        if (parsed_.decimalCommas++ == 0) {
            parsed_.firstDecimalComma = quoted(text) + " in " + placeOf(fileLine, c, header_);
        }
        return decimalPointTwin(text);
    }

    std::string testValue(std::size_t c, int fileLine) {
        const std::string_view text = cell(c);
        if (isNumeric(text)) {
            return std::string(text);
        }
        auto twin = decimalComma(text, c, fileLine);
        return twin && options_.decimalComma ? *twin : "N/A";
    }

    double abundance(std::size_t c, int fileLine, int rowNumber) {
        if (auto count = plainCount(cells_[c])) {
            return *count; // most cells: a plain count, nothing to check
        }
        const std::string_view text = cell(c);
        if (trimBlanks(text).empty()) {
            return 0.0;
        }
        double v = 0.0;
        if (auto plain = parseNumeric(text)) {
            v = *plain;
        } else if (auto twin = decimalComma(text, c, fileLine)) {
            v = options_.decimalComma ? *parseNumeric(*twin) : leadingNumber(text);
        } else {
            v = leadingNumber(text);
            noteDoubtful(c, fileLine, text, v);
        }
        if (!std::isfinite(v) || v < 0.0) {
            throw Error("Error #2. The abundance " + quoted(text) + " in row " + std::to_string(rowNumber) +
                        ", taxon column " + std::to_string(c - firstTaxonCell + 1) +
                        " is not a count or a density (file: " + table_.inputpath +
                        "). Process aborted. File " + placeOf(fileLine, c, header_) + ".");
        }
        return v;
    }

    void noteDoubtful(std::size_t c, int fileLine, std::string_view text, double value) {
        if (parsed_.doubtfulCells.size() < doubtfulCellsListed) {
            parsed_.doubtfulCells.push_back(
                {fileLine, static_cast<int>(c + 1), header_[c], std::string(text), value});
        }
        ++parsed_.doubtfulCount;
    }

    const std::vector<std::string>& header_;
    const std::size_t width_;
    const ReadOptions& options_;
    SampleTable& table_;
    ParsedRows parsed_;
    std::vector<std::string_view> cells_;
    std::string storage_;
};

std::string plural(std::size_t n, const std::string& word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// Resolves every taxon column: the family index it adds into, or -1 when ignored.
// Returns nullopt when the user aborted.
std::optional<std::vector<int>> resolveColumns(const std::vector<std::string>& header, SampleTable& table,
                                               const TaxaDatabase& taxa, const TaxaTree& tree,
                                               const UnknownTaxonHandler& ask) {
    std::vector<bool> known;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        known.push_back(knownFamily(taxa, toUpperAscii(header[c])).has_value());
    }
    NamePlace place;
    place.unknownCount = static_cast<int>(std::count(known.begin(), known.end(), false));
    std::vector<int> familyOfColumn;
    std::unordered_map<std::string, int> familyIndex;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        const std::string& cell = header[c];
        place.column = static_cast<int>(c + 1);
        place.unknown += known[c - firstTaxonCell] ? 0 : 1;
        Resolution r = cercafam(taxa, tree, toUpperAscii(cell), table.utf8, ask, place);
        table.namesfixed = table.namesfixed || r.askedUser;
        if (r.kind == Resolution::Kind::Abort) {
            return std::nullopt;
        }
        if (r.kind == Resolution::Kind::Ignore) {
            table.ignoredtaxa += crlf;
            table.ignoredtaxa += cell;
            familyOfColumn.push_back(-1);
            continue;
        }
        auto [it, isNew] = familyIndex.try_emplace(r.family, table.nfam());
        if (isNew) {
            table.famnames.push_back(r.family);
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
                  table.famnames[static_cast<std::size_t>(family)] + " (columns";
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

// Turns the parsed rows into the abundance matrix of the kept samples, in place: a kept
// row's families are summed from its columns into a buffer first, then written at the
// row's place in the matrix, which never lies after the row itself.
void fillTable(ParsedRows& parsed, const std::vector<int>& familyOfColumn, SampleTable& table,
               std::vector<std::string>& notes) {
    const auto nfam = static_cast<std::size_t>(table.nfam());
    const std::size_t columns = familyOfColumn.size();
    std::vector<double>& cells = parsed.abundances;
    std::vector<double> row(nfam);
    std::string droppedLines;
    std::size_t dropped = 0;
    for (std::size_t r = 0; r < parsed.samples.size(); ++r) {
        if (parsed.totals[r] == 0.0) {
            if (dropped < 10) {
                droppedLines += (dropped == 0 ? "" : ", ") + std::to_string(parsed.fileLines[r]);
            }
            ++dropped;
            continue;
        }
        std::fill(row.begin(), row.end(), 0.0);
        for (std::size_t c = 0; c < columns; ++c) {
            if (familyOfColumn[c] >= 0) {
                row[static_cast<std::size_t>(familyOfColumn[c])] += cells[r * columns + c];
            }
        }
        std::copy(row.begin(), row.end(),
                  cells.begin() + static_cast<std::ptrdiff_t>(table.samples.size() * nfam));
        table.samples.push_back(std::move(parsed.samples[r]));
    }
    cells.resize(table.samples.size() * nfam);
    table.abund = std::move(cells);
    if (dropped > 0) {
        notes.push_back(plural(dropped, "sample") + " with a total abundance of 0 " +
                        (dropped == 1 ? "was" : "were") + " left out (file line" +
                        (dropped == 1 ? " " : "s ") + droppedLines + (dropped > 10 ? ", ..." : "") + ").");
    }
}

} // namespace

DecimalCommaError::DecimalCommaError(const std::string& path, std::string detail, int count)
    : Error("The file " + path + " writes numbers with a decimal comma (" + detail + ")."),
      detail_(std::move(detail)), count_(count) {}

void saveCorrectedFile(ReadResult& result) {
    const SampleTable& table = result.table;
    std::string path = replaceExtension(table.inputpath, "_adj.txt");
    try {
        if (path == table.inputpath) {
            throw Error("The corrected file would replace the sample file " + path + ".");
        }
        writeFileAtomically(path, correctedFileText(table));
        result.correctedPath = path;
        result.notice = "The corrected file has been saved as " + path;
        if (!table.ignoredtaxa.empty()) {
            result.notice += crlf + crlf + "The following taxa were ignored:" + table.ignoredtaxa;
        }
    } catch (const Error& e) {
        result.correctedFileError = std::string("The corrected file could not be saved. ") + e.what();
    }
}

std::string correctedFileText(const SampleTable& table) {
    std::string out = table.titleline + crlf;
    for (const auto& label : table.headerlabel) {
        out += label + "\t";
    }
    for (const auto& name : table.testname) {
        out += name + "\t";
    }
    for (std::size_t j = 0; j < table.famnames.size(); ++j) {
        out += (j == 0 ? "" : "\t") + table.famnames[j];
    }
    out += crlf;
    for (int i = 0; i < table.nsamp(); ++i) {
        const Sample& s = table.samples[static_cast<std::size_t>(i)];
        out += s.code + "\t" + s.name + "\t" + std::to_string(s.sampclass);
        for (const auto& t : s.testval) {
            out += "\t" + t;
        }
        for (int j = 0; j < table.nfam(); ++j) {
            out += "\t" + formatGeneral(table.abundance(i, j));
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

ReadResult inputtxt(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                    const UnknownTaxonHandler& ask, const ReadOptions& options) {
    ReadResult result = readSampleFile(path, taxa, tree, ask, options);
    if (result.status == ReadResult::Status::Ok && result.table.namesfixed) {
        saveCorrectedFile(result);
    }
    return result;
}

ReadResult readSampleFile(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                          const UnknownTaxonHandler& ask, const ReadOptions& options) {
    if (!fileExists(path)) {
        throw Error("File not found.");
    }
    std::string content = readWholeFile(path);
    if (content.empty() || content == "\xEF\xBB\xBF") {
        throw Error("The file " + path + " is empty.");
    }
    const bool wasUtf16 = prepareSampleText(content, path);
    ReadResult result;
    SampleTable& table = result.table;
    table.inputpath = path;

    LineReader lines(content);
    table.utf8 = wasUtf16 || lines.hadByteOrderMark() || (hasNonAscii(content) && isValidUtf8(content));
    table.titleline = std::string(lines.next().value_or(""));
    std::vector<std::string> header = readHeader(lines.next().value_or(""), path);
    const std::vector<DataLine> rows = dataLines(lines, result.notes);
    const std::size_t droppedColumns = dropEmptyLastColumns(header, rows);

    if (header.size() <= firstTaxonCell) {
        throw Error("The file " + path +
                    " has no taxon column (a family name is expected from column 7 on).");
    }
    if (rows.empty()) {
        throw Error("The file " + path + " has no data line (samples are expected from line 3 on).");
    }
    checkTaxonNames(header, path);
    for (std::size_t k = 0; k < 3; ++k) {
        table.headerlabel[k] = header[k];
        table.testname[k] = std::string(trimBlanks(header[3 + k]));
    }
    ParsedRows parsed = RowParser(header, droppedColumns, options, table).parse(rows);
    if (parsed.decimalCommas > 0 && !options.decimalComma) {
        throw DecimalCommaError(path,
                                parsed.firstDecimalComma + "; " +
                                    plural(static_cast<std::size_t>(parsed.decimalCommas), "cell"),
                                parsed.decimalCommas);
    }
    result.doubtfulCount = parsed.doubtfulCount;
    result.doubtfulCells = std::move(parsed.doubtfulCells);

    auto familyOfColumn = resolveColumns(header, table, taxa, tree, ask);
    if (!familyOfColumn) {
        result.status = ReadResult::Status::Aborted;
        return result;
    }
    if (auto merged = mergedColumnsNote(*familyOfColumn, table)) {
        result.notes.push_back(*merged);
    }
    fillTable(parsed, *familyOfColumn, table, result.notes);
    if (table.nsamp() == 0) {
        throw Error("The file " + path + " holds no sample with a total abundance above 0.");
    }
    return result;
}

} // namespace torrentix
