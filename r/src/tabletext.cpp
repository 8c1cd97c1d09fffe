#include "tabletext.h"

#include "base/error.h"
#include "input/textblocks.h"

#include <charconv>
#include <cmath>
#include <memory>

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

void appendWhole(long long value, std::string& out) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void appendDouble(double v, std::string& out) {
    if (ISNA(v)) {
        out += "NA";
    } else if (std::isnan(v)) {
        out += "NaN";
    } else if (std::isinf(v)) {
        out += v > 0 ? "Inf" : "-Inf";
    } else if (v == std::trunc(v) && std::fabs(v) < 1e15) {
        appendWhole(static_cast<long long>(v), out); // counts, the most common cells
    } else {
        char digits[32]; // the shortest text that reads back to the same value
        const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        out.append(digits, end);
    }
}

void appendText(SEXP text, std::string& out) {
    if (text == NA_STRING) {
        out += "NA";
    } else {
        out += CHAR(text); // made UTF-8 by R before the table reaches the engine
    }
}

} // namespace

void CellColumn::append(std::size_t i, std::string& out) const {
    switch (kind_) {
    case Kind::Double:
        appendDouble(doubles_[i], out);
        return;
    case Kind::Integer:
        if (integers_[i] == NA_INTEGER) {
            out += "NA";
        } else {
            appendWhole(integers_[i], out);
        }
        return;
    case Kind::Logical:
        out += integers_[i] == NA_LOGICAL ? "NA" : integers_[i] != 0 ? "TRUE" : "FALSE";
        return;
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
            for (const CellColumn& taxon : taxa_) {
                text_ += '\t';
                taxon.append(i, text_);
            }
        }
        text_ += '\n';
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
