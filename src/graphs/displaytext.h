#pragma once
// Text from the sample file and from the engine is kept as bytes: UTF-8, or the
// Windows-1252 single-byte set of older files. These helpers turn it into screen text.

#include <QString>

#include <string>
#include <string_view>

namespace torrentix {

// Text of the sample file, whose character set the reader found.
QString displayText(std::string_view bytes, bool utf8);
// Text whose character set is not known (engine messages, which may quote a file):
// UTF-8 when it is valid UTF-8, Windows-1252 otherwise.
QString anyText(std::string_view bytes);
// The same with the CR LF line ends of the reports turned into screen line breaks.
QString screenLines(std::string_view bytes);

// A text for the clipboard, TAB-separated cells in lines, as a spreadsheet takes it when
// pasted: every cell it would take for a formula gets its apostrophe, as in the files
// (report/formulaguard).
QString spreadsheetText(const QString& text);

// A path as the engine wants it (the file system's bytes), and back.
std::string pathBytes(const QString& path);
QString pathText(const std::string& path);

} // namespace torrentix
