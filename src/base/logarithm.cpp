#include "base/logarithm.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// ln(x) in two steps (Ziv's strategy). The fast step computes ln(x) as the sum of two doubles
// with a relative error below 2^-71, from additions and multiplications alone, which every
// IEEE 754 platform rounds alike (the engine is compiled without fused multiply-add). When
// the rounding of every value within 2^-69 of that sum gives one double, that double is the
// correctly rounded logarithm. Otherwise (about one x in 40,000) the whole-number arithmetic
// of logarithmbyintegers.cpp decides.
//
// The fast step: x = 2^e m with 1 <= m < 2. Row i of the table (the 10 bits of m after its
// leading one) gives c near 1/m and ln(1/c) (with e + 1 from row 512 on), so that
//     ln(x) = e ln 2 + ln(1/c) + ln(1 + z),   z = m c - 1 exactly, |z| < 2^-10,
// and ln(1 + z) is its Taylor series to z^8 (what is left is below 2^-83 |z|), its first two
// terms as exact sums and products of doubles.
//
// Error bound, relative to |z|: rounding of z^3 (1/3 - z/4 + ... ) below
// 5 x 2^-53 |z|^3 / 3 < 2^-72.2, of its sum with the small terms below 2^-74.5, of the
// small terms below 2^-100: 2^-71.8 in all. Apart from rows 0 and 1023 with
// e ln 2 + ln(1/c) = 0 (1 - 2^-11 <= x < 1 + 2^-10, where ln(x) = ln(1 + z) ~ z), |ln(1 + z)|
// is at most about half of |ln(x)|, and the other terms add below 2^-94 |ln(x)|.
// (Measured against MPFR: at most 2^-74 near 1 and 2^-77.8 elsewhere.)

namespace torrentix {
namespace {

struct LogRow {
    double c;       // 1/m rounded to 26 bits
    double logHigh; // -ln(c), or -ln(2c) from row 512 on, as high + low
    double logLow;
};
#include "base/logarithmtable.inc"

struct Sum {
    double high;
    double low;
};

// The bits of a double and back (std::bit_cast is not in every build's library yet).
std::uint64_t bitsOf(double x) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

double doubleOf(std::uint64_t bits) {
    double x = 0.0;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// a + b exactly, for |a| >= |b| (Dekker).
Sum fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a split into two halves of 26 significant bits, whose products are exact (Veltkamp).
Sum halves(double a) {
    const double t = 134217729.0 * a; // 2^27 + 1
    const double high = t - (t - a);
    return {high, a - high};
}

// a b exactly, for b of at most 26 significant bits (Dekker).
Sum exactProduct(double a, double b) {
    const Sum h = halves(a);
    const double p = a * b;
    return {p, (h.high * b - p) + h.low * b};
}

// a^2 exactly (Dekker).
Sum exactSquare(double a) {
    const Sum h = halves(a);
    const double p = a * a;
    return {p, ((h.high * h.high - p) + 2.0 * (h.high * h.low)) + h.low * h.low};
}

// ln(1 + z) for |z| < 2^-10, z = z.high + z.low exactly.
Sum logOnePlus(Sum z) {
    const double zh = z.high;
    const Sum square = exactSquare(zh);
    // z^3 (1/3 - z/4 + z^2/5 - z^3/6 + z^4/7 - z^5/8)
    double series = -0.125;
    series = 1.0 / 7.0 + zh * series;
    series = -1.0 / 6.0 + zh * series;
    series = 0.2 + zh * series;
    series = -0.25 + zh * series;
    series = 1.0 / 3.0 + zh * series;
    const double cubicTerms = (zh * square.high) * series;
    const Sum linearAndSquare = fastTwoSum(zh, -0.5 * square.high);
    // What z.low adds to z - z^2/2 + z^3/3: z.low (1 - z + z^2).
    const double small = (linearAndSquare.low - 0.5 * square.low) + z.low * ((1.0 - zh) + square.high);
    return fastTwoSum(linearAndSquare.high, small + cubicTerms);
}

} // namespace

double naturalLog(double x) {
    if (!(x > 0.0) || x == std::numeric_limits<double>::infinity()) {
        if (x == 0.0) {
            return -std::numeric_limits<double>::infinity();
        }
        return x > 0.0 ? x : std::numeric_limits<double>::quiet_NaN();
    }
    const double original = x;
    int exponent = 0;
    if (x < std::numeric_limits<double>::min()) { // subnormal: scaled exactly into the normal range
        x *= 0x1p54;
        exponent = -54;
    }
    const auto bits = bitsOf(x);
    exponent += static_cast<int>(bits >> 52) - 1023;
    const auto row = static_cast<unsigned>(bits >> 42) & 1023U;
    exponent += static_cast<int>(row >> 9);
    const double m = doubleOf((bits & 0x000FFFFFFFFFFFFFULL) | 0x3FF0000000000000ULL);
    const LogRow& r = logRows[row];

    // product.high - 1 is exact, and a whole multiple of the unit in the last place of
    // product.high, which is at least twice product.low.
    const Sum product = exactProduct(m, r.c);
    const Sum y = logOnePlus(fastTwoSum(product.high - 1.0, product.low));
    // e ln2High is exact (|e| < 2^11). Either e ln 2 + ln(1/c) is 0, or |e ln 2| > |ln(1/c)|
    // (ln 2 against ln(4/3) at most) and |e ln 2 + ln(1/c)| > |ln(1 + z)|.
    const double e = exponent;
    const Sum k = fastTwoSum(e * ln2High, r.logHigh);
    const double kLow = k.low + (e * ln2Low + r.logLow);
    const Sum s = fastTwoSum(k.high, y.high);
    const Sum result = fastTwoSum(s.high, s.low + (kLow + y.low));

    const double bound = std::fabs(result.high) * 0x1p-69;
    const double below = result.high + (result.low - bound);
    const double above = result.high + (result.low + bound);
    if (below == above) {
        return below;
    }
    return detail::naturalLogByIntegers(original);
}

} // namespace torrentix
