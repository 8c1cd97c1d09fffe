#include "base/logarithm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace torrentix;

// The correctly rounded logarithms below were computed with MPFR.
TEST(Logarithm, IsTheDoubleNearestToTheNaturalLogarithm) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, double> cases[] = {
        {1.0, 0.0},
        {2.0, 0x1.62e42fefa39efp-1},
        {10.0, 0x1.26bb1bbb55516p+1},
        {101.0, 0x1.275e2271bba31p+2},
        {1.0 + 0x1p-52, 0x1.fffffffffffffp-53}, // next to 1, from above and below
        {1.0 - 0x1p-53, -0x1p-53},
        {0x1p-1074, -0x1.74385446d71c3p+9}, // the smallest subnormal and the largest double
        {0x1.fffffffffffffp+1023, 0x1.62e42fefa39efp+9},
        {824.0 / 955.0, -0x1.2e29e061d4c28p-3}, // shares that glibc's log rounds the other way
        {280.0 / 407.0, -0x1.7f0009b72fe8p-2},
        {149.0 / 928.0, -0x1.d43ef149df06p+0}, // shares too close to a midpoint for the fast step
        {416.0 / 681.0, -0x1.f8b4c2a4280f7p-2},
        {0.0, -infinity},
        {infinity, infinity},
    };
    for (const auto& [x, logarithm] : cases) {
        EXPECT_EQ(naturalLog(x), logarithm) << std::hexfloat << x;
        EXPECT_EQ(std::signbit(naturalLog(x)), std::signbit(logarithm)) << std::hexfloat << x;
    }
    EXPECT_TRUE(std::isnan(naturalLog(-1.0)));
    EXPECT_TRUE(std::isnan(naturalLog(std::numeric_limits<double>::quiet_NaN())));
}

// The fast step's error bound holds: where it decides, whole-number arithmetic agrees.
TEST(Logarithm, FastStepAgreesWithWholeNumberArithmetic) {
    std::uint64_t state = 7;
    const auto next = [&state] { // SplitMix64
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    };
    for (int i = 0; i < 1000; ++i) {
        const double total = static_cast<double>(next() % 100000 + 1);
        const double share = static_cast<double>(next() % 100000 + 1) / total;
        const double nearOne = 1.0 + std::ldexp(static_cast<double>(next() >> 12) - 0x1p51, -61 - i % 50);
        const double anyDouble =
            std::ldexp(1.0 + static_cast<double>(next() >> 12) * 0x1p-52, i % 2046 - 1023);
        for (const double x : {share, nearOne, anyDouble}) {
            EXPECT_EQ(naturalLog(x), detail::naturalLogByIntegers(x)) << std::hexfloat << x;
        }
    }
}
