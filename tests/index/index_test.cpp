#include "index/classes.h"
#include "index/normalisation.h"
#include "index/regression.h"
#include "metrics/catalogue.h"
#include "support/sampletable.h"

#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

TEST(ReferenceValues, ClassCountsAndTheNumericValuesOfSamplesAboveTheThreshold) {
    auto t = makeTable({"BAETIDAE"}, {{1}, {1}, {1}, {1}, {1}, {1}}, {6, 6, 5, 0, -1, 3});
    EXPECT_EQ(countSamplesPerClass(t), (ClassCounts{2, 1, 0, 1, 0, 0, 2}));
    EXPECT_EQ(countSamplesPerClass(makeTable({"BAETIDAE"}, {{1}}, {7})), (ClassCounts{0, 0, 0, 0, 0, 0, 1}));
    const std::vector<double> column{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(referenceSampleValues(column, t, {5, true}), (std::vector<double>{1, 2}));
    EXPECT_EQ(referenceSampleValues(column, t, {4, true}), (std::vector<double>{1, 2, 3}));
    std::vector<std::optional<double>> withGap{std::nullopt, 2.0, 3.0, 4.0, 5.0, 6.0};
    EXPECT_EQ(referenceSampleValues(withGap, t, {5, true}), (std::vector<double>{2}));
    // No reference sample: no value, whose reference value is 0.
    auto none = referenceSampleValues(column, t, {6, true});
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(ReferenceRule({6, false}).referenceValue(none), 0.0f);
}

// (value - lower) / (upper - lower), the range taken in 32 bits, no clipping; an upper value
// of 0 gives 0 everywhere; missing values stay missing.
TEST(Normalisation, BetweenLowerAndUpperValue) {
    EXPECT_EQ(normaliseColumn(std::vector<double>{2, 6, 10, 0}, 6.0f, 2.0f, "x"),
              (std::vector<double>{0, 1, 2, -0.5}));
    EXPECT_EQ(normaliseColumn(std::vector<double>{0.5}, 0.95f, 0.0f, "x")[0],
              0.5 / static_cast<double>(0.95f));
    EXPECT_EQ(normaliseColumn(std::vector<double>{3, 4}, 0.0f, 2.0f, "x"), (std::vector<double>{0, 0}));
    for (float upper : {6.0f, 0.0f}) {
        const auto out =
            normaliseColumn(std::vector<std::optional<double>>{4.0, std::nullopt}, upper, 2.0f, "x");
        EXPECT_EQ(out, (std::vector<std::optional<double>>{upper == 0 ? 0.0 : 0.5, std::nullopt}));
    }
}

TEST(Indices, ReferenceValueIsThe32BitQuantileOfTheReferenceSums) {
    // Sample 1 is the worked example (raw 0.91015); six reference samples at 0.95.
    MetricTable m;
    for (auto [column, value] : {std::pair{&m.aspt, 1.0},
                                 {&m.logseleptd, 0.8},
                                 {&m.taxan, 0.9},
                                 {&m.shannon, 1.1},
                                 {&m.eptn, 0.7},
                                 {&m.gold, 0.95}}) {
        *column = {value, 0.95, 0.95, 0.95, 0.95, 0.95, 0.95};
    }
    const auto t = makeTable({"BAETIDAE"}, std::vector<std::vector<double>>(7, {1.0}), {3, 6, 6, 6, 6, 6, 6});
    const IndexResult r = computeIndices(m, t, Northern, {5, true});
    EXPECT_EQ(r.starReferenceValue, 0.95f);
    EXPECT_NEAR(r.staricm[0], 0.91015 / static_cast<double>(0.95f), 1e-12);
    // Without any reference value above 0 every index is 0.
    for (auto* column : {&m.aspt, &m.logseleptd, &m.taxan, &m.shannon, &m.eptn, &m.gold}) {
        std::fill(column->begin() + 1, column->end(), 0.0);
    }
    const IndexResult zero = computeIndices(m, t, Northern, {5, true});
    EXPECT_EQ(zero.starReferenceValue, 0.0f);
    EXPECT_EQ(zero.staricm, std::vector<double>(7, 0.0));
}

TEST(Regression, WorkedExample) {
    std::vector<std::string> x{"1", "2", "3", "4", "5", "6"};
    Regression r = fitLine(x, {0.5, 0.7, 0.6, 0.9, 1.0, 0.8});
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.m, 0.077143, 1e-6);
    EXPECT_NEAR(r.b, 0.48, 1e-12);
    EXPECT_NEAR(r.r2, 0.5951, 1e-4);
    EXPECT_NEAR(r.xmin, 0.8, 1e-12);
    EXPECT_EQ(r.bandPoints, 60);
    EXPECT_NEAR(r.bandHalfWidths[0], 0.18850, 1e-5);
}

TEST(Regression, MissingXTakesNoPartAndTheBandFollowsTheLargerRange) {
    Regression r =
        fitLine(std::vector<std::string>{"0.1", "N/A", "0.2", "0.25", "0.15"}, {1.0, 50.0, 1.04, 0.9, 0.95});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.n, 4);
    EXPECT_EQ(r.xmin, 0.0);      // 0.1 - 0.2 is below 0
    EXPECT_EQ(r.bandPoints, 10); // L = 1.04
    EXPECT_EQ(fitLine(std::vector<std::string>{"2.25", "1", "1.5"}, {0.9, 0.2, 0.5}).bandPoints,
              22); // 22.5 to even
}

TEST(Regression, FailsWithoutEnoughSpreadButNotOnAPerfectFit) {
    // Two pairs, all x equal, all y equal, no numeric x.
    EXPECT_FALSE(fitLine(std::vector<std::string>{"1", "2"}, {1, 2}).ok);
    EXPECT_FALSE(fitLine(std::vector<std::string>{"1", "1", "1"}, {1, 2, 3}).ok);
    EXPECT_FALSE(fitLine(std::vector<std::string>{"1", "2", "3"}, {5, 5, 5}).ok);
    EXPECT_FALSE(fitLine(std::vector<std::string>{"N/A", "N/A", "N/A"}, {1, 2, 3}).ok);
    Regression perfect = fitLine(std::vector<std::string>{"0.1", "0.2", "0.3"}, {0.2, 0.4, 0.6});
    ASSERT_TRUE(perfect.ok);
    EXPECT_NEAR(perfect.r2, 1.0, 1e-12);
    for (double hw : perfect.bandHalfWidths) {
        EXPECT_NEAR(hw, 0.0, 1e-9); // never NaN
    }
}
