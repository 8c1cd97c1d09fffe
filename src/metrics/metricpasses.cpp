#include "metrics/metricpasses.h"

#include "base/logarithm.h"
#include "metrics/catalogue.h"
#include "metrics/familylists.h"
#include "metrics/metricdefinitions.h"

#include <algorithm>

namespace torrentix {
namespace {

// The lowest ASPT: a sample without any scored family, and the lower normalisation value.
constexpr double asptFloor = 2.0;

double share(double part, double whole) {
    return whole > 0.0 ? part / whole : 0.0;
}

double floored(double value) {
    return value < asptFloor ? asptFloor : value;
}

// A family present in a sample as the metrics count it, with its abundance.
struct CountedPresence {
    const FamilyTraits* traits;
    double abundance;
};

// The families present in each sample as the metrics count them: the families of the table
// that count as one family are one entry, their abundances added in table order, placed where
// a file naming that family in their columns would place it. Without such families the entries
// are the sample's families themselves.
class CountedSamples {
  public:
    explicit CountedSamples(const PassInput& in)
        : in_(in), entryOf_(static_cast<std::size_t>(in.families.countedCount), -1) {}

    const std::vector<CountedPresence>& of(int j) {
        entries_.clear();
        const auto& traits = in_.families.traits;
        if (!in_.families.merges()) {
            for (const Abundances::Present p : in_.table.present(j)) {
                entries_.push_back({&traits[static_cast<std::size_t>(p.family)], p.abundance});
            }
            return entries_;
        }
        for (const Abundances::Present p : in_.table.present(j)) {
            const FamilyTraits& t = traits[static_cast<std::size_t>(p.family)];
            int& entry = entryOf_[static_cast<std::size_t>(t.countedFamily)];
            if (entry < 0) {
                entry = static_cast<int>(entries_.size());
                entries_.push_back({&t, p.abundance});
            } else {
                entries_[static_cast<std::size_t>(entry)].abundance += p.abundance;
            }
        }
        for (const CountedPresence& e : entries_) {
            entryOf_[static_cast<std::size_t>(e.traits->countedFamily)] = -1;
        }
        const auto byCountedFamily = [](const CountedPresence& a, const CountedPresence& b) {
            return a.traits->countedFamily < b.traits->countedFamily;
        };
        if (!std::is_sorted(entries_.begin(), entries_.end(), byCountedFamily)) {
            std::sort(entries_.begin(), entries_.end(), byCountedFamily);
        }
        return entries_;
    }

  private:
    const PassInput& in_;
    std::vector<int> entryOf_; // per counted family: its entry in this sample, -1 before it is met
    std::vector<CountedPresence> entries_;
};

// Marks groups of families taken once per sample: the first family of a group met is taken.
class OncePerSample {
  public:
    explicit OncePerSample(int groups) : taken_(static_cast<std::size_t>(groups), false) {}
    // Whether a family of this group (-1: a family alone) is taken now.
    bool take(int group) {
        if (group < 0) {
            return true;
        }
        if (taken_[static_cast<std::size_t>(group)]) {
            return false;
        }
        taken_[static_cast<std::size_t>(group)] = true;
        return true;
    }
    void nextSample() { std::fill(taken_.begin(), taken_.end(), false); }

  private:
    std::vector<bool> taken_;
};

} // namespace

MetricTable makeMetricTable(int nsamp, Gig gig) {
    MetricTable m;
    for (const MetricId column : metricsOfGig(gig)) {
        metricColumn(m, column).assign(static_cast<std::size_t>(nsamp), 0.0);
    }
    return m;
}

namespace {

// The score metrics of sample j: ASPT, and Iberian ASPT (Alpine, Mediterranean) or Degradations
// Index (Eastern continental).
void scoreMetricsOf(const PassInput& in, int j, const std::vector<CountedPresence>& counted,
                    OncePerSample& composites, OncePerSample& iberianGroups, MetricTable& m) {
    const bool iberian = computesMetric(in.gig, MetricId::Iaspt);
    int scored = 0, scoreSum = 0, iberianScored = 0, iberianSum = 0;
    long long dind = 0;
    composites.nextSample();
    for (const CountedPresence& p : counted) {
        const FamilyTraits& t = *p.traits;
        // A composite family group is scored once per sample, by its first family met.
        if (t.found && t.bmwp >= 1 && composites.take(t.bmwpGroup)) {
            ++scored;
            scoreSum += t.bmwp;
        }
        dind += t.structind;
    }
    if (iberian) {
        // The Iberian table has no composites, but scores apart some families that the
        // BMWP table counts as an older one: it walks the sample's own families.
        iberianGroups.nextSample();
        for (const Abundances::Present p : in.table.present(j)) {
            const FamilyTraits& t = in.families.traits[static_cast<std::size_t>(p.family)];
            if (t.found && t.bmwpe >= 1 && iberianGroups.take(t.iberianGroup)) {
                ++iberianScored;
                iberianSum += t.bmwpe;
            }
        }
    }
    const auto js = static_cast<std::size_t>(j);
    m.aspt[js] = floored(scored == 0 ? asptFloor : static_cast<double>(scoreSum) / scored);
    if (!m.dind.empty()) {
        m.dind[js] = static_cast<double>(dind);
    }
    if (iberian) {
        m.iaspt[js] =
            floored(iberianScored == 0 ? asptFloor : static_cast<double>(iberianSum) / iberianScored);
    }
}

// Families, EPT families, 1-GOLD, Shannon, log(SelEPTD+1), and the GIG's EPT ratios of sample j.
void familyMetricsOf(int j, const std::vector<CountedPresence>& counted, MetricTable& m) {
    const auto js = static_cast<std::size_t>(j);
    double total = 0.0, goldAbundance = 0.0, selectedAbundance = 0.0, eptAbundance = 0.0;
    double families = 0.0, eptFamilies = 0.0;
    // Absent families would only add 0 to any of these sums.
    for (const CountedPresence& p : counted) {
        const FamilyTraits& t = *p.traits;
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
    for (const CountedPresence& family : counted) {
        const double p = family.abundance / total;
        // A share too small for a double (1e-320 beside 1e300) is 0, whose term p ln p
        // tends to 0: it adds nothing, where 0 * ln 0 would make the diversity NaN.
        if (p > 0.0) {
            h = h + p * naturalLog(p);
        }
    }
    m.shannon[js] = -h;
    m.logseleptd[js] = naturalLog(selectedAbundance + 1.0) / naturalLog(10.0);
}

// Alpine: the selected sensitive families; Mediterranean: the selected ETD families over all
// families (after the family metrics, which count them).
void selectionMetricsOf(int j, const std::vector<CountedPresence>& counted, MetricTable& m) {
    const auto js = static_cast<std::size_t>(j);
    double sensitive = 0.0, etd = 0.0;
    for (const CountedPresence& p : counted) {
        sensitive += p.traits->found && p.traits->sensitive ? 1.0 : 0.0;
        etd += p.traits->selEtd ? 1.0 : 0.0;
    }
    if (!m.selsens.empty()) {
        m.selsens[js] = sensitive;
    }
    if (!m.seletd.empty()) {
        m.seletd[js] = share(etd, m.taxan[js]);
    }
}

} // namespace

void computeMetricPasses(const PassInput& in, MetricTable& m) {
    CountedSamples samples(in);
    OncePerSample composites(in.families.bmwpGroupCount);
    OncePerSample iberianGroups(in.families.iberianGroupCount);
    for (int j = in.first; j < in.last; ++j) {
        const std::vector<CountedPresence>& counted = samples.of(j);
        scoreMetricsOf(in, j, counted, composites, iberianGroups, m);
        familyMetricsOf(j, counted, m);
        selectionMetricsOf(j, counted, m);
    }
}

} // namespace torrentix
