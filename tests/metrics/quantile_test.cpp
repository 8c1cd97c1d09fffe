#include "metrics/quantile.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace torrentix;

namespace {

void expectQuantiles(std::vector<double> values, float median, float percentile) {
    EXPECT_EQ(referenceQuantile(values, true), median) << values.size();
    EXPECT_EQ(referenceQuantile(values, false), percentile) << values.size();
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
    // The result is the 32-bit value; found by selection, it is the value of the sorted list.
    std::mt19937 random(11);
    for (std::size_t size = 1; size < 90; size += 1 + size / 8) {
        std::vector<double> v(size);
        for (double& x : v) {
            x = std::uniform_int_distribution<int>(0, 9)(random) / 7.0; // ties too
        }
        std::vector<double> sorted = v, copy = v;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(referenceQuantile(copy, true), static_cast<float>(medianOfSorted(sorted))) << size;
        copy = v;
        EXPECT_EQ(referenceQuantile(copy, false), static_cast<float>(percentile75OfSorted(sorted))) << size;
    }
}

// The intervals' percentiles as R's quantile(type = 7), sorted first or not.
TEST(Quantile, TypeSevenOfSortedAndUnsortedLists) {
    EXPECT_EQ(quantileType7({1.0, 2.0, 3.0, 4.0}, 0.25), 1.75);
    EXPECT_EQ(quantileType7({5.0}, 0.975), 5.0);
    std::mt19937 random(7);
    for (std::size_t size : {1u, 2u, 3u, 40u, 1001u}) {
        std::vector<double> v(size);
        std::generate(v.begin(), v.end(), [&] { return static_cast<double>(random() % 50); }); // repeats
        std::vector<double> sorted = v;
        std::sort(sorted.begin(), sorted.end());
        for (double p : {0.0, 0.025, 0.5, 0.975, 1.0}) {
            std::vector<double> unsorted = v;
            EXPECT_EQ(quantileType7Unsorted(unsorted, p), quantileType7(sorted, p)) << size << " " << p;
        }
        EXPECT_EQ(quantileType7(sorted, 0.5), medianOfSorted(sorted)) << size;
    }
}
