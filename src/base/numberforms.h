#pragma once
// Number forms of the results files and the screen.
//   F2 "#0.00", F3 "#0.000": fixed decimals, round half away from zero on the exact
//     binary value, no minus sign on a value that rounds to zero.
//   P: the value times 100 in F2, followed by "%".
//   G: general number form, the shortest text of at most 15 significant digits
//     (7 for 32-bit values) that reads back to the same value.
//   Shortest: the shortest text that reads back to the same 64-bit value, in plain or
//     scientific notation ("1e-05"), whichever is shorter, plain on a tie: the form of
//     the tidy table, as C++'s std::to_chars writes it.
//   Sample code "#00.#": a numeric code with at least two integer digits and at most one
//     decimal (F1's rounding), the decimal point always shown.
//   Bound: an interval's bound in fixed decimals, "-" where there is none.
//   A value that is not finite is written "N/A" in every form.

#include <optional>
#include <string>
#include <string_view>

namespace torrentix {

std::string formatFixed(double value, int decimals);
inline std::string formatF2(double value) {
    return formatFixed(value, 2);
}
inline std::string formatF3(double value) {
    return formatFixed(value, 3);
}
std::string formatPercent(double ratio);

// A numeric sample code in the form "#00.#" (5 gives "05.", 2.25 gives "02.3", -0.04 gives
// "00."); any other code is returned unchanged.
std::string formatSampleCode(std::string_view code);

// A bound of a bootstrap interval with `decimals` fixed decimals, "-" when there is none.
std::string formatBound(const std::optional<double>& bound, int decimals);

// General form of a 64-bit value (15 significant digits at most).
std::string formatGeneral(double value);
// General form of a 32-bit value (7 significant digits at most).
std::string formatGeneral32(float value);

// Shortest form of a 64-bit value.
std::string formatShortest(double value);

// Whole-number conversion of the method: nearest integer, halves to the even neighbour.
long long roundHalfEven(double value);

} // namespace torrentix
