#include "base/numberforms.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace torrentix {
namespace {

// True when |value| * 10^decimals lies exactly halfway between two integers.
// With value = M * 2^E (M odd) that happens exactly when E == -(decimals + 1).
bool isExactTie(double value, int decimals) {
    if (value == 0.0 || !std::isfinite(value)) {
        return false;
    }
    int exponent = 0;
    double mantissa = std::frexp(std::fabs(value), &exponent); // value = mantissa * 2^exponent
    // Scale the mantissa to an odd integer.
    const auto m = static_cast<unsigned long long>(std::ldexp(mantissa, 53));
    const int e = exponent - 53 + __builtin_ctzll(m);
    return e == -(decimals + 1);
}

std::string toFixedChars(double value, int decimals) {
    std::array<char, 400> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed,
                                decimals);
    return std::string(buffer.data(), result.ptr);
}

// Adds one unit in the last place of a non-negative decimal digit string ("12.349" -> "12.350").
std::string incrementLastDigit(std::string digits) {
    for (auto i = static_cast<long>(digits.size()) - 1; i >= 0; --i) {
        char& c = digits[static_cast<std::size_t>(i)];
        if (c == '.') {
            continue;
        }
        if (c < '9') {
            ++c;
            return digits;
        }
        c = '0';
    }
    return "1" + digits;
}

bool isAllZero(const std::string& text) {
    for (char c : text) {
        if (c != '0' && c != '.' && c != '-') {
            return false;
        }
    }
    return true;
}

// Lays out significant digits with a decimal exponent: plain decimals for exponents
// -4..14, otherwise mantissa + "E" + sign + at least two exponent digits.
std::string layoutGeneral(bool negative, std::string digits, int exponent10) {
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string out = negative ? "-" : "";
    if (exponent10 < -4 || exponent10 > 14) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += exponent10 < 0 ? '-' : '+';
        std::string e = std::to_string(std::abs(exponent10));
        if (e.size() < 2) {
            e.insert(0, "0");
        }
        return out + e;
    }
    if (exponent10 < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent10 - 1), '0');
        return out + digits;
    }
    auto integerDigits = static_cast<std::size_t>(exponent10 + 1);
    if (digits.size() <= integerDigits) {
        return out + digits + std::string(integerDigits - digits.size(), '0');
    }
    return out + digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

// Splits scientific text such as "-1.2345e-05" into sign, digit string and exponent.
std::string formatFromScientific(std::string_view sci) {
    bool negative = !sci.empty() && sci.front() == '-';
    if (negative) {
        sci.remove_prefix(1);
    }
    auto ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (c != '.') {
            digits += c;
        }
    }
    int exponent10 = std::atoi(std::string(sci.substr(ePos + 1)).c_str());
    return layoutGeneral(negative, digits, exponent10);
}

} // namespace

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "N/A";
    }
    bool negative = std::signbit(value);
    double magnitude = std::fabs(value);
    std::string text;
    if (isExactTie(magnitude, decimals)) {
        // The exact value has decimals + 1 fraction digits ending in 5: round away from zero.
        text = toFixedChars(magnitude, decimals + 1);
        text.pop_back();
        text = incrementLastDigit(text);
    } else {
        text = toFixedChars(magnitude, decimals);
    }
    if (negative && !isAllZero(text)) {
        text.insert(0, "-");
    }
    return text;
}

std::string formatPercent(double ratio) {
    return formatFixed(ratio * 100.0, 2) + "%";
}

std::string formatGeneral(double value) {
    // The value rounded to 15 significant digits, trailing zeros dropped, is the shortest
    // text that reads back whenever one of at most 15 digits exists: such a text lies far
    // closer to the value than half a step of the 15-digit grid.
    if (!std::isfinite(value)) {
        return "N/A";
    }
    if (value == 0) {
        return "0";
    }
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        return std::to_string(static_cast<long long>(value)); // counts: whole numbers
    }
    std::array<char, 64> buffer{};
    auto rounded =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, 14);
    return formatFromScientific(
        std::string_view(buffer.data(), static_cast<std::size_t>(rounded.ptr - buffer.data())));
}

std::string formatGeneral32(float value) {
    // For 32-bit values the 7-digit grid is too coarse for the argument above: the
    // shortest text is taken when it has at most 7 digits, else the value rounded to 7.
    constexpr int maxDigits = 7;
    if (!std::isfinite(value)) {
        return "N/A";
    }
    if (value == 0) {
        return "0";
    }
    std::array<char, 64> buffer{};
    auto shortest =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific);
    std::string_view text(buffer.data(), static_cast<std::size_t>(shortest.ptr - buffer.data()));
    int significant = 0;
    for (char c : text.substr(0, text.find('e'))) {
        significant += (c >= '0' && c <= '9') ? 1 : 0;
    }
    if (significant <= maxDigits) {
        return formatFromScientific(text);
    }
    auto rounded = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::scientific, maxDigits - 1);
    return formatFromScientific(
        std::string_view(buffer.data(), static_cast<std::size_t>(rounded.ptr - buffer.data())));
}

long long roundHalfEven(double value) {
    return static_cast<long long>(std::nearbyint(value));
}

} // namespace torrentix
