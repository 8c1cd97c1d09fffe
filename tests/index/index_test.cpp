#include "index/classes.h"
#include "index/normalisation.h"
#include "index/regression.h"
#include "metrics/catalogue.h"
#include "support/sampletable.h"
#include "support/testsupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

TEST(QualityClasses, CountsInTheirFixedOrder) {
    auto t = makeTable({"BAETIDAE"}, {{1}, {1}, {1}, {1}, {1}, {1}}, {6, 6, 5, 0, 7, 3});
    EXPECT_EQ(contaclassif(t), (ClassCounts{2, 1, 0, 1, 0, 0, 2}));
    EXPECT_EQ(contaclassif(SampleTable{}), ClassCounts{});
}

TEST(ReferenceValues, OnlyNumericValuesOfSamplesAboveTheThreshold) {
    auto t = makeTable({"BAETIDAE"}, {{1}, {1}, {1}, {1}}, {6, 5, 4, 6});
    EXPECT_EQ(famattemp(std::vector<double>{1, 2, 3, 4}, t, 5), (std::vector<double>{1, 4}));
    EXPECT_EQ(famattemp(std::vector<double>{1, 2, 3, 4}, t, 4), (std::vector<double>{1, 2, 4}));
    std::vector<std::optional<double>> withGap{std::nullopt, 2.0, 3.0, 4.0};
    EXPECT_EQ(famattemp(withGap, t, 5), (std::vector<double>{4}));
    EXPECT_EQ(famattemp(std::vector<double>{1, 2, 3, 4}, t, 6), (std::vector<double>{0})); // none: one 0
}

TEST(Normalisation, BetweenLowerAndUpperWithoutClipping) {
    auto out = normal1(std::vector<double>{2, 6, 10, 0}, 6.0f, 2.0f, "ASPT");
    EXPECT_EQ(out, (std::vector<double>{0.0, 1.0, 2.0, -0.5}));
    // The range is a 32-bit difference; the division is in 64 bits.
    auto fine = normal1(std::vector<double>{0.5}, 0.95f, 0.0f, "x");
    EXPECT_EQ(fine[0], 0.5 / static_cast<double>(0.95f));
    EXPECT_EQ(normal1(std::vector<double>{3, 4}, 0.0f, 2.0f, "x"), (std::vector<double>{0, 0}));
}

TEST(Normalisation, MissingValuesStayMissingEvenWithAnUpperValueOfZero) {
    std::vector<std::optional<double>> v{1.0, std::nullopt};
    auto zero = normal1(v, 0.0f, 0.0f, "Pressure");
    EXPECT_EQ(zero[0], 0.0);
    EXPECT_FALSE(zero[1].has_value());
}

TEST(Normalisation, EqualBoundsStopWithTheNameOfTheValues) {
    try {
        normal1(std::vector<double>{2, 2}, 2.0f, 2.0f, "ASPT");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("ASPT"), std::string::npos);
    }
}

namespace {

MetricTable oneSample(double aspt, double logsel, double taxa, double shannon, double ept, double gold) {
    MetricTable m;
    m.aspt = {aspt};
    m.logseleptd = {logsel};
    m.taxan = {taxa};
    m.shannon = {shannon};
    m.eptn = {ept};
    m.gold = {gold};
    return m;
}

} // namespace

TEST(Indices, StarIndexIsTheWeightedSumOverItsReferenceValue) {
    // Sample 1 is the worked example (raw 0.91015); six reference samples at 0.95 make the median 0.95.
    MetricTable m = oneSample(1.0, 0.8, 0.9, 1.1, 0.7, 0.95);
    for (int i = 0; i < 6; ++i) {
        for (auto* v : {&m.aspt, &m.logseleptd, &m.taxan, &m.shannon, &m.eptn, &m.gold}) {
            v->push_back(0.95);
        }
    }
    std::vector<std::vector<double>> rows(7, {1.0});
    auto t = makeTable({"BAETIDAE"}, rows, {3, 6, 6, 6, 6, 6, 6});
    IndexResult r = somma(m, t, CentralBaltic, {5, true});
    EXPECT_NEAR(0.334 * 1.0 + 0.266 * 0.8 + 0.167 * 0.9 + 0.083 * 1.1 + 0.083 * 0.7 + 0.067 * 0.95, 0.91015,
                1e-12);
    EXPECT_EQ(r.staricmnorm, 0.95f);
    EXPECT_NEAR(r.staricm[0], 0.95805, 5e-6);
    EXPECT_EQ(r.gigicm, r.staricm); // Central / Baltic: the GIG index is the STAR_ICMi
}

TEST(Indices, MediterraneanGigIndex) {
    MetricTable m = oneSample(1, 1, 1, 1, 0.7, 1);
    m.iaspt = {1.2};
    m.gigtaxan = {0.9};
    m.seletd = {0.5};
    auto t = makeTable({"BAETIDAE"}, {{1}}, {6});
    IndexResult r = somma(m, t, Mediterranean, {5, true});
    const double raw = 0.18 * 0.7 + 0.34 * 1.2 + 0.28 * 0.9 + 0.2 * 0.5;
    EXPECT_NEAR(raw, 0.886, 1e-12);
    // The only reference sample is the sample itself; its reference value is the raw sum
    // rounded to 32 bits, so the normalised index is almost, not exactly, 1.
    EXPECT_EQ(r.gigicm[0], raw / static_cast<double>(static_cast<float>(raw)));
}

TEST(Indices, ZeroReferenceValueGivesZeroIndices) {
    MetricTable m = oneSample(0, 0, 0, 0, 0, 0);
    m.aspt.push_back(1);
    for (auto* v : {&m.logseleptd, &m.taxan, &m.shannon, &m.eptn, &m.gold}) {
        v->push_back(1);
    }
    auto t = makeTable({"BAETIDAE"}, {{1}, {1}}, {6, 2});
    IndexResult r = somma(m, t, Northern, {5, true});
    EXPECT_EQ(r.staricmnorm, 0.0f);
    EXPECT_EQ(r.staricm, (std::vector<double>{0.0, 0.0}));
}

TEST(Regression, WorkedExample) {
    std::vector<std::string> x{"1", "2", "3", "4", "5", "6"};
    Regression r = regrlin(x, {0.5, 0.7, 0.6, 0.9, 1.0, 0.8});
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.m, 0.077143, 1e-6);
    EXPECT_NEAR(r.b, 0.48, 1e-12);
    EXPECT_NEAR(r.r2, 0.5951, 1e-4);
    EXPECT_NEAR(r.xmin, 0.8, 1e-12);
    EXPECT_EQ(r.bandn, 60);
    EXPECT_NEAR(r.bandhw[0], 0.18850, 1e-5);
}

TEST(Regression, MissingXTakesNoPartAndTheBandFollowsTheLargerRange) {
    Regression r =
        regrlin(std::vector<std::string>{"0.1", "N/A", "0.2", "0.25", "0.15"}, {1.0, 50.0, 1.04, 0.9, 0.95});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.n, 4);
    EXPECT_EQ(r.xmin, 0.0); // 0.1 - 0.2 is below 0
    EXPECT_EQ(r.bandn, 10); // L = 1.04
    Regression wide = regrlin(std::vector<std::string>{"2.25", "1", "1.5"}, {0.9, 0.2, 0.5});
    EXPECT_EQ(wide.bandn, 22); // 22.5 rounds to the even 22
}

TEST(Regression, FailsWithoutEnoughSpreadButNotOnAPerfectFit) {
    EXPECT_FALSE(regrlin(std::vector<std::string>{"1", "2"}, {1, 2}).ok);               // two pairs
    EXPECT_FALSE(regrlin(std::vector<std::string>{"1", "1", "1"}, {1, 2, 3}).ok);       // all x equal
    EXPECT_FALSE(regrlin(std::vector<std::string>{"1", "2", "3"}, {5, 5, 5}).ok);       // all y equal
    EXPECT_FALSE(regrlin(std::vector<std::string>{"N/A", "N/A", "N/A"}, {1, 2, 3}).ok); // no x at all
    Regression perfect = regrlin(std::vector<std::string>{"0.1", "0.2", "0.3"}, {0.2, 0.4, 0.6});
    ASSERT_TRUE(perfect.ok);
    EXPECT_NEAR(perfect.r2, 1.0, 1e-12);
    for (double hw : perfect.bandhw) {
        EXPECT_TRUE(std::isfinite(hw));
        EXPECT_NEAR(hw, 0.0, 1e-9);
    }
}
