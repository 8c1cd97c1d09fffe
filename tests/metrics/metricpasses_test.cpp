#include "metrics/catalogue.h"
#include "metrics/familytraits.h"
#include "metrics/metricpasses.h"
#include "support/taxa.h"
#include "support/sampletable.h"
#include "support/testsupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

// Runs the passes of a GIG over a table and returns its raw metrics.
MetricTable passes(const SampleTable& t, int gig) {
    const auto traits = resolveFamilyTraits(t, realTaxa());
    MetricTable m = makeMetricTable(t.nsamp(), gig);
    const ProgressHandler none;
    const PresentFamilies present(t);
    const PassInput in{t, traits, present, gig, none};
    calcaspt(in, m);
    contafam(in, m);
    if (gig == Alpine) {
        contasens(in, m);
    }
    if (gig == Mediterranean) {
        contaetd(in, m);
    }
    return m;
}

int familyId(const char* name) {
    return realTaxa().findByName(name)->id;
}

} // namespace

TEST(ScoreMetrics, CompositeFamiliesScoreOncePerSample) {
    // GAMMARIDAE and NIPHARGIDAE (6 each) count once, with a family of score 8: (6 + 8) / 2.
    auto t = makeTable({"GAMMARIDAE", "NIPHARGIDAE", "PSYCHOMYIIDAE"}, {{1, 1, 1}});
    EXPECT_DOUBLE_EQ(passes(t, CentralBaltic).aspt[0], 7.0);
    // The oligochaetes count once, with the score of the first met.
    auto oligo = makeTable({"TUBIFICIDAE", "NAIDIDAE", "PERLIDAE"}, {{1, 1, 1}});
    EXPECT_DOUBLE_EQ(passes(oligo, CentralBaltic).aspt[0], (1.0 + 10.0) / 2.0);
}

TEST(ScoreMetrics, FloorOfTwo) {
    auto unscored = makeTable({"CHIRONOMIDAE", "NOTAFAMILY"}, {{5, 5}});
    EXPECT_EQ(passes(unscored, Mediterranean).aspt[0], 2.0); // CHIRONOMIDAE scores 2, alone
    auto low = makeTable({"TUBIFICIDAE", "CHIRONOMIDAE"}, {{5, 5}});
    auto m = passes(low, Mediterranean);
    EXPECT_EQ(m.aspt[0], 2.0); // (1 + 2) / 2 = 1.5 lifts to 2
    EXPECT_EQ(m.iaspt[0], 2.0);
    auto none = makeTable({"NOTAFAMILY"}, {{5}});
    EXPECT_EQ(passes(none, Alpine).iaspt[0], 2.0);
}

TEST(ScoreMetrics, IberianScoresHaveNoCompositeFamilies) {
    auto t = makeTable({"TUBIFICIDAE", "NAIDIDAE", "HEPTAGENIIDAE"}, {{1, 1, 1}});
    auto m = passes(t, Alpine);
    const double iberian = (1.0 + 1.0 + realTaxa().findByName("HEPTAGENIIDAE")->bmwpe) / 3.0;
    EXPECT_DOUBLE_EQ(m.iaspt[0], iberian);
}

TEST(FamilyCountMetrics, CountsSharesAndDiversity) {
    auto t = makeTable({"BAETIDAE", "HEPTAGENIIDAE", "CHIRONOMIDAE", "GAMMARIDAE", "MISSINGIDAE"},
                       {{10, 5, 20, 0, 15}, {0, 0, 3, 0, 0}});
    auto m = passes(t, EasternContinental);
    EXPECT_EQ(m.taxan[0], 4.0); // the family missing from the database still counts
    EXPECT_EQ(m.eptn[0], 2.0);
    EXPECT_DOUBLE_EQ(m.gold[0], 1.0 - 20.0 / 50.0);
    EXPECT_DOUBLE_EQ(m.eptabund[0], 15.0 / 50.0);
    EXPECT_DOUBLE_EQ(m.logseleptd[0], std::log(5.0 + 1.0) / std::log(10.0)); // HEPTAGENIIDAE is selected
    double h = 0;
    for (double a : {10.0, 5.0, 20.0, 15.0}) {
        h += a / 50 * std::log(a / 50);
    }
    EXPECT_DOUBLE_EQ(m.shannon[0], -h);
    EXPECT_EQ(m.taxan[1], 1.0);
    EXPECT_EQ(m.shannon[1], 0.0); // a single family has no diversity
}

TEST(FamilyCountMetrics, SelectedFamiliesMatchByPlainSubstring) {
    // "DAELEPTO" spans two entries of the SelEPTD text; the database spelling STRATIOMYIDAE is
    // not in it (the text spells STRATYOMIDAE).
    auto t = makeTable({"DAELEPTO", "STRATIOMYIDAE"}, {{4, 0}, {0, 9}});
    auto m = passes(t, CentralBaltic);
    EXPECT_DOUBLE_EQ(m.logseleptd[0], std::log(5.0) / std::log(10.0));
    EXPECT_EQ(m.logseleptd[1], 0.0);
}

TEST(FamilyCountMetrics, EptRatioDependsOnTheGig) {
    auto t = makeTable({"BAETIDAE", "LEUCTRIDAE", "CHIRONOMIDAE", "ELMIDAE"}, {{1, 1, 1, 1}});
    EXPECT_DOUBLE_EQ(passes(t, Alpine).gigept[0], 0.5);
    EXPECT_TRUE(passes(t, Northern).gigept.empty());
}

TEST(FamilyCountMetrics, SampleWithoutAnyFamilyHasNoRatios) {
    auto t = makeTable({"BAETIDAE"}, {{0}});
    for (int gig : {Alpine, EasternContinental, Mediterranean}) {
        auto m = passes(t, gig);
        EXPECT_EQ(m.taxan[0], 0.0);
        EXPECT_EQ(m.gold[0], 0.0);
        EXPECT_EQ(m.shannon[0], 0.0);
        EXPECT_EQ(m.logseleptd[0], 0.0);
        EXPECT_EQ(m.aspt[0], 2.0);
        if (gig == Alpine) {
            EXPECT_EQ(m.gigept[0], 0.0);
        }
        if (gig == EasternContinental) {
            EXPECT_EQ(m.eptabund[0], 0.0);
        }
        if (gig == Mediterranean) {
            EXPECT_EQ(m.seletd[0], 0.0);
        }
    }
}

TEST(SelectedFamilyMetrics, SensitiveFamiliesByExactId) {
    // The selection holds 84 but neither 8 nor 4.
    const FamilyRecord* id84 = realTaxa().findById(84);
    const FamilyRecord* id8 = realTaxa().findById(8);
    const FamilyRecord* id4 = realTaxa().findById(4);
    ASSERT_TRUE(id84 && id8 && id4);
    auto t = makeTable({id84->family, id8->family, id4->family, "NOTAFAMILY"}, {{1, 1, 1, 1}});
    EXPECT_EQ(passes(t, Alpine).selsens[0], 1.0);
    EXPECT_NE(familyId("PERLIDAE"), 0);
}

TEST(SelectedFamilyMetrics, EtdShareOfTheFamilies) {
    auto t = makeTable({"HEPTAGENIIDAE", "GOERIDAE", "BAETIDAE", "NOTAFAMILY", "LEPTOPHLEBIIDAE"},
                       {{1, 1, 1, 1, 0}});
    EXPECT_DOUBLE_EQ(passes(t, Mediterranean).seletd[0], 0.5); // 2 of 4 present families
}

TEST(MetricPasses, ProgressReachesTheEndOnceForEachSample) {
    auto t = makeTable({"BAETIDAE"}, {{1}, {2}, {3}});
    for (int gig : {Alpine, Northern}) {
        std::vector<double> seen;
        const ProgressHandler progress = [&](double f) { seen.push_back(f); };
        const auto traits = resolveFamilyTraits(t, realTaxa());
        MetricTable m = makeMetricTable(t.nsamp(), gig);
        const PresentFamilies present(t);
        const PassInput in{t, traits, present, gig, progress};
        calcaspt(in, m);
        contafam(in, m);
        if (gig == Alpine) {
            contasens(in, m);
        }
        EXPECT_EQ(seen.size(), gig == Alpine ? 9u : 6u);
        EXPECT_DOUBLE_EQ(seen.back(), 1.0);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    }
}
