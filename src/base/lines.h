#pragma once
// Splits the bytes of a text into lines. A line ends at CR LF, at a lone CR or at a lone
// LF; a terminator at the very end does not start another line. A byte-order mark is part
// of the line it stands in: only the start of a whole file may drop it, with
// withoutByteOrderMark, so that a piece of a file reads as the same lines as the whole.

#include <optional>
#include <string>
#include <string_view>

namespace torrentix {

inline constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";

// The text without the UTF-8 byte-order mark it starts with, if any.
inline std::string_view withoutByteOrderMark(std::string_view text) {
    return text.starts_with(utf8ByteOrderMark) ? text.substr(utf8ByteOrderMark.size()) : text;
}

class LineReader {
  public:
    explicit LineReader(std::string_view content) : rest_(content) {}
    // The next line without its terminator, or nullopt at the end of the text.
    std::optional<std::string_view> next();
    // The text not read yet.
    std::string_view rest() const { return rest_; }

  private:
    std::string_view rest_;
};

} // namespace torrentix
