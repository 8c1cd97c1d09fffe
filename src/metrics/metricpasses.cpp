#include "metrics/metricpasses.h"

#include "base/logarithm.h"
#include "metrics/catalogue.h"
#include "metrics/familylists.h"
#include "metrics/metricdefinitions.h"

#include <array>

namespace torrentix {
namespace {

// The lowest ASPT: a sample without any scored family, and the lower normalisation value.
constexpr double asptFloor = 2.0;

double share(double part, double whole) {
    return whole > 0.0 ? part / whole : 0.0;
}

} // namespace

MetricTable makeMetricTable(int nsamp, Gig gig) {
    MetricTable m;
    for (const MetricId column : metricsOfGig(gig)) {
        metricColumn(m, column).assign(static_cast<std::size_t>(nsamp), 0.0);
    }
    return m;
}

void computeScoreMetrics(const PassInput& in, MetricTable& m) {
    const bool iberian = computesMetric(in.gig, MetricId::Iaspt);
    const bool degradation = !m.dind.empty();
    for (int j = in.first; j < in.last; ++j) {
        int scored = 0, scoreSum = 0, iberianScored = 0, iberianSum = 0;
        long long dind = 0;
        std::array<bool, bmwpGroupCount> groupScored{};
        for (const Abundances::Present p : in.table.present(j)) {
            const FamilyTraits& t = in.traits[static_cast<std::size_t>(p.family)];
            if (!t.found) {
                continue;
            }
            dind += t.structind;
            const int e = iberian ? t.bmwpe : 0;
            if (t.bmwp >= 1) {
                // A composite family group is scored once per sample, by its first family met.
                bool repeated = t.bmwpGroup >= 0 && groupScored[static_cast<std::size_t>(t.bmwpGroup)];
                if (!repeated) {
                    if (t.bmwpGroup >= 0) {
                        groupScored[static_cast<std::size_t>(t.bmwpGroup)] = true;
                    }
                    ++scored;
                    scoreSum += t.bmwp;
                }
            }
            if (e >= 1) {
                ++iberianScored;
                iberianSum += e;
            }
        }
        const auto js = static_cast<std::size_t>(j);
        m.gold[js] = 0.0;
        double aspt = scored == 0 ? asptFloor : static_cast<double>(scoreSum) / scored;
        m.aspt[js] = aspt < asptFloor ? asptFloor : aspt;
        if (degradation) {
            m.dind[js] = static_cast<double>(dind);
        }
        if (iberian) {
            double iaspt = iberianScored == 0 ? asptFloor : static_cast<double>(iberianSum) / iberianScored;
            m.iaspt[js] = iaspt < asptFloor ? asptFloor : iaspt;
        }
    }
}

void computeFamilyMetrics(const PassInput& in, MetricTable& m) {
    for (int j = in.first; j < in.last; ++j) {
        const auto js = static_cast<std::size_t>(j);
        double total = 0.0, goldAbundance = 0.0, selectedAbundance = 0.0, eptAbundance = 0.0;
        double families = 0.0, eptFamilies = 0.0;
        // Absent families would only add 0 to any of these sums.
        for (const Abundances::Present p : in.table.present(j)) {
            const FamilyTraits& t = in.traits[static_cast<std::size_t>(p.family)];
            const double a = p.abundance;
            if (t.selEptd) {
                selectedAbundance += a;
            }
            total += a;
            families += 1.0;
            if (!t.found) {
                continue;
            }
            if (isGoldGroup(t.idgroup)) {
                goldAbundance += a;
            }
            if (isEptGroup(t.idgroup)) {
                eptFamilies += 1.0;
                eptAbundance += a;
            }
        }
        m.taxan[js] = families;
        m.eptn[js] = eptFamilies;
        if (!m.gigept.empty()) {
            m.gigept[js] = share(eptFamilies, families);
        }
        // A sample whose only non-zero cells were in ignored columns has no family: its
        // ratios are 0, never 0/0.
        m.gold[js] = total > 0.0 ? 1.0 - goldAbundance / total : 0.0;
        if (!m.eptabund.empty()) {
            m.eptabund[js] = share(eptAbundance, total);
        }
        double h = 0.0;
        for (const Abundances::Present present : in.table.present(j)) {
            const double p = present.abundance / total;
            // A share too small for a double (1e-320 beside 1e300) is 0, whose term p ln p
            // tends to 0: it adds nothing, where 0 * ln 0 would make the diversity NaN.
            if (p > 0.0) {
                h = h + p * naturalLog(p);
            }
        }
        m.shannon[js] = -h;
        m.logseleptd[js] = naturalLog(selectedAbundance + 1.0) / naturalLog(10.0);
    }
}

void countSensitiveFamilies(const PassInput& in, MetricTable& m) {
    for (int j = in.first; j < in.last; ++j) {
        double count = 0.0;
        for (const Abundances::Present p : in.table.present(j)) {
            const FamilyTraits& t = in.traits[static_cast<std::size_t>(p.family)];
            if (t.found && t.sensitive) {
                count += 1.0;
            }
        }
        m.selsens[static_cast<std::size_t>(j)] = count;
    }
}

void computeSelectedEtdRatio(const PassInput& in, MetricTable& m) {
    for (int j = in.first; j < in.last; ++j) {
        double count = 0.0;
        for (const Abundances::Present p : in.table.present(j)) {
            if (in.traits[static_cast<std::size_t>(p.family)].selEtd) {
                count += 1.0;
            }
        }
        const auto js = static_cast<std::size_t>(j);
        m.seletd[js] = share(count, m.taxan[js]);
    }
}

} // namespace torrentix
