// Families split off after the score tables and family lists were written are counted as the
// family they were split from: a sample whose taxon is named at genus level (and so resolved to
// its current family) gives the metrics of the sample naming the method's family instead.

#include "input/familyevidence.h"
#include "metrics/familytraits.h"
#include "metrics/metricpasses.h"
#include "support/sampletable.h"
#include "support/taxa.h"

#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

MetricTable passes(const SampleTable& t, Gig gig) {
    const CountedFamilies families = resolveFamilyTraits(t, realTaxa());
    MetricTable m = makeMetricTable(t.nsamp(), gig);
    const PassInput in{t, families, gig, 0, t.nsamp()};
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
