#pragma once
// Texts of the sample file as the screen shows them: the file's bytes are UTF-8 or
// Windows-1252, as the reader found them.

#include "base/text.h"

#include <QString>

#include <string_view>

namespace torrentix {

inline QString displayText(std::string_view bytes, bool utf8) {
    if (utf8) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    const std::string converted = cp1252ToUtf8(bytes);
    return QString::fromUtf8(converted.data(), static_cast<qsizetype>(converted.size()));
}

} // namespace torrentix
