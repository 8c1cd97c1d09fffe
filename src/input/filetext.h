#pragma once
// The bytes of a sample file made ready to be read as text: UTF-16 (with its byte-order
// mark) becomes UTF-8; spreadsheet workbooks and files that are not text are refused with
// a message that says what the file is and what to do.

#include "input/textblocks.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace torrentix {

// Refuses a spreadsheet workbook, told by the first bytes of the file.
void refuseWorkbook(std::string_view start, const std::string& path);
// The file starts with the byte-order mark of UTF-16 text.
bool isUtf16(std::string_view start);
// Refuses a file with a NUL byte at the 0-based place `nul` of its text.
[[noreturn]] void refuseNul(std::size_t nul, const std::string& path);

// Converts `bytes` in place where needed and returns true when the text is now known to
// be UTF-8 because it was UTF-16. Throws Error naming the path for a file that is not text.
bool prepareSampleText(std::string& bytes, const std::string& path);

// The text of a sample file, opened to be read in blocks. UTF-16 text is converted whole
// (it is rare and cannot be cut anywhere); any other file is read piece by piece. Throws
// Error for an empty file or a workbook.
TextBlocks openSampleText(const std::string& path, std::size_t blockBytes, bool& wasUtf16);

} // namespace torrentix
