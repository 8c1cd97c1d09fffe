#include "metrics/catalogue.h"
#include "metrics/familytraits.h"
#include "metrics/metricpasses.h"
#include "support/sampletable.h"
#include "support/taxa.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

// Runs the passes of a GIG over a table and returns its raw metrics.
MetricTable passes(const SampleTable& t, Gig gig) {
    const auto traits = resolveFamilyTraits(t, realTaxa());
    MetricTable m = makeMetricTable(t.nsamp(), gig);
    const PassInput in{t, traits, gig, 0, t.nsamp()};
    computeScoreMetrics(in, m);
    computeFamilyMetrics(in, m);
    if (gig == Alpine) {
        countSensitiveFamilies(in, m);
    }
    if (gig == Mediterranean) {
        computeSelectedEtdRatio(in, m);
    }
    return m;
}

} // namespace

// One sample of the given families, each present; the metric of the GIG for it.
TEST(MetricPasses, MetricOfOneSample) {
    const struct {
        std::vector<std::string> families;
        Gig gig;
        std::vector<double> MetricTable::*metric;
        double value;
    } cases[] = {
        // BMWP composites score once: GAMMARIDAE and NIPHARGIDAE (6) beside PSYCHOMYIIDAE (8);
        // the oligochaetes with the score of the first met (1) beside PERLIDAE (10).
        {{"GAMMARIDAE", "NIPHARGIDAE", "PSYCHOMYIIDAE"}, CentralBaltic, &MetricTable::aspt, 7.0},
        {{"TUBIFICIDAE", "NAIDIDAE", "PERLIDAE"}, CentralBaltic, &MetricTable::aspt, 5.5},
        // The Iberian scores have no composites: (1 + 1 + 10) / 3.
        {{"TUBIFICIDAE", "NAIDIDAE", "HEPTAGENIIDAE"}, Alpine, &MetricTable::iaspt, 4.0},
        // Both averages are at least 2: CHIRONOMIDAE (2) alone, (1 + 2) / 2, no scored family.
        {{"CHIRONOMIDAE", "NOTAFAMILY"}, Mediterranean, &MetricTable::aspt, 2.0},
        {{"TUBIFICIDAE", "CHIRONOMIDAE"}, Mediterranean, &MetricTable::aspt, 2.0},
        {{"TUBIFICIDAE", "CHIRONOMIDAE"}, Mediterranean, &MetricTable::iaspt, 2.0},
        {{"NOTAFAMILY"}, Alpine, &MetricTable::iaspt, 2.0},
        // The lists' older spellings count the database's families: RHYACHOPHILIDAE and
        // GLOSSOSOMATIDAE (7) score once beside PERLIDAE (10); STRATYOMIDAE is STRATIOMYIDAE.
        {{"RHYACOPHILIDAE", "GLOSSOSOMATIDAE", "PERLIDAE"}, CentralBaltic, &MetricTable::aspt, 8.5},
        {{"STRATIOMYIDAE"}, CentralBaltic, &MetricTable::logseleptd, std::log10(2.0)},
        {{"NOTAFAMILY", "DAELEPTO"}, CentralBaltic, &MetricTable::logseleptd, 0.0},
        {{"BAETIDAE", "LEUCTRIDAE", "CHIRONOMIDAE", "ELMIDAE"}, Alpine, &MetricTable::gigept, 0.5},
        // Sensitive families by exact id: 84 (LEPTOCERIDAE) counts, 8 and 4 do not.
        {{"LEPTOCERIDAE", "DUGESIIDAE", "CORDYLOPHORIDAE", "NOTAFAMILY"}, Alpine, &MetricTable::selsens, 1.0},
        // Selected ETD families over present families: 2 of 4 (LEPTOPHLEBIIDAE is absent).
        {{"HEPTAGENIIDAE", "GOERIDAE", "BAETIDAE", "NOTAFAMILY"}, Mediterranean, &MetricTable::seletd, 0.5}};
    for (const auto& c : cases) {
        const MetricTable m =
            passes(makeTable(c.families, {std::vector<double>(c.families.size(), 1.0)}), c.gig);
        EXPECT_DOUBLE_EQ((m.*c.metric)[0], c.value) << c.families[0] << ", GIG " << c.gig;
    }
    EXPECT_TRUE(passes(makeTable({"BAETIDAE"}, {{1}}), Northern).gigept.empty());
}

TEST(MetricPasses, CountsSharesAndDiversity) {
    auto t = makeTable({"BAETIDAE", "HEPTAGENIIDAE", "CHIRONOMIDAE", "GAMMARIDAE", "MISSINGIDAE"},
                       {{10, 5, 20, 0, 15}, {0, 0, 3, 0, 0}});
    auto m = passes(t, EasternContinental);
    EXPECT_EQ(m.taxan[0], 4.0); // the family missing from the database still counts
    EXPECT_EQ(m.eptn[0], 2.0);
    EXPECT_DOUBLE_EQ(m.gold[0], 1.0 - 20.0 / 50.0);
    EXPECT_DOUBLE_EQ(m.eptabund[0], 15.0 / 50.0);
    EXPECT_DOUBLE_EQ(m.logseleptd[0], std::log10(5.0 + 1.0)); // HEPTAGENIIDAE is selected
    double h = 0;
    for (double a : {10.0, 5.0, 20.0, 15.0}) {
        h -= a / 50 * std::log(a / 50);
    }
    EXPECT_DOUBLE_EQ(m.shannon[0], h);
    EXPECT_EQ(m.taxan[1], 1.0);
    EXPECT_EQ(m.shannon[1], 0.0); // a single family has no diversity
}

// Every metric of every sample is a number: the reader keeps only finite, non-negative
// abundances whose total is finite, and neither the largest nor the smallest such values
// nor a sample whose only abundance was in an ignored column make a metric that is not.
TEST(MetricPasses, EveryMetricIsANumberAndEmptySamplesHaveNoRatios) {
    const double largest = std::numeric_limits<double>::max() / 4;
    const MetricTable extreme =
        passes(makeTable({"BAETIDAE", "STRATIOMYIDAE", "CHIRONOMIDAE", "PERLIDAE"},
                         {{largest, largest, largest, 4.9e-324}, {4.9e-324, 0, 4.9e-324, 0}, {0, 0, 0, 0}}),
               Mediterranean);
    for (const auto* column : {&extreme.aspt, &extreme.eptn, &extreme.gold, &extreme.shannon,
                               &extreme.logseleptd, &extreme.taxan, &extreme.iaspt, &extreme.seletd}) {
        EXPECT_TRUE(std::all_of(column->begin(), column->end(), [](double v) { return std::isfinite(v); }));
    }
    for (const Gig gig : {Alpine, EasternContinental, Mediterranean}) {
        const MetricTable m = passes(makeTable({"BAETIDAE"}, {{0}}), gig);
        EXPECT_EQ(m.aspt[0], 2.0);
        for (const auto* v :
             {&m.taxan, &m.gold, &m.shannon, &m.logseleptd, &m.gigept, &m.eptabund, &m.seletd}) {
            EXPECT_TRUE(v->empty() || v->front() == 0.0) << gig;
        }
    }
}
