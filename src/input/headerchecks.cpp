#include "input/headerchecks.h"

#include "base/error.h"
#include "base/lines.h"
#include "base/numberforms.h"
#include "base/text.h"
#include "input/cells.h"
#include "input/filetext.h"
#include "input/rowparser.h"

#include <algorithm>

namespace torrentix {
namespace {

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

} // namespace

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

namespace {

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

// What the data rows tell about a header with empty column names: whether there is any
// row, and how many of the empty last columns are empty in every row too (a TAB at the
// end of every line, as some spreadsheets write them), which are then dropped.
struct EmptyColumns {
    bool anyRow = false;
    std::size_t droppable = 0;
};

EmptyColumns scanEmptyLastColumns(const OpenSampleText& open, const std::vector<std::string>& header,
                                  std::size_t blockBytes) {
    std::size_t candidates = 0;
    while (header.size() - candidates > firstTaxonCell + 1 &&
           trimBlanks(header[header.size() - 1 - candidates]).empty()) {
        ++candidates;
    }
    EmptyColumns result{false, candidates};
    bool wasUtf16 = false;
    TextBlocks text = open(blockBytes, wasUtf16);
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

} // namespace

std::size_t checkTaxonColumns(std::vector<std::string>& header, const std::string& path,
                              const ReadOptions& options, const OpenSampleText& open) {
    const bool emptyName =
        std::any_of(header.begin() + static_cast<std::ptrdiff_t>(std::min(header.size(), firstTaxonCell)),
                    header.end(), [](const std::string& cell) { return trimBlanks(cell).empty(); });
    std::size_t dropped = 0;
    if (emptyName) {
        const EmptyColumns scan = scanEmptyLastColumns(open, header, options.blockBytes);
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

} // namespace torrentix
