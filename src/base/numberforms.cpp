#include "base/numberforms.h"

#include "base/numberreading.h"
#include "base/text.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <optional>
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

// The significant digits of a number text of the library ("0.00125", "1.5e+20", "120"),
// without leading or trailing zeros, and the decimal exponent of the first of them.
struct Decimal {
    std::array<char, 40> digits{};
    std::size_t count = 0;
    int exponent = 0;

    std::string_view text() const { return {digits.data(), count}; }
};

Decimal decimalOf(std::string_view text) {
    const auto e = text.find('e');
    const std::string_view mantissa = text.substr(0, e);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    Decimal d;
    int leadingZeros = 0;
    for (char c : mantissa) {
        if (c == '0' && d.count == 0) {
            ++leadingZeros;
        } else if (c != '.' && d.count < d.digits.size()) {
            d.digits[d.count++] = c;
        }
    }
    while (d.count > 1 && d.digits[d.count - 1] == '0') {
        --d.count;
    }
    int written = 0;
    if (e != std::string_view::npos) {
        const std::string_view power = text.substr(text[e + 1] == '+' ? e + 2 : e + 1);
        std::from_chars(power.data(), power.data() + power.size(), written);
    }
    d.exponent = static_cast<int>(point) - 1 - leadingZeros + written;
    return d;
}

// Appends a decimal in plain notation: "0.00125", "120", "12.5".
void appendPlain(std::string& out, const Decimal& d) {
    const auto count = static_cast<int>(d.count);
    if (d.exponent < 0) {
        out.append("0.").append(static_cast<std::size_t>(-d.exponent - 1), '0').append(d.text());
    } else if (count <= d.exponent + 1) {
        out.append(d.text()).append(static_cast<std::size_t>(d.exponent + 1 - count), '0');
    } else {
        const auto integerDigits = static_cast<std::size_t>(d.exponent + 1);
        out.append(d.text().substr(0, integerDigits)).append(".").append(d.text().substr(integerDigits));
    }
}

std::size_t plainLength(const Decimal& d) {
    const auto count = static_cast<int>(d.count);
    const int length = d.exponent < 0 ? count + 1 - d.exponent
                                      : std::max(count + (count > d.exponent + 1 ? 1 : 0), d.exponent + 1);
    return static_cast<std::size_t>(length);
}

// Appends the same decimal in scientific notation: "1.25e-03", "1.2e+02".
void appendScientific(std::string& out, const Decimal& d) {
    out += d.digits[0];
    if (d.count > 1) {
        out.append(".").append(d.text().substr(1));
    }
    fmt::format_to(std::back_inserter(out), FMT_COMPILE("e{}{:02}"), d.exponent < 0 ? '-' : '+',
                   std::abs(d.exponent));
}

std::size_t scientificLength(const Decimal& d) {
    const int power = std::abs(d.exponent);
    return d.count + (d.count > 1 ? 1 : 0) + 2 + (power >= 100 ? 3 : 2);
}

// The value of `magnitude` (non-negative) with `decimals` decimals, from its product with
// 10^decimals as a double. Rounding to the nearest double keeps order, and below 10^15 every
// half of a whole number is a double: the rounded product lies on the same side of each half
// as the exact product, or on the half itself. Nullopt for a product on a half, or too
// large for whole-number arithmetic: the exact digits then decide.
std::optional<std::string> fixedFromProduct(double magnitude, int decimals) {
    constexpr double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    if (decimals < 0 || decimals > 6 || !(magnitude < 1e9)) {
        return std::nullopt;
    }
    const double product = magnitude * powers[decimals]; // below 10^15: whole parts are exact
    const double whole = std::floor(product);
    const double fraction = product - whole; // exact, as the product is below 2^52
    if (fraction == 0.5) {
        return std::nullopt;
    }
    const auto units = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
    std::string digits = fmt::format(FMT_COMPILE("{}"), units);
    if (decimals == 0) {
        return digits;
    }
    const auto places = static_cast<std::size_t>(decimals);
    if (digits.size() <= places) {
        digits.insert(0, places + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - places, 1, '.');
    return digits;
}

} // namespace

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "N/A";
    }
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    std::string text;
    if (auto quick = fixedFromProduct(magnitude, decimals)) {
        text = std::move(*quick);
    } else if (isExactTie(magnitude, decimals)) {
        // The exact value has decimals + 1 fraction digits ending in 5: round away from zero.
        text = fmt::format(FMT_COMPILE("{:.{}f}"), magnitude, decimals + 1);
        text.pop_back();
        text = incrementLastDigit(text);
    } else {
        text = fmt::format(FMT_COMPILE("{:.{}f}"), magnitude, decimals);
    }
    if (negative && !isAllZero(text)) {
        text.insert(0, "-");
    }
    return text;
}

std::string formatPercent(double ratio) {
    return formatFixed(ratio * 100.0, 2) + "%";
}

std::string formatSampleCode(std::string_view code) {
    const auto value = parseNumeric(code);
    if (!value) {
        return std::string(code);
    }
    std::string text = formatFixed(*value, 1); // "-5.0", "12.3", never "-0.0"
    const bool negative = text.front() == '-';
    if (negative) {
        text.erase(0, 1);
    }
    const auto point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string decimal = text.substr(point + 1);
    if (whole.size() < 2) {
        whole.insert(0, 2 - whole.size(), '0');
    }
    if (decimal == "0") {
        decimal.clear();
    }
    return (negative ? "-" : "") + whole + "." + decimal;
}

std::string formatBound(const std::optional<double>& bound, int decimals) {
    return bound ? formatFixed(*bound, decimals) : "-";
}

std::string formatGeneral(double value) {
    // The value rounded to 15 significant digits, trailing zeros dropped, is the shortest
    // text that reads back whenever one of at most 15 digits exists: such a text lies far
    // closer to the value than half a step of the 15-digit grid. The general form of C's
    // printf ("%.15G") lays it out as the method does.
    if (!std::isfinite(value)) {
        return "N/A";
    }
    if (value == 0) {
        return "0";
    }
    // A whole number below 10^15 is laid out as its digits alone. Counts of families are
    // whole numbers, and for them the 15-digit form takes the formatting library's slowest,
    // exact path.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        return fmt::format(FMT_COMPILE("{}"), static_cast<long long>(value));
    }
    return fmt::format(FMT_COMPILE("{:.15G}"), value);
}

std::string formatGeneral32(float value) {
    // For 32-bit values the 7-digit grid is too coarse for the argument above: the
    // shortest text is taken when it has at most 7 digits, else the value rounded to 7.
    // Either decimal, read as a 64-bit value, is laid out by the general form.
    constexpr std::size_t maxDigits = 7; // and "{:.6e}" below: 7 significant digits
    if (!std::isfinite(value)) {
        return "N/A";
    }
    if (value == 0) {
        return "0";
    }
    std::string text = fmt::format(FMT_COMPILE("{}"), value);
    if (decimalOf(std::string_view(text).substr(value < 0 ? 1 : 0)).count > maxDigits) {
        text = fmt::format(FMT_COMPILE("{:.6e}"), value);
    }
    return fmt::format(FMT_COMPILE("{:.15G}"), readDecimal(text));
}

std::string formatShortest(double value) {
    if (!std::isfinite(value)) {
        return "N/A";
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0) {
        return sign + "0";
    }
    fmt::memory_buffer shortest;
    fmt::format_to(std::back_inserter(shortest), FMT_COMPILE("{}"), std::fabs(value));
    const Decimal d = decimalOf({shortest.data(), shortest.size()});
    std::string text = sign;
    if (plainLength(d) > scientificLength(d)) {
        appendScientific(text, d);
    } else if (d.exponent + 1 >= static_cast<int>(d.count)) {
        // A whole number is written with its exact digits, which differ from the shortest
        // digits padded with zeros beyond 2^53.
        fmt::format_to(std::back_inserter(text), FMT_COMPILE("{:.0f}"), std::fabs(value));
    } else {
        appendPlain(text, d);
    }
    return text;
}

long long roundHalfEven(double value) {
    return static_cast<long long>(std::nearbyint(value));
}

} // namespace torrentix
