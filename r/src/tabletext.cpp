#include "tabletext.h"

#include "base/error.h"
#include "input/textblocks.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <string_view>

namespace torrentix::r {

CellColumn::CellColumn(SEXP column) {
    if (Rf_isFactor(column)) {
        kind_ = Kind::Factor;
        integers_ = INTEGER(column);
        texts_ = Rf_getAttrib(column, R_LevelsSymbol);
    } else if (TYPEOF(column) == REALSXP) {
        kind_ = Kind::Double;
        doubles_ = REAL(column);
    } else if (TYPEOF(column) == INTSXP) {
        kind_ = Kind::Integer;
        integers_ = INTEGER(column);
    } else if (TYPEOF(column) == LGLSXP) {
        kind_ = Kind::Logical;
        integers_ = LOGICAL(column);
    } else if (TYPEOF(column) == STRSXP) {
        texts_ = column;
    } else {
        throw Error("A column of the table is neither numbers nor texts.");
    }
}

namespace {

char* writeText(std::string_view text, char* at) {
    return std::copy(text.begin(), text.end(), at);
}

char* writeWhole(long long value, char* at) {
    return std::to_chars(at, at + 24, value).ptr;
}

char* writeDouble(double v, char* at) {
    if (v == 0.0) {
        *at = '0'; // half the cells of a sample file
        return at + 1;
    }
    if (ISNA(v)) {
        return writeText("NA", at);
    }
    if (std::isnan(v)) {
        return writeText("NaN", at);
    }
    if (std::isinf(v)) {
        return writeText(v > 0 ? "Inf" : "-Inf", at);
    }
    if (v == std::trunc(v) && std::fabs(v) < 1e15) {
        return writeWhole(static_cast<long long>(v), at); // counts, the most common cells
    }
    return std::to_chars(at, at + CellColumn::mostNumberBytes, v).ptr; // the shortest text that reads back
}

void appendText(SEXP text, std::string& out) {
    if (text == NA_STRING) {
        out += "NA";
    } else {
        out += CHAR(text); // made UTF-8 by R before the table reaches the engine
    }
}

} // namespace

char* CellColumn::writeNumber(std::size_t i, char* at) const {
    switch (kind_) {
    case Kind::Double:
        // Rows are written across the columns: each column's next cache lines are asked for
        // ahead of the rows that need them.
        __builtin_prefetch(doubles_ + i + 16);
        return writeDouble(doubles_[i], at);
    case Kind::Integer:
        return integers_[i] == NA_INTEGER ? writeText("NA", at) : writeWhole(integers_[i], at);
    case Kind::Logical:
        return writeText(integers_[i] == NA_LOGICAL ? "NA" : integers_[i] != 0 ? "TRUE" : "FALSE", at);
    case Kind::Text:
    case Kind::Factor:
        break;
    }
    return at;
}

void CellColumn::append(std::size_t i, std::string& out) const {
    switch (kind_) {
    case Kind::Double:
    case Kind::Integer:
    case Kind::Logical: {
        char cell[mostNumberBytes];
        out.append(cell, writeNumber(i, cell));
        return;
    }
    case Kind::Factor:
        if (integers_[i] == NA_INTEGER) {
            out += "NA";
        } else {
            appendText(STRING_ELT(texts_, integers_[i] - 1), out);
        }
        return;
    case Kind::Text:
        appendText(STRING_ELT(texts_, static_cast<R_xlen_t>(i)), out);
        return;
    }
}

namespace {

bool breaksCells(std::string_view text) {
    return text.find_first_of("\t\r\n") != std::string_view::npos;
}

// The rows of the table written as lines of text, a few at a time.
class RowWriter {
  public:
    explicit RowWriter(const TableLayout& layout) : layout_(layout) {
        for (SEXP column : layout.sampleColumns) {
            samples_.emplace_back(column);
        }
        for (SEXP column : layout.taxonColumns) {
            taxa_.emplace_back(column);
        }
        cells_.resize(taxa_.size() * (CellColumn::mostNumberBytes + 1));
        if (layout.longRows.abundance != R_NilValue) {
            abundance_ = std::make_unique<CellColumn>(layout.longRows.abundance);
            rowOfTaxon_.assign(layout.header.size() - samples_.size(), -1);
        }
        text_ = layout.title + "\n";
        for (std::size_t c = 0; c < layout.header.size(); ++c) {
            text_ += (c == 0 ? "" : "\t") + layout.header[c];
        }
        text_ += "\n";
    }

    // Appends up to `most` bytes of the text to `into`; 0 at its end.
    std::size_t read(std::string& into, std::size_t most) {
        while (text_.size() - offset_ < most && next_ < layout_.rows) {
            text_.erase(0, offset_);
            offset_ = 0;
            text_.reserve(2 * most);
            while (text_.size() < most && next_ < layout_.rows) {
                appendRow(next_++);
            }
        }
        const std::size_t n = std::min(most, text_.size() - offset_);
        into.append(text_, offset_, n);
        offset_ += n;
        return n;
    }

  private:
    void appendRow(std::size_t i) {
        for (std::size_t c = 0; c < samples_.size(); ++c) {
            if (c > 0) {
                text_ += '\t';
            }
            samples_[c].append(i, text_);
        }
        if (abundance_) {
            appendLongRow(i);
        } else {
            appendWideRow(i);
        }
        text_ += '\n';
    }

    // The taxa of sample i: a run of columns of numbers written straight into room made for
    // them once, then appended whole.
    void appendWideRow(std::size_t i) {
        std::size_t c = 0;
        while (c < taxa_.size()) {
            if (!taxa_[c].isNumbers()) {
                text_ += '\t';
                taxa_[c++].append(i, text_);
                continue;
            }
            std::size_t end = c;
            while (end < taxa_.size() && taxa_[end].isNumbers()) {
                ++end;
            }
            char* at = cells_.data();
            for (; c < end; ++c) {
                *at++ = '\t';
                at = taxa_[c].writeNumber(i, at);
            }
            text_.append(cells_.data(), at);
        }
    }

    // The taxa of sample i as cells, "0" where the long table holds no row.
    void appendLongRow(std::size_t i) {
        const LongRows& l = layout_.longRows;
        for (int k = l.firstRow[i]; k < l.firstRow[i + 1]; ++k) {
            rowOfTaxon_[static_cast<std::size_t>(l.taxon[l.order[k]])] = l.order[k];
        }
        for (int& row : rowOfTaxon_) {
            text_ += '\t';
            if (row < 0) {
                text_ += '0';
            } else {
                abundance_->append(static_cast<std::size_t>(row), text_);
                row = -1;
            }
        }
    }

    const TableLayout& layout_;
    std::vector<CellColumn> samples_;
    std::vector<CellColumn> taxa_;
    std::vector<char> cells_; // room for a row of numbers
    std::unique_ptr<CellColumn> abundance_;
    std::vector<int> rowOfTaxon_;
    std::string text_;
    std::size_t offset_ = 0;
    std::size_t next_ = 0;
};

void checkColumn(SEXP column, std::size_t rows, const std::string& name) {
    SEXP texts = Rf_isFactor(column) ? Rf_getAttrib(column, R_LevelsSymbol) : column;
    if (TYPEOF(texts) != STRSXP) {
        return;
    }
    const R_xlen_t n = Rf_isFactor(column) ? XLENGTH(texts) : static_cast<R_xlen_t>(rows);
    for (R_xlen_t i = 0; i < n; ++i) {
        SEXP text = STRING_ELT(texts, i);
        if (text != NA_STRING && breaksCells(CHAR(text))) {
            throw Error("The cell \"" + std::string(CHAR(text)) + "\" of the column " + name +
                        " holds a TAB or a line break, which a sample file cannot hold.");
        }
    }
}

} // namespace

void checkTexts(const TableLayout& layout) {
    if (layout.title.find_first_of("\r\n") != std::string::npos) {
        throw Error("The title holds a line break, which a sample file cannot hold.");
    }
    for (const std::string& name : layout.header) {
        if (breaksCells(name)) {
            throw Error("The column name \"" + name + "\" holds a TAB or a line break, which a sample file " +
                        "cannot hold.");
        }
    }
    for (std::size_t c = 0; c < layout.sampleColumns.size(); ++c) {
        checkColumn(layout.sampleColumns[c], layout.rows, layout.header[c]);
    }
    for (std::size_t c = 0; c < layout.taxonColumns.size(); ++c) {
        checkColumn(layout.taxonColumns[c], layout.rows, layout.header[c + layout.sampleColumns.size()]);
    }
    if (layout.longRows.abundance != R_NilValue) {
        checkColumn(layout.longRows.abundance, static_cast<std::size_t>(XLENGTH(layout.longRows.abundance)),
                    "of abundances");
    }
}

OpenSampleText openTableText(const TableLayout& layout) {
    return [&layout](std::size_t blockBytes, bool&) {
        auto writer = std::make_shared<RowWriter>(layout);
        return TextBlocks([writer](std::string& into, std::size_t most) { return writer->read(into, most); },
                          std::string(), blockBytes);
    };
}

} // namespace torrentix::r
