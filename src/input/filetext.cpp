#include "input/filetext.h"

#include "base/error.h"
#include "base/text.h"

#include <string_view>

namespace torrentix {
namespace {

bool startsWith(const std::string& bytes, std::string_view prefix) {
    return std::string_view(bytes).substr(0, prefix.size()) == prefix;
}

const std::string saveAsText =
    " Save the sheet as tab-separated text (\"Text (Tab delimited)\") and open that file.";

} // namespace

bool prepareSampleText(std::string& bytes, const std::string& path) {
    using namespace std::string_view_literals;
    if (startsWith(bytes, "PK\x03\x04"sv)) {
        throw Error("The file " + path + " is a spreadsheet workbook (.xlsx or .ods), not a text file." +
                    saveAsText);
    }
    if (startsWith(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv)) {
        throw Error("The file " + path + " is a spreadsheet workbook (.xls), not a text file." + saveAsText);
    }
    const bool littleEndian = startsWith(bytes, "\xFF\xFE"sv);
    const bool utf16 = littleEndian || startsWith(bytes, "\xFE\xFF"sv);
    if (utf16) {
        auto utf8 = utf16ToUtf8(std::string_view(bytes).substr(2), !littleEndian);
        if (!utf8) {
            throw Error("The file " + path + " starts as UTF-16 text but is not valid UTF-16.");
        }
        bytes = std::move(*utf8);
    }
    if (const auto nul = bytes.find('\0'); nul != std::string::npos) {
        throw Error("The file " + path + " is not a text file: byte " + std::to_string(nul + 1) +
                    " is a NUL byte. Sample files are tab-separated text.");
    }
    return utf16;
}

} // namespace torrentix
