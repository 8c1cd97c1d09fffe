#include "input/samplereader.h"

#include "base/files.h"
#include "base/lines.h"
#include "base/numberforms.h"
#include "base/text.h"

#include <cmath>
#include <optional>
#include <unordered_map>
#include <vector>

namespace torrentix {
namespace {

constexpr int firstTaxonCell = 6; // 0-based index of the first taxon column

const std::string crlf = "\r\n";

struct Header {
    std::vector<std::string_view> cells;
    int taxonColumns = 0;
};

// Lines 3 onward up to the first line that is blank after trimming spaces.
std::vector<std::string_view> dataLines(LineReader& lines) {
    std::vector<std::string_view> rows;
    while (auto line = lines.next()) {
        if (trimBlanks(*line).empty()) {
            break;
        }
        rows.push_back(*line);
    }
    return rows;
}

bool isBlankRow(std::string_view line) {
    for (char c : line) {
        if (c != '\t' && c != ' ') {
            return false;
        }
    }
    return true;
}

std::string rowError(const char* what, int row, const std::string& path) {
    return std::string("Error #1. ") + what + std::to_string(row) + " (file: " + path + "). Process aborted.";
}

// Resolves every taxon column: the family index it adds into, or -1 when ignored.
// Returns nullopt when the user aborted.
std::optional<std::vector<int>> resolveColumns(const Header& header, SampleTable& table,
                                               const TaxaDatabase& taxa, const TaxaTree& tree,
                                               const UnknownTaxonHandler& ask) {
    std::vector<int> familyOfColumn;
    familyOfColumn.reserve(static_cast<std::size_t>(header.taxonColumns));
    std::unordered_map<std::string, int> familyIndex;
    for (int c = 0; c < header.taxonColumns; ++c) {
        std::string_view cell = header.cells[static_cast<std::size_t>(firstTaxonCell + c)];
        Resolution r = cercafam(taxa, tree, toUpperAscii(cell), table.utf8, ask);
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

void readSampleCells(const std::vector<std::string_view>& cells, SampleTable& table, Sample& sample) {
    sample.code = std::string(cells[0]);
    sample.name = fitWidth(cells[1], sampleNameWidth, table.utf8);
    std::optional<double> classValue = parseNumeric(cells[2]);
    double x = classValue.value_or(0.0);
    sample.sampclass = (x > 0.0 && x < 7.0) ? static_cast<int>(roundHalfEven(x)) : 0;
    for (std::size_t k = 0; k < 3; ++k) {
        std::string_view cell = cells[3 + k];
        if (isNumeric(cell)) {
            ++table.testcount[k];
            sample.testval[k] = std::string(cell);
        } else {
            sample.testval[k] = "N/A";
        }
    }
}

// Adds the abundances of one row into `row` (one slot per family); returns the row total.
double readAbundances(const std::vector<std::string_view>& cells, const std::vector<int>& familyOfColumn,
                      std::vector<double>& row, int rowNumber, const std::string& path) {
    double total = 0.0;
    for (std::size_t c = 0; c < familyOfColumn.size(); ++c) {
        std::string_view cell = cells[firstTaxonCell + c];
        double v = cell.empty() ? 0.0 : leadingNumber(cell);
        if (!std::isfinite(v) || v < 0.0) {
            throw Error("Error #2. The abundance \"" + std::string(cell) + "\" in row " +
                        std::to_string(rowNumber) + ", taxon column " + std::to_string(c + 1) +
                        " is not a count or a density (file: " + path + "). Process aborted.");
        }
        if (familyOfColumn[c] >= 0) {
            row[static_cast<std::size_t>(familyOfColumn[c])] += v;
        }
        total += v;
    }
    return total;
}

void readRows(const std::vector<std::string_view>& lines, const std::vector<int>& familyOfColumn,
              SampleTable& table) {
    const std::size_t expectedCells = familyOfColumn.size() + firstTaxonCell;
    const auto nfam = static_cast<std::size_t>(table.nfam());
    table.abund.reserve(lines.size() * nfam);
    std::vector<double> row(nfam);
    std::vector<std::string_view> cells;
    cells.reserve(expectedCells);
    for (std::string_view line : lines) {
        if (isBlankRow(line)) {
            continue;
        }
        const int rowNumber = table.nsamp() + 1;
        splitTabsInto(line, cells);
        if (cells.size() > expectedCells) {
            throw Error(rowError("Too many columns in row ", rowNumber, table.inputpath));
        }
        if (cells.size() < expectedCells) {
            throw Error(rowError("Too few columns in row ", rowNumber, table.inputpath));
        }
        Sample sample;
        readSampleCells(cells, table, sample);
        std::fill(row.begin(), row.end(), 0.0);
        const double total = readAbundances(cells, familyOfColumn, row, rowNumber, table.inputpath);
        if (!std::isfinite(total)) {
            throw Error("Error #2. The abundances in row " + std::to_string(rowNumber) +
                        " add up beyond the largest number that can be held (file: " + table.inputpath +
                        "). Process aborted.");
        }
        if (total == 0.0) {
            continue; // an empty sample is dropped
        }
        table.samples.push_back(std::move(sample));
        table.abund.insert(table.abund.end(), row.begin(), row.end());
    }
}

} // namespace

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

ReadResult inputtxt(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                    const UnknownTaxonHandler& ask) {
    ReadResult result = readSampleFile(path, taxa, tree, ask);
    if (result.status == ReadResult::Status::Ok && result.table.namesfixed) {
        saveCorrectedFile(result);
    }
    return result;
}

ReadResult readSampleFile(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                          const UnknownTaxonHandler& ask) {
    if (!fileExists(path)) {
        throw Error("File not found.");
    }
    const std::string content = readWholeFile(path);
    ReadResult result;
    SampleTable& table = result.table;
    table.inputpath = path;

    LineReader lines(content);
    if (content.empty() || content == "\xEF\xBB\xBF") {
        throw Error("The file " + path + " is empty.");
    }
    table.utf8 = lines.hadByteOrderMark() || (hasNonAscii(content) && isValidUtf8(content));
    table.titleline = std::string(lines.next().value_or(""));
    Header header;
    header.cells = splitTabs(lines.next().value_or(""));
    header.taxonColumns = static_cast<int>(header.cells.size()) - firstTaxonCell;
    const std::vector<std::string_view> rows = dataLines(lines);

    if (header.taxonColumns < 1) {
        throw Error("The file " + path +
                    " has no taxon column (a family name is expected from column 7 on).");
    }
    if (rows.empty()) {
        throw Error("The file " + path + " has no data line (samples are expected from line 3 on).");
    }
    for (std::size_t k = 0; k < 3; ++k) {
        table.headerlabel[k] = std::string(header.cells[k]);
        table.testname[k] = std::string(trimBlanks(header.cells[3 + k]));
    }
    auto familyOfColumn = resolveColumns(header, table, taxa, tree, ask);
    if (!familyOfColumn) {
        result.status = ReadResult::Status::Aborted;
        return result;
    }
    readRows(rows, *familyOfColumn, table);
    if (table.nsamp() == 0) {
        throw Error("The file " + path + " holds no sample with a total abundance above 0.");
    }
    return result;
}

} // namespace torrentix
