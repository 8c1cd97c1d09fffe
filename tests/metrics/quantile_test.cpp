#include "metrics/quantile.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace torrentix;

namespace {
float q(std::vector<double> v, bool median) {
    return quantile(v, median);
}
} // namespace

TEST(Quantile, Median) {
    EXPECT_EQ(q({3, 1, 2}, true), 2.0f);
    EXPECT_EQ(q({4, 1, 3, 2}, true), 2.5f);
    EXPECT_EQ(q({7}, true), 7.0f);
}

TEST(Quantile, SeventyFifthPercentileInterpolatesAtThreeQuartersOfN) {
    EXPECT_EQ(q({1, 2, 3, 4}, false), 3.0f);
    EXPECT_EQ(q({1, 2, 3, 4, 5}, false), 3.75f);
    EXPECT_EQ(q({1, 2, 3, 4, 5, 6}, false), 4.5f);
    EXPECT_EQ(q({8, 7, 6, 5, 4, 3, 2, 1}, false), 6.0f);
    EXPECT_EQ(q({20, 10}, false), 15.0f);
    EXPECT_EQ(q({1, 2, 3}, false), 2.25f);
    EXPECT_EQ(q({5}, false), 5.0f); // a single value is its own 75th percentile
}

TEST(Quantile, ResultIsA32BitValueAndTheListIsLeftSorted) {
    std::vector<double> v{0.95, 0.1, 0.3};
    EXPECT_EQ(quantile(v, true), 0.3f);
    EXPECT_EQ(v, (std::vector<double>{0.1, 0.3, 0.95}));
}

TEST(SortValues, SortsInPlaceWithRepeatsAndLongRuns) {
    std::mt19937 random(7);
    for (int size : {0, 1, 2, 3, 10, 1000, 20000}) {
        std::vector<double> v(static_cast<std::size_t>(size));
        for (auto& x : v) {
            x = static_cast<double>(random() % 5); // many equal values
        }
        sortvals(v, 0, static_cast<long>(v.size()) - 1);
        EXPECT_TRUE(std::is_sorted(v.begin(), v.end())) << size;
    }
    std::vector<double> sorted(100000);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        sorted[i] = static_cast<double>(i);
    }
    sortvals(sorted, 0, static_cast<long>(sorted.size()) - 1); // already sorted: no deep recursion
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
}
