// The number forms and the reading of numbers, through fmt and fast_float, against the
// conversions they replaced (the standard library's <charconv>), kept here as the
// reference: ten million values, each through one of the seven conversions in turn (the
// forms F2, F3, G, G32 and shortest, the 64- and 32-bit reading), must come out character
// for character the same.

#include "base/numberforms.h"
#include "base/numberreading.h"
#include "base/parallel.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

using namespace torrentix;

namespace reference {

bool isExactTie(double value, int decimals) {
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent);
    const auto m = static_cast<unsigned long long>(std::ldexp(mantissa, 53));
    return value != 0 && exponent - 53 + std::countr_zero(m) == -(decimals + 1);
}

template <typename... Format> std::string chars(auto value, Format... format) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format...);
    return std::string(buffer.data(), result.ptr);
}

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "N/A";
    }
    const double magnitude = std::fabs(value);
    std::string text;
    if (isExactTie(magnitude, decimals)) {
        text = chars(magnitude, std::chars_format::fixed, decimals + 1);
        text.pop_back();
        auto i = text.size();
        while (i > 0 && (text[i - 1] == '9' || text[i - 1] == '.')) {
            text[i - 1] = text[i - 1] == '.' ? '.' : '0';
            --i;
        }
        text = i == 0 ? "1" + text : (++text[i - 1], text);
    } else {
        text = chars(magnitude, std::chars_format::fixed, decimals);
    }
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    return std::signbit(value) && !zero ? "-" + text : text;
}

// Lays out "d.ddde±XX" as the general form does: plain from 1E-04 to below 1E+15.
std::string generalFromScientific(std::string sci) {
    const bool negative = sci.front() == '-';
    const auto e = sci.find('e');
    const int exponent = std::atoi(sci.c_str() + e + 1);
    std::string digits;
    for (char c : sci.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
        if (c != '.') {
            digits += c;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent > 14) {
        const std::string e2 = (exponent < 0 ? "-" : "+") + std::string(std::abs(exponent) < 10 ? "0" : "") +
                               std::to_string(std::abs(exponent));
        return out + digits[0] + (digits.size() > 1 ? "." + digits.substr(1) : "") + "E" + e2;
    }
    if (exponent < 0) {
        return out + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    const auto whole = static_cast<std::size_t>(exponent + 1);
    if (digits.size() <= whole) {
        return out + digits + std::string(whole - digits.size(), '0');
    }
    return out + digits.substr(0, whole) + "." + digits.substr(whole);
}

std::string formatGeneral(double value) {
    if (!std::isfinite(value)) {
        return "N/A";
    }
    if (value == 0) {
        return "0";
    }
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        return std::to_string(static_cast<long long>(value));
    }
    return generalFromScientific(chars(value, std::chars_format::scientific, 14));
}

std::string formatGeneral32(float value) {
    if (!std::isfinite(value)) {
        return "N/A";
    }
    if (value == 0) {
        return "0";
    }
    const std::string shortest = chars(value, std::chars_format::scientific);
    const auto significant = std::count_if(shortest.begin(), shortest.begin() + shortest.find('e'),
                                           [](char c) { return c >= '0' && c <= '9'; });
    return generalFromScientific(significant <= 7 ? shortest
                                                  : chars(value, std::chars_format::scientific, 6));
}

template <typename Float> Float read(std::string_view number) {
    if (number.front() == '+') {
        number.remove_prefix(1);
    }
    Float value = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc()) {
        return value;
    }
    long double wide = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), wide).ec == std::errc()) {
        return static_cast<Float>(wide);
    }
    const bool tiny = number.find("e-") != std::string_view::npos;
    const Float magnitude = tiny ? Float(0) : std::numeric_limits<Float>::infinity();
    return number.front() == '-' ? -magnitude : magnitude;
}

} // namespace reference

namespace {

// Values of every kind a results file meets: any finite bit pattern, metric-sized values,
// exact ties of the F2 and F3 grids (k / 2^3 and k / 2^4) and values one unit in the last
// place beside them, values a few units in the last place beside a decimal of 2 or 3
// places, and whole numbers.
double randomValue(std::mt19937_64& random) {
    const std::uint64_t bits = random();
    const double sign = (bits & 1) != 0 ? -1.0 : 1.0;
    const auto small = static_cast<double>(bits >> 40); // 24 bits
    switch (bits % 7) {
    case 0: {
        const double any = std::bit_cast<double>(random());
        return std::isfinite(any) ? any : 0.5;
    }
    case 1:
        return sign * std::ldexp(small, static_cast<int>((bits >> 8) % 64) - 40);
    case 2:
    case 3: {
        const double tie = sign * small / (bits % 7 == 2 ? 8.0 : 16.0);
        return (bits & 2) != 0 ? tie : std::nextafter(tie, (bits & 4) != 0 ? 0.0 : 1e300);
    }
    case 4: {
        const double decimal = small / ((bits & 2) != 0 ? 100.0 : 1000.0);
        return sign * std::nextafter(decimal, (bits & 4) != 0 ? 0.0 : 1e300);
    }
    case 5:
        return sign * std::bit_cast<double>(std::bit_cast<std::uint64_t>(small / 1000.0) + (bits >> 61));
    default:
        return sign * static_cast<double>(bits >> 11);
    }
}

// Texts of numbers as files hold them: the forms above, and numbers of any length with
// a fraction and an exponent.
std::string randomNumberText(std::mt19937_64& random, double value) {
    switch (random() % 4) {
    case 0:
        return reference::chars(value);
    case 1:
        return reference::formatGeneral(value);
    case 2:
        return reference::formatFixed(value, static_cast<int>(random() % 6));
    default:
        return std::to_string(random() % 100000) + "." + std::to_string(random()) + "e" +
               std::to_string(static_cast<int>(random() % 80) - 40);
    }
}

std::string mismatch(const std::string& form, double value, const std::string& got,
                     const std::string& expected) {
    return got == expected ? std::string()
                           : form + " of " + reference::chars(value) + ": " + got + " vs " + expected;
}

// Compares one conversion of `value`, the `conversion`-th of the seven.
std::string compare(std::size_t conversion, double value, std::mt19937_64& random) {
    const auto f = static_cast<float>(value);
    // The fixed forms of larger values are hundreds of digits long: they take the remainder.
    const double fixed = std::fabs(value) < 1e20 ? value : std::fmod(value, 1e20);
    switch (conversion) {
    case 0: { // the 2-decimal form, and the 1-decimal one of the results list
        const std::string f2 = mismatch("F2", fixed, formatF2(fixed), reference::formatFixed(fixed, 2));
        return f2.empty() ? mismatch("F1", fixed, formatFixed(fixed, 1), reference::formatFixed(fixed, 1))
                          : f2;
    }
    case 1:
        return mismatch("F3", fixed, formatF3(fixed), reference::formatFixed(fixed, 3));
    case 2:
        return mismatch("G", value, formatGeneral(value), reference::formatGeneral(value));
    case 3:
        return mismatch("G32", value, formatGeneral32(f), reference::formatGeneral32(f));
    case 4:
        return mismatch("shortest", value, formatShortest(value), reference::chars(value));
    case 5: {
        const std::string text = randomNumberText(random, value);
        return mismatch("reading " + text, value, reference::chars(readDecimal(text)),
                        reference::chars(reference::read<double>(text)));
    }
    default: {
        const std::string text = randomNumberText(random, value);
        return mismatch("32-bit reading " + text, value, reference::chars(readDecimal32(text)),
                        reference::chars(reference::read<float>(text)));
    }
    }
}

} // namespace

TEST(NumberConversion, TenMillionConversionsGiveTheSameTextsAndValuesAsTheStandardLibrary) {
    constexpr std::size_t blocks = 100;
    constexpr std::size_t valuesPerBlock = 100'000;
    std::atomic<int> faults{0};
    std::array<std::string, blocks> firstFault;
    forEachIndex(blocks, threadCount(0), [&](std::size_t block) {
        std::mt19937_64 random(block + 1);
        for (std::size_t i = 0; i < valuesPerBlock; ++i) {
            const double value = randomValue(random);
            const std::string fault = compare(i % 7, value, random);
            if (!fault.empty() && faults++ < 20) {
                firstFault[block] = fault;
            }
        }
    });
    EXPECT_EQ(faults, 0);
    for (const auto& fault : firstFault) {
        EXPECT_EQ(fault, "");
    }
}
