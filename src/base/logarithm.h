#pragma once

namespace torrentix {

// The natural logarithm of x, correctly rounded: the double nearest to ln(x). C libraries
// round their logarithms differently in the last binary digit (glibc, MinGW's, the
// WebAssembly build's), so the engine takes every logarithm from here: its Shannon diversity
// and log10(SelEPTD + 1) are then the same doubles on Linux, Windows and in the browser.
// As std::log: -infinity for 0, infinity for infinity, NaN for a negative number or NaN.
double naturalLog(double x);

namespace detail {
// The same value from whole-number arithmetic alone, slowly: the rare x whose logarithm
// lies too close to the midpoint of two doubles for the fast path to decide. For x > 0 finite.
double naturalLogByIntegers(double x);
} // namespace detail

} // namespace torrentix
