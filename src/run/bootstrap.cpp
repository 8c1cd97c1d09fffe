#include "run/bootstrap.h"

#include "base/parallel.h"
#include "base/text.h"
#include "index/normalisation.h"
#include "metrics/metricdefinitions.h"
#include "metrics/quantile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace torrentix {
namespace {

// xoshiro256** (Blackman and Vigna), its state filled by SplitMix64.
class RandomStream {
  public:
    RandomStream(std::uint64_t seed, std::uint64_t replicate) {
        std::uint64_t x = seed ^ (replicate * 0x9E3779B97F4A7C15ULL);
        for (auto& word : state_) {
            word = splitMix(x);
        }
    }
    // A whole number in [0, n), n > 0, without bias: draws beyond the last whole multiple
    // of n are drawn again.
    std::size_t below(std::size_t n) {
        const std::uint64_t range = n;
        const std::uint64_t limit =
            std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % range;
        std::uint64_t x = next();
        while (x >= limit) {
            x = next();
        }
        return static_cast<std::size_t>(x % range);
    }

  private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t splitMix(std::uint64_t& x) {
        std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }
    std::array<std::uint64_t, 4> state_{};
};

// A normalisation as normal1 does it: lower value and 32-bit range; no range when the upper
// value is 0 (every value then normalises to 0).
struct Scale {
    float lower = 0.0f;
    std::optional<float> range;

    double apply(double v) const {
        return range ? (v - static_cast<double>(lower)) / static_cast<double>(*range) : 0.0;
    }
    // False when normal1 would refuse the bounds.
    bool set(float upper, float low) {
        lower = low;
        range.reset();
        if (upper == 0.0f) {
            return true;
        }
        const float d = upper - low;
        if (!std::isfinite(d) || d == 0.0f) {
            return false;
        }
        range = d;
        return true;
    }
};

struct RegressionFit {
    bool ok = false;
    double m = 0.0, b = 0.0, r2 = 0.0;
};

// What one replicate leaves for the intervals.
struct Replicate {
    bool ok = false;
    std::vector<Scale> metrics; // per normalisation step
    Scale star, gig;
    std::array<Scale, 3> testVariables;
    std::vector<RegressionFit> fits; // per regression
};

struct Term {
    std::size_t step; // the normalisation step of its metric
    double weight;
};

// The weighted sum's terms of an index, in the order the sum adds them.
std::vector<Term> termsOf(const std::vector<MetricDefinition>& metrics,
                          const std::vector<NormalisationStep>& steps) {
    std::vector<Term> terms(metrics.size());
    for (const MetricDefinition& d : metrics) {
        const auto step =
            std::find_if(steps.begin(), steps.end(), [&](const auto& s) { return s.column == d.column; });
        terms[static_cast<std::size_t>(d.sumPosition)] = {static_cast<std::size_t>(step - steps.begin()),
                                                          d.weight};
    }
    return terms;
}

class Bootstrap {
  public:
    Bootstrap(const SampleTable& table, const RunOptions& options, const RunResult& run,
              const BootstrapOptions& b)
        : table_(table), run_(run), options_(b), steps_(normalisationSteps(options.gigindex)),
          starTerms_(termsOf(starMetrics(), steps_)),
          gigTerms_(termsOf(gigMetrics(options.gigindex), steps_)) {
        for (std::size_t i = 0; i < table.samples.size(); ++i) {
            if (table.samples[i].sampclass > run.rule.refclass) {
                references_.push_back(i);
            }
        }
        for (const auto& step : steps_) {
            columns_.push_back(&metricColumn(run.raw, step.column));
        }
        for (std::size_t k = 0; k < 3; ++k) {
            biological_[k] = options.testVariables[k].biological;
            for (std::size_t i = 0; i < table.samples.size(); ++i) {
                rawTests_[k].push_back(parseNumeric(table.samples[i].testval[k]));
                runTests_[k].push_back(parseNumeric(run.table.samples[i].testval[k]));
                if (runTests_[k].back()) {
                    pairs_[k].push_back(i); // the samples the regressions against k use
                }
            }
        }
        for (bool star : {true, false}) {
            for (std::size_t k = 0; k < 3; ++k) {
                const auto& point = star ? run.starRegressions[k] : run.gigRegressions[k];
                if (point) {
                    regressions_.push_back({star, static_cast<int>(k), *point, 0, {}, {}, {}, {}});
                }
            }
        }
    }

    BootstrapResult run() {
        BootstrapResult result;
        result.replicates = options_.replicates;
        result.seed = options_.seed;
        result.usemedian = run_.rule.usemedian;
        replicates_.resize(static_cast<std::size_t>(std::max(options_.replicates, 0)));
        parallel(replicates_.size(), true, [this](std::size_t r) { replicates_[r] = replicate(r); });
        if (cancelled()) {
            result.cancelled = true;
            return result;
        }
        for (const Replicate& r : replicates_) {
            result.counted += r.ok ? 1 : 0;
        }
        result.star.resize(table_.samples.size());
        result.gig.resize(table_.samples.size());
        parallel(table_.samples.size(), false, [&](std::size_t i) {
            result.star[i] = sampleInterval(i, true);
            result.gig[i] = sampleInterval(i, false);
        });
        result.regressions = regressions_;
        for (std::size_t g = 0; g < regressions_.size(); ++g) {
            regressionIntervals(g, result.regressions[g]);
        }
        return result;
    }

  private:
    bool cancelled() const { return options_.cancel != nullptr && options_.cancel->load(); }

    // Runs work(0..count-1) on the threads asked for; each index writes only its own slot, so
    // the outcome does not depend on the number of threads. Once cancelled, the remaining
    // indices are skipped. `reportProgress` tells the progress callback as items finish.
    template <typename Work> void parallel(std::size_t count, bool reportProgress, Work work) {
        forEachIndex(
            count, threadCount(options_.threads),
            [&](std::size_t i) {
                if (!cancelled()) {
                    work(i);
                }
            },
            [&](std::size_t done) {
                if (reportProgress && options_.progress) {
                    options_.progress(static_cast<double>(done) / static_cast<double>(count));
                }
            },
            options_.startThread);
    }

    double metricValue(const Replicate& r, std::size_t step, std::size_t i) const {
        return r.metrics[step].apply((*columns_[step])[i]);
    }

    double rawIndex(const Replicate& r, const std::vector<Term>& terms, std::size_t i) const {
        double sum = terms[0].weight * metricValue(r, terms[0].step, i);
        for (std::size_t t = 1; t < terms.size(); ++t) {
            sum += terms[t].weight * metricValue(r, terms[t].step, i);
        }
        return sum;
    }

    double index(const Replicate& r, bool star, std::size_t i) const {
        return (star ? r.star : r.gig).apply(rawIndex(r, star ? starTerms_ : gigTerms_, i));
    }

    // The reference value of a column over the drawn samples ({0} when none holds a value).
    template <typename ValueOf>
    float referenceValue(const std::vector<std::size_t>& drawn, ValueOf valueOf) const {
        std::vector<double> values;
        values.reserve(drawn.size());
        for (std::size_t i : drawn) {
            if (auto v = valueOf(i)) {
                values.push_back(*v);
            }
        }
        if (values.empty()) {
            values.push_back(0.0);
        }
        return quantile(values, run_.rule.usemedian);
    }

    Replicate replicate(std::size_t number) const {
        RandomStream random(options_.seed, number);
        std::vector<std::size_t> drawn(references_.size());
        for (auto& d : drawn) {
            d = references_[random.below(references_.size())];
        }
        Replicate r;
        r.metrics.resize(steps_.size());
        float taxaUpper = 0.0f;
        for (std::size_t s = 0; s < steps_.size(); ++s) {
            const float upper = steps_[s].upperOfTaxa ? taxaUpper : referenceValue(drawn, [&](std::size_t i) {
                return std::optional<double>((*columns_[s])[i]);
            });
            taxaUpper = steps_[s].column == MetricId::Taxan ? upper : taxaUpper;
            if (!r.metrics[s].set(upper, steps_[s].lower)) {
                return r;
            }
        }
        const auto indexScale = [&](bool star) {
            return referenceValue(drawn, [&](std::size_t i) {
                return std::optional<double>(rawIndex(r, star ? starTerms_ : gigTerms_, i));
            });
        };
        if (!r.star.set(indexScale(true), 0.0f) || !r.gig.set(indexScale(false), 0.0f)) {
            return r;
        }
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& bounds = run_.testBounds[k];
            if (bounds && biological_[k] &&
                !r.testVariables[k].set(referenceValue(drawn, [&](std::size_t i) { return rawTests_[k][i]; }),
                                        bounds->lower)) {
                return r;
            }
        }
        r.ok = true;
        for (const RegressionIntervals& g : regressions_) {
            r.fits.push_back(fit(r, g, random));
        }
        return r;
    }

    // The test value of sample i as normalised in replicate r (nullopt where missing).
    std::optional<double> testValue(const Replicate& r, std::size_t k, std::size_t i) const {
        if (!biological_[k]) {
            return runTests_[k][i];
        }
        if (!runTests_[k][i] || !rawTests_[k][i]) {
            return std::nullopt;
        }
        return r.testVariables[k].apply(*rawTests_[k][i]);
    }

    RegressionFit fit(const Replicate& r, const RegressionIntervals& g, RandomStream& random) const {
        const auto k = static_cast<std::size_t>(g.variable);
        const std::vector<std::size_t>& pairs = pairs_[k];
        if (pairs.empty()) {
            return {};
        }
        std::vector<std::optional<double>> x(pairs.size());
        std::vector<double> y(pairs.size());
        for (std::size_t j = 0; j < pairs.size(); ++j) {
            const std::size_t i = pairs[random.below(pairs.size())];
            x[j] = testValue(r, k, i);
            y[j] = index(r, g.star, i);
        }
        const Regression fitted = regrlin(x, y);
        return {fitted.ok, fitted.m, fitted.b, fitted.r2};
    }

    Interval sampleInterval(std::size_t i, bool star) const {
        std::vector<double> values;
        values.reserve(replicates_.size());
        for (const Replicate& r : replicates_) {
            if (r.ok) {
                values.push_back(index(r, star, i));
            }
        }
        return intervalOf(values);
    }

    void regressionIntervals(std::size_t g, RegressionIntervals& out) const {
        std::array<std::vector<double>, 3> values;
        for (const Replicate& r : replicates_) {
            if (r.ok && r.fits[g].ok) {
                values[0].push_back(r.fits[g].m);
                values[1].push_back(r.fits[g].b);
                values[2].push_back(r.fits[g].r2);
            }
        }
        out.counted = static_cast<int>(values[0].size());
        out.m = intervalOf(values[0]);
        out.b = intervalOf(values[1]);
        out.r2 = intervalOf(values[2]);
        out.band.resize(static_cast<std::size_t>(std::max(out.point.bandn, 0)));
        std::vector<double> fitted;
        for (std::size_t k = 0; k < out.band.size(); ++k) {
            const double x = 0.1 * static_cast<double>(k + 1);
            fitted.clear();
            for (const Replicate& r : replicates_) {
                if (r.ok && r.fits[g].ok) {
                    fitted.push_back(r.fits[g].b + r.fits[g].m * x);
                }
            }
            out.band[k] = intervalOfUnsorted(fitted);
        }
    }

    // The same interval without sorting all values: the two order statistics each
    // percentile interpolates between are found in linear time, for the many band points.
    static Interval intervalOfUnsorted(std::vector<double>& values) {
        if (values.empty()) {
            return {};
        }
        const auto percentile = [&values](double p) {
            const double h = (static_cast<double>(values.size()) - 1.0) * p;
            const auto lo = static_cast<std::size_t>(std::floor(h));
            const auto at = values.begin() + static_cast<std::ptrdiff_t>(lo);
            std::nth_element(values.begin(), at, values.end());
            const double next = lo + 1 < values.size() ? *std::min_element(at + 1, values.end()) : *at;
            return *at + (h - static_cast<double>(lo)) * (next - *at);
        };
        return {percentile(0.025), percentile(0.975)};
    }

    static Interval intervalOf(std::vector<double>& values) {
        if (values.empty()) {
            return {};
        }
        std::sort(values.begin(), values.end());
        return {quantileType7(values, 0.025), quantileType7(values, 0.975)};
    }

    const SampleTable& table_;
    const RunResult& run_;
    const BootstrapOptions& options_;
    const std::vector<NormalisationStep>& steps_;
    const std::vector<Term> starTerms_, gigTerms_;
    std::vector<std::size_t> references_;
    std::vector<const std::vector<double>*> columns_;
    std::array<bool, 3> biological_{};
    std::array<std::vector<std::optional<double>>, 3> rawTests_, runTests_;
    std::array<std::vector<std::size_t>, 3> pairs_;
    std::vector<RegressionIntervals> regressions_;
    std::vector<Replicate> replicates_;
};

} // namespace

double quantileType7(const std::vector<double>& sorted, double p) {
    const double h = (static_cast<double>(sorted.size()) - 1.0) * p;
    const auto lo = static_cast<std::size_t>(std::floor(h));
    const std::size_t hi = std::min(lo + 1, sorted.size() - 1);
    return sorted[lo] + (h - static_cast<double>(lo)) * (sorted[hi] - sorted[lo]);
}

BootstrapResult bootstrap(const SampleTable& table, const RunOptions& options, const RunResult& run,
                          const BootstrapOptions& bootstrapOptions) {
    return Bootstrap(table, options, run, bootstrapOptions).run();
}

} // namespace torrentix
