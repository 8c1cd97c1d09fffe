#include "input/rowparser.h"

#include "base/lines.h"
#include "base/numberforms.h"
#include "base/text.h"
#include "input/cells.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace torrentix {
namespace {

// More digits than this are read by the general conversion: eight always fit the 32 bits
// they are gathered in.
constexpr int fastDigits = 8;

constexpr std::array<std::string_view, 6> classWords = {"REF", "HIGH", "GOOD", "MODERATE", "POOR", "BAD"};

bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

const char* tabOrEnd(const char* from, const char* end) {
    const auto* tab = static_cast<const char*>(std::memchr(from, '\t', static_cast<std::size_t>(end - from)));
    return tab != nullptr ? tab : end;
}

// A class cell that names a class in words ("Reference", "high", "Ref.") rather than by
// its number; a mark of no class ("N/A", "n.c.") is none.
bool isClassWord(std::string_view cell) {
    const std::string upper = toUpperAscii(cell);
    return std::any_of(classWords.begin(), classWords.end(),
                       [&upper](std::string_view word) { return upper.find(word) != std::string::npos; });
}

std::size_t cellCount(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) + 1;
}

class BlockParser {
  public:
    BlockParser(const RowContext& context, ParsedBlock& block) : c_(context), block_(block) {}

    // Parses one data row; false when it has a fault (recorded in the block).
    bool parseRow(std::string_view line, int fileLine) {
        line_ = line;
        fileLine_ = fileLine;
        const char* p = line.data();
        const char* const end = p + line.size();
        std::array<std::string_view, firstTaxonCell> head;
        for (std::size_t c = 0; c < firstTaxonCell; ++c) {
            const char* cellEnd = tabOrEnd(p, end);
            head[c] = std::string_view(p, static_cast<std::size_t>(cellEnd - p));
            if (cellEnd == end) {
                return widthFault();
            }
            p = cellEnd + 1;
        }
        Sample sample;
        if (!sampleCells(head, sample)) {
            return false;
        }
        double total = 0.0;
        const std::size_t taxa = c_.header.size();
        for (std::size_t c = firstTaxonCell; c < c_.width; ++c) {
            const char* cellEnd = nullptr;
            if (c < taxa) {
                double v = 0.0;
                if (!abundance(c, p, end, cellEnd, v)) {
                    return false;
                }
                total += v;
            } else {
                cellEnd = tabOrEnd(p, end); // an empty last column, dropped
            }
            const bool last = c + 1 == c_.width;
            if ((cellEnd == end) != last) {
                return widthFault();
            }
            p = last ? end : cellEnd + 1;
        }
        if (!std::isfinite(total)) {
            return fault([path = c_.path, fileLine](int row) {
                return "Error #2. The abundances in row " + std::to_string(row) +
                       " add up beyond the largest number that can be held (file: " + path +
                       "). Process aborted. File line " + std::to_string(fileLine) + ".";
            });
        }
        block_.abundances.endRow();
        block_.samples.push_back(std::move(sample));
        block_.fileLines.push_back(fileLine);
        block_.kept.push_back(total != 0.0);
        kept_ += total == 0.0 ? 0 : 1;
        return true;
    }

  private:
    bool sampleCells(const std::array<std::string_view, firstTaxonCell>& head, Sample& sample) {
        sample.code = std::string(unquoteCell(head[0], storage_));
        sample.fullName = std::string(unquoteCell(head[1], storage_));
        const std::string_view classCell = unquoteCell(head[2], storage_);
        const auto number = parseNumeric(classCell);
        if (!number && isClassWord(classCell) && block_.classWords++ == 0) {
            block_.firstClassWord = quoted(trimBlanks(classCell)) + " in line " + std::to_string(fileLine_);
        }
        const double x = number.value_or(0.0);
        sample.qualityClass = (x > 0.0 && x < 7.0) ? static_cast<int>(roundHalfEven(x)) : 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string_view text = unquoteCell(head[3 + k], storage_);
            if (isNumeric(text)) {
                noteDecimalPoint(3 + k, text);
                sample.testValueTexts[k] = std::string(text);
            } else {
                std::optional<std::string> twin;
                if (!decimalComma(text, 3 + k, twin)) {
                    return false;
                }
                sample.testValueTexts[k] = twin && c_.options.decimalComma ? *twin : "N/A";
            }
            block_.numericTestValueCounts[k] += sample.testValueTexts[k] != "N/A" ? 1 : 0;
        }
        return true;
    }

    // Reads the abundance cell starting at `p`: plain counts and decimals directly, any
    // other text as the method reads it. Sets `cellEnd` to the TAB or line end after it.
    bool abundance(std::size_t c, const char* p, const char* end, const char*& cellEnd, double& v) {
        const char* q = p;
        std::uint32_t digits = 0;
        int count = 0;
        while (q < end && isDigit(*q) && count <= fastDigits) {
            digits = digits * 10 + static_cast<std::uint32_t>(*q++ - '0');
            ++count;
        }
        int decimals = 0;
        if (count > 0 && q < end && *q == '.') {
            const char* fraction = ++q;
            while (q < end && isDigit(*q) && count <= fastDigits) {
                digits = digits * 10 + static_cast<std::uint32_t>(*q++ - '0');
                ++count;
            }
            decimals = static_cast<int>(q - fraction);
        }
        const bool plain =
            count > 0 && count <= fastDigits && (q == end || *q == '\t') && (decimals > 0 || q[-1] != '.');
        if (plain) {
            cellEnd = q;
            if (decimals > 0) {
                noteDecimalPoint(c, std::string_view(p, static_cast<std::size_t>(q - p)));
            }
            if (digits != 0) {
                const auto key = static_cast<std::uint16_t>(c - firstTaxonCell);
                v = decimals == 0 ? digits : digits / powersOfTen[decimals];
                if (const auto code = decimalCode(digits, decimals)) {
                    block_.abundances.addCode(key, *code);
                } else {
                    block_.abundances.add(key, v);
                }
            }
            return true;
        }
        cellEnd = tabOrEnd(q, end);
        if (!generalAbundance(c, std::string_view(p, static_cast<std::size_t>(cellEnd - p)), v)) {
            return false;
        }
        block_.abundances.add(static_cast<std::uint16_t>(c - firstTaxonCell), v);
        return true;
    }

    bool generalAbundance(std::size_t c, std::string_view cell, double& v) {
        const std::string_view text = unquoteCell(cell, storage_);
        if (trimBlanks(text).empty()) {
            v = 0.0;
            return true;
        }
        std::optional<std::string> twin;
        if (auto plain = parseNumeric(text)) {
            noteDecimalPoint(c, text);
            v = *plain;
        } else if (!decimalComma(text, c, twin)) {
            return false;
        } else if (twin) {
            v = c_.options.decimalComma ? *parseNumeric(*twin) : leadingNumber(text);
        } else {
            v = leadingNumber(text);
            noteDoubtful(c, text, v);
        }
        if (!std::isfinite(v) || v < 0.0) {
            const std::size_t column = c - firstTaxonCell + 1;
            return fault([text = std::string(text), column, place = placeOf(fileLine_, c, c_.header),
                          path = c_.path](int row) {
                return "Error #2. The abundance " + quoted(text) + " in row " + std::to_string(row) +
                       ", taxon column " + std::to_string(column) +
                       " is not a count or a density (file: " + path + "). Process aborted. File " + place +
                       ".";
            });
        }
        v = v == 0.0 ? 0.0 : v; // a written "-0" is no abundance
        return true;
    }

    // A number written with a decimal comma: counted, and its decimal-point twin given.
    // False for a cell whose decimal mark cannot be told, when commas are decimal marks.
    bool decimalComma(std::string_view text, std::size_t c, std::optional<std::string>& twin) {
        if (!isDecimalCommaNumber(text)) {
            if (c_.options.decimalComma && isAmbiguousNumber(text)) {
                const std::string message =
                    "The cell " + quoted(text) + " in " + placeOf(fileLine_, c, c_.header) + " of the file " +
                    c_.path +
                    " holds both \".\" and \",\": which one is the decimal mark cannot be told. Write it "
                    "with a decimal comma only.";
                return fault([message](int) { return message; });
            }
            return true;
        }
        if (block_.decimalCommas++ == 0) {
            block_.firstDecimalComma = quoted(text) + " in " + placeOf(fileLine_, c, c_.header);
        }
        twin = decimalPointTwin(text);
        return true;
    }

    // A number written with a "." in a file whose decimal mark is the comma: "1.394" may be
    // 1394 with a thousands separator or a decimal, which cannot be told.
    void noteDecimalPoint(std::size_t c, std::string_view text) {
        if (!c_.options.decimalComma || text.find('.') == std::string_view::npos) {
            return;
        }
        if (block_.decimalPoints++ == 0) {
            block_.firstDecimalPoint = quoted(text) + " in " + placeOf(fileLine_, c, c_.header);
        }
    }

    void noteDoubtful(std::size_t c, std::string_view text, double value) {
        if (block_.doubtfulCells.size() < doubtfulCellsListed) {
            block_.doubtfulCells.push_back(
                {fileLine_, static_cast<int>(c + 1), c_.header[c], std::string(text), value});
        }
        ++block_.doubtfulCount;
    }

    // A row of another width than the header: that fault comes before any of its cells'.
    bool widthFault() {
        const std::size_t cells = cellCount(line_);
        const bool tooMany = cells > c_.width;
        block_.fault = RowFault{
            kept_, [tooMany, cells, width = c_.width, path = c_.path, fileLine = fileLine_](int row) {
                return std::string("Error #1. ") +
                       (tooMany ? "Too many columns in row " : "Too few columns in row ") +
                       std::to_string(row) + " (file: " + path + "). Process aborted. File line " +
                       std::to_string(fileLine) + " holds " + std::to_string(cells) +
                       " cells; the header has " + std::to_string(width) + ".";
            }};
        return false;
    }

    bool fault(std::function<std::string(int)> message) {
        if (cellCount(line_) != c_.width) {
            return widthFault();
        }
        block_.fault = RowFault{kept_, std::move(message)};
        return false;
    }

    const RowContext& c_;
    ParsedBlock& block_;
    std::string_view line_;
    int fileLine_ = 0;
    int kept_ = 0;
    std::string storage_;
};

// Calls `take` with each line of the text and its file line, ends as LineReader ends them:
// lines ending with LF or CR LF are cut at each LF; from a line holding a CR of its own
// on (lines ending with CR alone), LineReader cuts them.
template <class Take> void forEachLine(std::string_view text, int firstFileLine, Take take) {
    int fileLine = firstFileLine;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (std::memchr(line.data(), '\r', line.size()) != nullptr) {
            break;
        }
        take(line, fileLine++);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    }
    LineReader lines(text);
    while (auto line = lines.next()) {
        take(*line, fileLine++);
    }
}

} // namespace

bool isBlankRow(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == '\t' || c == ' '; });
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string placeOf(int fileLine, std::size_t cell, const std::vector<std::string>& header) {
    std::string place = "line " + std::to_string(fileLine) + ", column " + std::to_string(cell + 1);
    if (cell < header.size()) {
        place += " (" + header[cell] + ")";
    }
    return place;
}

ParsedBlock parseBlock(const RowContext& context, std::string_view text, int firstFileLine) {
    ParsedBlock block;
    block.nonAscii = hasNonAscii(text);
    block.validUtf8 = !block.nonAscii || isValidUtf8(text);
    if (!block.validUtf8 && context.utf8Declared) {
        forEachLine(text, firstFileLine, [&](std::string_view line, int fileLine) {
            if (block.firstNonUtf8Line == 0 && !isValidUtf8(line)) {
                block.firstNonUtf8Line = fileLine;
            }
        });
    }
    // A pair takes at least two bytes of the text: a digit and the TAB or line end after it.
    block.abundances.reserve(text.size() / 2 + 1);
    BlockParser parser(context, block);
    forEachLine(text, firstFileLine, [&](std::string_view line, int fileLine) {
        const bool blank = trimBlanks(line).empty();
        if (block.blankLine) {
            block.nonBlankAfterBlank += blank ? 0 : 1;
            return;
        }
        if (blank && context.options.readPastBlankLines) {
            block.firstSkippedBlankLine =
                block.skippedBlankLines++ == 0 ? fileLine : block.firstSkippedBlankLine;
            return;
        }
        if (blank) {
            block.blankLine = fileLine;
            return;
        }
        ++block.nonBlankBeforeBlank;
        if (!block.fault && !isBlankRow(line)) {
            parser.parseRow(line, fileLine);
        }
    });
    // The blocks of a file are held together until they are joined: none keeps more
    // memory than its rows need.
    if (context.familyOfColumn != nullptr && !block.fault) {
        block.abundances.mergeInto(*context.familyOfColumn, context.families, block.kept);
    }
    block.abundances.shrink();
    block.samples.shrink_to_fit();
    return block;
}

} // namespace torrentix
