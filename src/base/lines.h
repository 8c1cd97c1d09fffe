#pragma once
// Splits the bytes of a text file into lines. A line ends at CR LF, at a lone CR or at a
// lone LF; a terminator at the very end does not start another line. A UTF-8 byte-order
// mark at the start is skipped.

#include <optional>
#include <string>
#include <string_view>

namespace torrentix {

class LineReader {
  public:
    explicit LineReader(std::string_view content);
    // The next line without its terminator, or nullopt at the end of the text.
    std::optional<std::string_view> next();
    bool hadByteOrderMark() const { return bom_; }
    // The text not read yet.
    std::string_view rest() const { return rest_; }

  private:
    std::string_view rest_;
    bool bom_ = false;
};

} // namespace torrentix
