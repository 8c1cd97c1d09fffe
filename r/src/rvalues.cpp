#include "rvalues.h"

#include "base/text.h"

namespace torrentix::r {

Rcpp::String utf8String(const std::string& text, bool utf8) {
    return Rcpp::String(utf8 ? text : cp1252ToUtf8(text), CE_UTF8);
}

Rcpp::CharacterVector utf8Strings(const std::vector<std::string>& texts, bool utf8) {
    Rcpp::CharacterVector out(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out[static_cast<R_xlen_t>(i)] = utf8String(texts[i], utf8);
    }
    return out;
}

Rcpp::NumericVector numbers(const std::vector<std::optional<double>>& values) {
    Rcpp::NumericVector out(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        out[static_cast<R_xlen_t>(i)] = values[i].value_or(NA_REAL);
    }
    return out;
}

Rcpp::List FrameBuilder::frame(int rows) const {
    Rcpp::List out(columns_.size());
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        out[static_cast<R_xlen_t>(c)] = columns_[c];
    }
    out.attr("names") = utf8Strings(names_);
    out.attr("row.names") = Rcpp::IntegerVector::create(NA_INTEGER, -rows);
    out.attr("class") = "data.frame";
    return out;
}

} // namespace torrentix::r
