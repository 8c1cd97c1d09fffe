#include "input/filetext.h"

#include "base/error.h"
#include "base/files.h"
#include "base/text.h"

#include <memory>

namespace torrentix {
namespace {

using namespace std::string_view_literals;

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

const std::string saveAsText =
    " Save the sheet as tab-separated text (\"Text (Tab delimited)\") and open that file.";

} // namespace

void refuseWorkbook(std::string_view start, const std::string& path) {
    if (startsWith(start, "PK\x03\x04"sv)) {
        throw Error("The file " + path + " is a spreadsheet workbook (.xlsx or .ods), not a text file." +
                    saveAsText);
    }
    if (startsWith(start, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv)) {
        throw Error("The file " + path + " is a spreadsheet workbook (.xls), not a text file." + saveAsText);
    }
}

bool isUtf16(std::string_view start) {
    return startsWith(start, "\xFF\xFE"sv) || startsWith(start, "\xFE\xFF"sv);
}

void refuseNul(std::size_t nul, const std::string& path) {
    throw Error("The file " + path + " is not a text file: byte " + std::to_string(nul + 1) +
                " is a NUL byte. Sample files are tab-separated text.");
}

bool prepareSampleText(std::string& bytes, const std::string& path) {
    refuseWorkbook(bytes, path);
    const bool utf16 = isUtf16(bytes);
    if (utf16) {
        constexpr std::size_t markBytes = 2;
        Utf16Decoding decoded =
            utf16ToUtf8(std::string_view(bytes).substr(markBytes), !startsWith(bytes, "\xFF\xFE"sv));
        const std::string offset = std::to_string(decoded.faultOffset + markBytes);
        switch (decoded.fault) {
        case Utf16Decoding::Fault::None:
            break;
        case Utf16Decoding::Fault::UnpairedSurrogate:
            throw Error("The file " + path +
                        " starts as UTF-16 text but is not valid UTF-16: the two bytes at byte offset " +
                        offset + " are half of a character whose other half is missing.");
        case Utf16Decoding::Fault::OddLength:
            throw Error("The file " + path + " starts as UTF-16 text but is not valid UTF-16: it holds " +
                        std::to_string(bytes.size()) +
                        " bytes, an odd number, and its last byte (byte offset " + offset +
                        ") is half of a character.");
        }
        bytes = std::move(decoded.utf8);
    }
    if (const auto nul = bytes.find('\0'); nul != std::string::npos) {
        refuseNul(nul, path);
    }
    return utf16;
}

TextBlocks openSampleText(const std::string& path, std::size_t blockBytes, bool& wasUtf16) {
    auto file = std::make_shared<FileReader>(path);
    std::string start;
    while (start.size() < 8 && file->readInto(start, 8 - start.size()) > 0) {
    }
    if (start.empty() || start == "\xEF\xBB\xBF") {
        throw Error("The file " + path + " is empty.");
    }
    refuseWorkbook(start, path);
    wasUtf16 = isUtf16(start);
    if (wasUtf16) {
        auto content = std::make_shared<std::string>(std::move(start));
        while (file->readInto(*content, 1 << 20) > 0) {
        }
        prepareSampleText(*content, path);
        auto offset = std::make_shared<std::size_t>(0);
        return TextBlocks(
            [content, offset](std::string& into, std::size_t most) {
                const std::size_t n = std::min(most, content->size() - *offset);
                into.append(*content, *offset, n);
                *offset += n;
                return n;
            },
            std::string(), blockBytes, content->size());
    }
    const std::size_t size = file->size();
    return TextBlocks([file](std::string& into, std::size_t most) { return file->readInto(into, most); },
                      std::move(start), blockBytes, size);
}

} // namespace torrentix
