#include "base/logarithm.h"

#include <cmath>
#include <cstdint>
#include <vector>

// ln(x) from whole numbers alone. With x = 2^e m, m = M / 2^52 (2^52 <= M < 2^53):
//     ln(x) = e ln 2 + ln(m),   ln(m) = 2 atanh((M - 2^52) / (M + 2^52)),   ln 2 = 2 atanh(1/3),
//     atanh(u) = u + u^3/3 + u^5/5 + ...   (0 <= u <= 1/3),
// each series summed in fixed point, in units of 2^-bits: every step rounds down by less than
// one unit, so a sum lies below its value by less than 3 units a term. When the values at
// both ends of that margin round to the same double, it is the correctly rounded logarithm;
// else more bits are taken (ln(x) of a double x other than 1 is irrational, never a
// midpoint, so this ends). 256 bits decide every double: the logarithms hardest to round
// need about 120 (Lefevre and Muller, "Worst cases for correct rounding of the elementary
// functions in double precision", 2001).

namespace torrentix::detail {
namespace {

// A non-negative fixed-point number: whole limbs of 64 bits, the least significant first;
// the last limb holds the whole part.
using Limbs = std::vector<std::uint64_t>;
__extension__ typedef unsigned __int128 Wide; // GCC and Clang

void multiply(Limbs& v, std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (std::uint64_t& limb : v) {
        const Wide product = static_cast<Wide>(limb) * factor + carry;
        limb = static_cast<std::uint64_t>(product);
        carry = static_cast<std::uint64_t>(product >> 64);
    }
}

void divide(Limbs& v, std::uint64_t divisor) { // rounds down
    Wide remainder = 0;
    for (auto limb = v.rbegin(); limb != v.rend(); ++limb) {
        const Wide current = remainder << 64 | *limb;
        *limb = static_cast<std::uint64_t>(current / divisor);
        remainder = current % divisor;
    }
}

void add(Limbs& v, const Limbs& w) {
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Wide sum = static_cast<Wide>(v[i]) + w[i] + carry;
        v[i] = static_cast<std::uint64_t>(sum);
        carry = static_cast<std::uint64_t>(sum >> 64);
    }
}

void subtract(Limbs& v, const Limbs& w) { // v >= w
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::uint64_t difference = v[i] - w[i] - borrow;
        borrow = (v[i] < w[i] || (v[i] == w[i] && borrow != 0)) ? 1 : 0;
        v[i] = difference;
    }
}

bool isZero(const Limbs& v) {
    for (std::uint64_t limb : v) {
        if (limb != 0) {
            return false;
        }
    }
    return true;
}

// 2 atanh(a / b), for 0 <= a / b <= 1/3, and how many terms it summed.
Limbs twiceAtanh(std::uint64_t a, std::uint64_t b, std::size_t fractionLimbs, std::uint64_t& terms) {
    Limbs power(fractionLimbs + 1, 0); // (a / b)^(2k + 1)
    power.back() = a;
    divide(power, b);
    Limbs sum(fractionLimbs + 1, 0);
    for (std::uint64_t k = 0; !isZero(power); ++k, ++terms) {
        Limbs term = power;
        divide(term, 2 * k + 1);
        add(sum, term);
        for (int twice = 0; twice < 2; ++twice) {
            multiply(power, a);
            divide(power, b);
        }
    }
    multiply(sum, 2);
    return sum;
}

// The double nearest to v 2^-bits (v > 0; ties to even, which an irrational value never meets).
double nearestDouble(const Limbs& v, std::size_t fractionLimbs) {
    std::size_t top = v.size() - 1;
    while (v[top] == 0) {
        --top;
    }
    const int length = static_cast<int>(64 * top) + 64 - __builtin_clzll(v[top]);
    const int shift = length - 53; // >= 64 x fractionLimbs - 107 > 0
    const auto bitAt = [&](int position) {
        return (v[static_cast<std::size_t>(position / 64)] >> (position % 64)) & 1U;
    };
    std::uint64_t significand = 0;
    for (int position = length - 1; position >= shift; --position) {
        significand = significand << 1 | bitAt(position);
    }
    bool sticky = false;
    for (int position = shift - 2; position >= 0 && !sticky; --position) {
        sticky = bitAt(position) != 0;
    }
    if (bitAt(shift - 1) != 0 && (sticky || (significand & 1U) != 0)) {
        ++significand;
    }
    return std::ldexp(static_cast<double>(significand), shift - static_cast<int>(64 * fractionLimbs));
}

} // namespace

double naturalLogByIntegers(double x) {
    int exponent = 0;
    const double m = std::frexp(x, &exponent);                        // x = m 2^exponent, 1/2 <= m < 1
    const auto whole = static_cast<std::uint64_t>(std::ldexp(m, 53)); // M, 2^52 <= M < 2^53
    const int e = exponent - 1;
    const std::uint64_t unit = std::uint64_t{1} << 52;
    for (std::size_t fractionLimbs = 4;; fractionLimbs *= 2) {
        std::uint64_t termsOfM = 0;
        std::uint64_t termsOfLn2 = 0;
        Limbs value = twiceAtanh(whole - unit, whole + unit, fractionLimbs, termsOfM);
        Limbs multiple = twiceAtanh(1, 3, fractionLimbs, termsOfLn2);
        const auto times = static_cast<std::uint64_t>(e < 0 ? -e : e);
        multiply(multiple, times);
        if (e >= 0) {
            add(value, multiple);
        } else { // |e| ln 2 > ln(m)
            subtract(multiple, value);
            value = multiple;
        }
        if (isZero(value)) {
            return 0.0; // x = 1
        }
        // Both sums lie below their values, ln(m) by up to 6 units a term and |e| ln 2 by up
        // to |e| times 6 units a term of ln 2.
        Limbs margin(fractionLimbs + 1, 0);
        margin[0] = 6 * (termsOfM + times * termsOfLn2) + 6;
        Limbs low = value;
        Limbs high = value;
        subtract(low, margin);
        add(high, margin);
        const double lowEnd = nearestDouble(low, fractionLimbs);
        if (lowEnd == nearestDouble(high, fractionLimbs)) {
            return e < 0 ? -lowEnd : lowEnd;
        }
    }
}

} // namespace torrentix::detail
