#include "metrics/quantile.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

using namespace torrentix;

namespace {

void expectQuantiles(std::vector<double> values, float median, float percentile) {
    EXPECT_EQ(quantile(values, true), median) << values.size();
    EXPECT_EQ(quantile(values, false), percentile) << values.size();
}

} // namespace

// The 75th percentile interpolates at position 0.75 x n (1-based) of the sorted list.
TEST(Quantile, MedianAndSeventyFifthPercentile) {
    expectQuantiles({}, 0, 0);
    expectQuantiles({7}, 7, 7); // a single value is its own 75th percentile
    expectQuantiles({20, 10}, 15, 15);
    expectQuantiles({3, 1, 2}, 2, 2.25f);
    expectQuantiles({4, 1, 3, 2}, 2.5f, 3);
    expectQuantiles({1, 2, 3, 4, 5}, 3, 3.75f);
    expectQuantiles({6, 5, 4, 3, 2, 1}, 3.5f, 4.5f);
    expectQuantiles({8, 7, 6, 5, 4, 3, 2, 1}, 4.5f, 6);
    // The result is the 32-bit value; the list is left sorted.
    std::vector<double> v{0.95, 0.1, 0.3};
    EXPECT_EQ(quantile(v, true), 0.3f);
    EXPECT_EQ(v, (std::vector<double>{0.1, 0.3, 0.95}));
}

TEST(Quantile, SortsInPlaceWithRepeatsAndLongSortedRuns) {
    std::mt19937 random(7);
    for (std::size_t size : {0u, 1u, 2u, 3u, 10u, 1000u, 20000u}) {
        std::vector<double> v(size);
        std::generate(v.begin(), v.end(), [&] { return static_cast<double>(random() % 5); }); // many repeats
        sortvals(v, 0, static_cast<long>(v.size()) - 1);
        EXPECT_TRUE(std::is_sorted(v.begin(), v.end())) << size;
    }
    std::vector<double> sorted(100000);
    std::iota(sorted.begin(), sorted.end(), 0.0);
    sortvals(sorted, 0, static_cast<long>(sorted.size()) - 1); // already sorted: no deep recursion
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
}
