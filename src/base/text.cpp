#include "base/text.h"

#include "base/numberreading.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace torrentix {

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> cells;
    splitTabsInto(line, cells);
    return cells;
}

void splitTabsInto(std::string_view line, std::vector<std::string_view>& cells) {
    cells.clear();
    const char* start = line.data();
    const char* const end = line.data() + line.size();
    for (const char* p = start; p != end; ++p) {
        if (*p == '\t') {
            cells.emplace_back(start, static_cast<std::size_t>(p - start));
            start = p + 1;
        }
    }
    cells.emplace_back(start, static_cast<std::size_t>(end - start));
}

std::string_view trimBlanks(std::string_view text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string toUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Moves `i` past a sign, if one stands there.
void skipSign(std::string_view text, std::size_t& i) {
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
}

// Moves `i` past the digits standing there; returns how many.
std::size_t skipDigits(std::string_view text, std::size_t& i) {
    const std::size_t from = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i - from;
}

// Length of the longest decimal number at the start of `text` (sign, digits, fraction,
// exponent); 0 when there is none. A lone "." or sign is not a number.
std::size_t numberPrefixLength(std::string_view text) {
    std::size_t i = 0;
    skipSign(text, i);
    std::size_t digits = skipDigits(text, i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += skipDigits(text, i);
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        skipSign(text, j);
        if (skipDigits(text, j) > 0) {
            i = j;
        }
    }
    return i;
}

double convert(std::string_view number) {
    return readDecimal(number);
}

} // namespace

std::optional<double> plainCount(std::string_view text) {
    if (text.empty() || text.size() > 15) {
        return std::nullopt;
    }
    long long whole = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        whole = whole * 10 + (c - '0');
    }
    return static_cast<double>(whole);
}

std::optional<double> parseNumeric(std::string_view text) {
    if (auto count = plainCount(text)) {
        return count;
    }
    text = trimBlanks(text);
    if (text.empty()) {
        return std::nullopt;
    }
    auto length = numberPrefixLength(text);
    if (length == 0 || length != text.size()) {
        return std::nullopt;
    }
    double value = convert(text);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> parseNumeric32(std::string_view text) {
    if (!parseNumeric(text)) {
        return std::nullopt;
    }
    return readDecimal32(trimBlanks(text));
}

double leadingNumber(std::string_view text) {
    // Most abundance cells are plain counts: read short digit strings directly (exact).
    if (!text.empty() && text.size() <= 15) {
        long long whole = 0;
        std::size_t i = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            whole = whole * 10 + (text[i] - '0');
            ++i;
        }
        if (i == text.size()) {
            return static_cast<double>(whole);
        }
    }
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return 0.0;
    }
    text.remove_prefix(first);
    auto length = numberPrefixLength(text);
    return length == 0 ? 0.0 : convert(text.substr(0, length));
}

bool hasNonAscii(std::string_view text) {
    // Eight bytes at a time: a byte outside ASCII has its high bit set.
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080ULL) != 0) {
            return true;
        }
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return true;
        }
    }
    return false;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

namespace {
bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

std::string countOf(std::size_t n, const std::string& word) {
    if (n == 1) {
        return "1 " + word;
    }
    const bool y = word.size() > 1 && word.back() == 'y';
    return std::to_string(n) + " " + (y ? word.substr(0, word.size() - 1) + "ies" : word + "s");
}

std::size_t characterCount(std::string_view text, bool utf8) {
    if (!utf8) {
        return text.size();
    }
    std::size_t count = 0;
    for (char c : text) {
        count += isContinuation(c) ? 0 : 1;
    }
    return count;
}

std::string_view firstCharacters(std::string_view text, std::size_t count, bool utf8) {
    if (!utf8) {
        return text.substr(0, count);
    }
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isContinuation(text[i])) {
            if (seen == count) {
                return text.substr(0, i);
            }
            ++seen;
        }
    }
    return text;
}

std::string fitWidth(std::string_view text, std::size_t width, bool utf8) {
    std::string out(firstCharacters(text, width, utf8));
    auto have = characterCount(out, utf8);
    if (have < width) {
        out.append(width - have, ' ');
    }
    return out;
}

namespace {
// Code points of the bytes 0x80..0x9F in Windows-1252 (0 where the byte is unassigned).
constexpr std::array<std::uint16_t, 32> cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
} // namespace

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        std::uint32_t cp = c;
        if (c >= 0x80 && c <= 0x9F) {
            cp = cp1252High[c - 0x80] != 0 ? cp1252High[c - 0x80] : 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view text) {
    if (!isValidUtf8(text)) {
        return std::nullopt;
    }
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        std::uint32_t cp = c;
        std::size_t extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        if (extra > 0) {
            cp = c & (0x3F >> extra);
            for (std::size_t k = 1; k <= extra; ++k) {
                cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            }
        }
        i += extra + 1;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < cp1252High.size(); ++k) {
            if (cp1252High[k] == cp) {
                out += static_cast<char>(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found) {
            return std::nullopt;
        }
    }
    return out;
}

Utf16Decoding utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    Utf16Decoding decoded;
    std::string& out = decoded.utf8;
    out.reserve(bytes.size());
    const std::size_t whole = bytes.size() - bytes.size() % 2;
    for (std::size_t i = 0; i < whole; i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            const bool paired =
                cp <= 0xDBFF && i + 2 < whole && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF;
            if (!paired) {
                decoded.fault = Utf16Decoding::Fault::UnpairedSurrogate;
                decoded.faultOffset = i;
                return decoded;
            }
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        }
        appendUtf8(out, cp);
    }
    if (whole != bytes.size()) {
        decoded.fault = Utf16Decoding::Fault::OddLength;
        decoded.faultOffset = whole;
    }
    return decoded;
}

} // namespace torrentix
