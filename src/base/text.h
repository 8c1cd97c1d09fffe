#pragma once
// Text helpers of the sample files: cells, blanks, numbers and character counts.
// Text is kept as bytes; only the character counts know about UTF-8.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

// Splits a line at every TAB; a line without TAB is one cell, an empty line one empty cell.
std::vector<std::string_view> splitTabs(std::string_view line);
// The same into a vector that is reused from line to line.
void splitTabsInto(std::string_view line, std::vector<std::string_view>& cells);

// Removes leading and trailing blanks (spaces only, as the sample file format means them).
std::string_view trimBlanks(std::string_view text);

// Upper case of the ASCII letters; other bytes are kept.
std::string toUpperAscii(std::string_view text);

// A cell is numeric when, after trimming blanks, the whole cell is a decimal number:
// optional sign, digits with an optional "." fraction (".5" and "5." count), optional
// exponent, always "." as decimal point, and a finite value. Returns that value.
std::optional<double> parseNumeric(std::string_view text);
inline bool isNumeric(std::string_view text) {
    return parseNumeric(text).has_value();
}
// A text of 1 to 15 digits and nothing else, the usual abundance count, read directly
// (exactly: every such number is a whole double); nullopt for any other text.
std::optional<double> plainCount(std::string_view text);
// The same number converted directly to a 32-bit value (no detour through 64 bits).
std::optional<float> parseNumeric32(std::string_view text);

// The leading number of a text (leading blanks skipped), the way abundance cells are
// read: "12abc" gives 12, text without a leading number gives 0. The result may be
// infinite ("1e999") or negative; the caller decides what that means.
double leadingNumber(std::string_view text);

// True when the bytes are valid UTF-8.
bool isValidUtf8(std::string_view text);
// True when the text holds a byte outside ASCII.
bool hasNonAscii(std::string_view text);

// Number of characters: UTF-8 characters when utf8 is set, bytes otherwise.
std::size_t characterCount(std::string_view text, bool utf8);
// The first `count` characters of a text (the whole text when shorter).
std::string_view firstCharacters(std::string_view text, std::size_t count, bool utf8);
// A count with its word, in the plural where it is not 1: "1 sample", "3 families".
std::string countOf(std::size_t n, const std::string& word);

// Cuts a text to `width` characters or pads it with spaces to that width.
std::string fitWidth(std::string_view text, std::size_t width, bool utf8);

// Windows-1252 text to UTF-8 (for display), and UTF-8 to Windows-1252 where every
// character has a single-byte form (otherwise nullopt).
std::string cp1252ToUtf8(std::string_view text);
std::optional<std::string> utf8ToCp1252(std::string_view text);

// UTF-16 text (without its byte-order mark) as UTF-8, characters beyond the basic plane
// (surrogate pairs) included; or where it stops being UTF-16.
struct Utf16Decoding {
    enum class Fault { None, UnpairedSurrogate, OddLength };
    std::string utf8;
    Fault fault = Fault::None;
    std::size_t faultOffset = 0; // 0-based offset in `bytes` of the unit that cannot be read
};
Utf16Decoding utf16ToUtf8(std::string_view bytes, bool bigEndian);

} // namespace torrentix
