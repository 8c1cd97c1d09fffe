#include "input/familyevidence.h"
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
    const CountedFamilies families = resolveFamilyTraits(t, realTaxa());
    MetricTable m = makeMetricTable(t.nsamp(), gig);
    const PassInput in{t, families, gig, 0, t.nsamp()};
    computeMetricPasses(in, m);
    return m;
}

std::vector<std::vector<double> MetricTable::*> columns() {
    return {&MetricTable::aspt,    &MetricTable::eptn,       &MetricTable::gold,     &MetricTable::shannon,
            &MetricTable::taxan,   &MetricTable::logseleptd, &MetricTable::iaspt,    &MetricTable::gigept,
            &MetricTable::selsens, &MetricTable::seletd,     &MetricTable::eptabund, &MetricTable::dind};
}

void expectSameMetrics(const SampleTable& asNamed, const SampleTable& asCounted, const std::vector<Gig>& gigs,
                       const std::string& what) {
    for (const Gig gig : gigs) {
        const MetricTable a = passes(asNamed, gig), b = passes(asCounted, gig);
        for (const auto column : columns()) {
            EXPECT_EQ(a.*column, b.*column) << what << ", GIG " << gig;
        }
    }
}

const std::vector<Gig> everyGig = {Alpine, CentralBaltic, EasternContinental, Mediterranean, Northern};
// The GIGs without the Iberian ASPT, for families the Iberian table scores apart.
const std::vector<Gig> bmwpGigs = {CentralBaltic, EasternContinental, Northern};

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

// Families split off after the score tables and family lists were written are counted as the
// family they were split from: a sample whose taxon is named at genus level (and so resolved to
// its current family) gives the metrics of the sample naming the method's family instead.
// Each taxon alone beside three other families, and beside the family it counts as (which then
// counts once, with both abundances, as the columns of one family are added together).
TEST(CountedAs, GenusNamedSampleGivesTheMetricsOfTheFamilyNamedOne) {
    const struct {
        const char* name;
        const char* countedAs;
        const std::vector<Gig>& gigs;
    } cases[] = {
        {"Potamopyrgus antipodarum", "HYDROBIIDAE", everyGig},
        {"Marstoniopsis", "HYDROBIIDAE", everyGig},
        {"Heleobia", "HYDROBIIDAE", everyGig},
        {"Lithoglyphus naticoides", "HYDROBIIDAE", everyGig},
        {"Haemopis sanguisuga", "HIRUDINIDAE", everyGig},
        {"Micronecta", "CORIXIDAE", everyGig},
        {"Arthroplea congener", "HEPTAGENIIDAE", everyGig},
        {"Apatania", "LIMNEPHILIDAE", everyGig},
        {"Ameletus inopinatus", "SIPHLONURIDAE", everyGig},
        {"Dicranota", "LIMONIIDAE", everyGig},
        {"Dicranota", "TIPULIDAE", bmwpGigs},
        {"Hexatoma", "TIPULIDAE", bmwpGigs},
        {"Triogma trisulcata", "TIPULIDAE", everyGig},
        {"Helophorus", "HYDROPHILIDAE", bmwpGigs},
        {"Hydrochus", "HYDROPHILIDAE", bmwpGigs},
        {"Georissus", "HYDROPHILIDAE", everyGig},
        {"Thremma", "UENOIDAE", everyGig},
        {"Margaritifera margaritifera", "UNIONIDAE", everyGig},
        {"Macromia splendens", "CORDULIIDAE", everyGig},
        {"Notaris", "CURCULIONIDAE", everyGig},
        {"Tournotaris", "CURCULIONIDAE", everyGig},
        {"Melanopsis", "THIARIDAE", everyGig},
    };
    const std::vector<std::string> others = {"BAETIDAE", "CHIRONOMIDAE", "TUBIFICIDAE"};
    for (const auto& c : cases) {
        const auto family = familyEvidence(realTaxa(), toUpperAscii(c.name), false).knownAnswer();
        ASSERT_TRUE(family) << c.name;
        const auto table = [&](std::vector<std::string> names, std::vector<double> row) {
            names.insert(names.end(), others.begin(), others.end());
            row.insert(row.end(), {4, 7, 2});
            return makeTable(std::move(names), {row});
        };
        expectSameMetrics(table({family->family}, {3}), table({c.countedAs}, {3}), c.gigs, c.name);
        expectSameMetrics(table({family->family, c.countedAs}, {3, 9}), table({c.countedAs}, {12}), c.gigs,
                          std::string(c.name) + " with " + c.countedAs);
    }
}

// The score table scores the Oligochaeta as one class: the worm families it does not name and
// the class row join the worm composite, and count once for the ASPT beside a tubificid.
TEST(CountedAs, EveryWormOfTheClassIsOneTaxonOfTheAspt) {
    for (const char* worm : {"Sparganophilus", "Criodrilus lacuum", "Oligochaeta", "Branchiobdella"}) {
        const auto family = familyEvidence(realTaxa(), toUpperAscii(worm), false).knownAnswer();
        const std::string name = family ? family->family : toUpperAscii(worm);
        const MetricTable m =
            passes(makeTable({name, "TUBIFICIDAE", "PERLIDAE"}, {{1, 1, 1}}), CentralBaltic);
        EXPECT_EQ(m.aspt[0], 5.5) << worm;  // (1 + 10) / 2
        EXPECT_EQ(m.taxan[0], 3.0) << worm; // a composite's families still count apart
    }
}
