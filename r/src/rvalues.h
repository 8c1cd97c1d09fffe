#pragma once
// R values made from the engine's: texts as UTF-8 strings, numbers with NA for a value
// that does not exist, data frames from named columns.

#include <Rcpp.h>

#include <optional>
#include <string>
#include <vector>

namespace torrentix::r {

// Texts of a sample file (UTF-8, or Windows-1252 when `utf8` is false) as UTF-8 strings.
Rcpp::CharacterVector utf8Strings(const std::vector<std::string>& texts, bool utf8 = true);
Rcpp::String utf8String(const std::string& text, bool utf8 = true);
Rcpp::NumericVector numbers(const std::vector<std::optional<double>>& values);

// A data frame of the columns, in order, with their names.
class FrameBuilder {
  public:
    template <class Column> void add(const std::string& name, const Column& column) {
        columns_.push_back(Rcpp::wrap(column));
        names_.push_back(name);
    }
    Rcpp::List frame(int rows) const;

  private:
    std::vector<Rcpp::RObject> columns_;
    std::vector<std::string> names_;
};

} // namespace torrentix::r
