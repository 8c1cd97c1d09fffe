#include "base/lines.h"

namespace torrentix {

std::optional<std::string_view> LineReader::next() {
    if (rest_.empty()) {
        return std::nullopt;
    }
    std::size_t end = 0;
    while (end < rest_.size() && rest_[end] != '\r' && rest_[end] != '\n') {
        ++end;
    }
    if (end == rest_.size()) {
        auto line = rest_;
        rest_ = {};
        return line;
    }
    auto line = rest_.substr(0, end);
    std::size_t terminator = (rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n') ? 2 : 1;
    rest_.remove_prefix(end + terminator);
    return line;
}

} // namespace torrentix
