#include "run/bootstrap.h"

#include "base/parallel.h"
#include "base/text.h"
#include "index/normalisation.h"
#include "index/regression.h"
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
    // of n are drawn again. The remainder by n is computed by multiplication, as exactly
    // as x % n (Lemire, Kaser and Kurz, "Faster remainder by direct computation", 2019),
    // with what it needs worked out once for each n in a row of draws.
    std::size_t below(std::size_t n) {
        if (n != bound_.n) {
            bound_ = Bound(n);
        }
        std::uint64_t x = next();
        while (x >= bound_.limit) {
            x = next();
        }
        return static_cast<std::size_t>(bound_.remainder(x));
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
    // A bound of the draws: its rejection limit and the multiplier of its remainders.
    struct Bound {
        __extension__ typedef unsigned __int128 Wide; // GCC and Clang: 128-bit products
        Bound() = default;
        explicit Bound(std::uint64_t bound)
            : n(bound), limit(std::numeric_limits<std::uint64_t>::max() -
                              std::numeric_limits<std::uint64_t>::max() % bound),
              multiplier(~Wide{0} / bound + 1) {}
        // x % n: the fraction x / n held in the low 128 bits of x * multiplier, times n.
        std::uint64_t remainder(std::uint64_t x) const {
            const Wide fraction = multiplier * x;
            const Wide low = (fraction & std::numeric_limits<std::uint64_t>::max()) * n;
            const Wide high = (fraction >> 64) * n;
            return static_cast<std::uint64_t>((high + (low >> 64)) >> 64);
        }
        std::uint64_t n = 0;
        std::uint64_t limit = 0;
        Wide multiplier = 0;
    };

    std::array<std::uint64_t, 4> state_{};
    Bound bound_;
};

struct RegressionFit {
    bool ok = false;
    double m = 0.0, b = 0.0, r2 = 0.0;
};

// What one replicate leaves for the intervals: the normalisations it drew, and the fit of
// each regression.
struct Replicate {
    bool ok = false;
    std::vector<Normalisation> metrics; // per normalisation step
    Normalisation star, gig;
    std::array<Normalisation, 3> testVariables;
    std::vector<RegressionFit> fits; // per regression
};

// The run as a replicate starts from: its raw metrics and test values, its reference
// samples, and the regressions to redraw.
class RunInputs {
  public:
    RunInputs(const SampleTable& table, const RunOptions& options, const RunResult& run)
        : rule(run.rule), gig(options.gig), steps(normalisationSteps(options.gig)) {
        for (std::size_t i = 0; i < table.samples.size(); ++i) {
            if (rule.isReference(table.samples[i].qualityClass)) {
                references.push_back(i);
            }
        }
        std::array<std::size_t, metricIdCount> stepOf{};
        for (std::size_t s = 0; s < steps.size(); ++s) {
            columns.push_back(&metricColumn(run.raw, steps[s].column));
            stepOf[static_cast<std::size_t>(steps[s].column)] = s;
        }
        starTerms = termsInSumOrder(starMetrics());
        gigTerms = termsInSumOrder(gigMetrics(gig));
        for (const WeightedTerm& term : starTerms) {
            starSteps.push_back(stepOf[static_cast<std::size_t>(term.column)]);
        }
        for (const WeightedTerm& term : gigTerms) {
            gigSteps.push_back(stepOf[static_cast<std::size_t>(term.column)]);
        }
        for (std::size_t k = 0; k < 3; ++k) {
            biological[k] = options.testVariables[k].biological;
            for (std::size_t i = 0; i < table.samples.size(); ++i) {
                rawTests[k].push_back(parseNumeric(table.samples[i].testValueTexts[k]));
                runTests[k].push_back(parseNumeric(run.table.samples[i].testValueTexts[k]));
                if (runTests[k].back()) {
                    pairs[k].push_back(i); // the samples the regressions against k use
                }
            }
            testBounds[k] = run.testBounds[k];
        }
        for (bool star : {true, false}) {
            for (std::size_t k = 0; k < 3; ++k) {
                const auto& point = star ? run.starRegressions[k] : run.gigRegressions[k];
                if (point) {
                    regressions.push_back({star, static_cast<int>(k), *point, 0, {}, {}, {}, {}});
                }
            }
        }
    }

    // The index of sample i before its own normalisation, from the metrics as normalised
    // in replicate r.
    double rawIndex(const Replicate& r, bool star, std::size_t i) const {
        const std::vector<WeightedTerm>& terms = star ? starTerms : gigTerms;
        const std::vector<std::size_t>& termSteps = star ? starSteps : gigSteps;
        return weightedSum(terms, [&](std::size_t t) {
            const std::size_t s = termSteps[t];
            return r.metrics[s].apply((*columns[s])[i]);
        });
    }
    // The indices of the samples first..last-1 as normalised in replicate r, into out[0..],
    // term by term.
    void indices(const Replicate& r, bool star, std::size_t first, std::size_t last, double* out) const {
        const std::vector<WeightedTerm>& terms = star ? starTerms : gigTerms;
        const std::vector<std::size_t>& termSteps = star ? starSteps : gigSteps;
        weightedSums(terms, first, last, out, [&](std::size_t t, std::size_t i) {
            const std::size_t s = termSteps[t];
            return r.metrics[s].apply((*columns[s])[i]);
        });
        const Normalisation& normalisation = star ? r.star : r.gig;
        for (std::size_t i = first; i < last; ++i) {
            out[i - first] = normalisation.apply(out[i - first]);
        }
    }
    std::size_t sampleCount() const { return rawTests[0].size(); }
    // The test value of sample i as normalised in replicate r (nullopt where missing).
    std::optional<double> testValue(const Replicate& r, std::size_t k, std::size_t i) const {
        if (!biological[k]) {
            return runTests[k][i];
        }
        if (!runTests[k][i] || !rawTests[k][i]) {
            return std::nullopt;
        }
        return r.testVariables[k].apply(*rawTests[k][i]);
    }

    const ReferenceRule rule;
    const Gig gig;
    const std::vector<NormalisationStep>& steps;
    std::vector<std::size_t> references;
    std::vector<const std::vector<double>*> columns; // raw metrics, per normalisation step
    std::vector<WeightedTerm> starTerms, gigTerms;   // in the order the sums add them
    std::vector<std::size_t> starSteps, gigSteps;    // the normalisation step of each term
    std::array<bool, 3> biological{};
    std::array<std::vector<std::optional<double>>, 3> rawTests, runTests;
    std::array<std::vector<std::size_t>, 3> pairs;
    std::array<std::optional<TestVariableNormalisation>, 3> testBounds;
    std::vector<RegressionIntervals> regressions;
};

// One replicate: the reference samples drawn anew, every normalisation that depends on
// them, then each regression refitted to pairs drawn anew.
class ReplicateDraw {
  public:
    ReplicateDraw(const RunInputs& in, std::uint64_t seed, std::size_t number)
        : in_(in), random_(seed, number), drawn_(in.references.size()) {
        for (auto& d : drawn_) {
            d = in.references[random_.below(in.references.size())];
        }
    }

    Replicate draw() {
        Replicate r;
        if (normaliseMetrics(r) && normaliseIndices(r) && normaliseTestVariables(r)) {
            r.ok = true;
            computeIndices(r);
            for (const RegressionIntervals& g : in_.regressions) {
                r.fits.push_back(fit(r, g));
            }
        }
        return r;
    }

  private:
    // The reference value of a column over the drawn samples (0 when none holds a value).
    template <typename ValueOf> float referenceValue(ValueOf valueOf) const {
        std::vector<double> values;
        values.reserve(drawn_.size());
        for (std::size_t i : drawn_) {
            if (auto v = valueOf(i)) {
                values.push_back(*v);
            }
        }
        return in_.rule.referenceValue(values);
    }

    // False when a normalisation cannot be made (the replicate then counts for nothing).
    static bool set(Normalisation& into, float upper, float lower) {
        const auto n = Normalisation::between(upper, lower);
        if (n) {
            into = *n;
        }
        return n.has_value();
    }

    bool normaliseMetrics(Replicate& r) const {
        r.metrics.resize(in_.steps.size());
        float taxaUpper = 0.0f;
        for (std::size_t s = 0; s < in_.steps.size(); ++s) {
            const NormalisationStep& step = in_.steps[s];
            const float upper = step.upperOfTaxa ? taxaUpper : referenceValue([&](std::size_t i) {
                return std::optional<double>((*in_.columns[s])[i]);
            });
            taxaUpper = step.column == MetricId::Taxan ? upper : taxaUpper;
            if (!set(r.metrics[s], upper, step.lower)) {
                return false;
            }
        }
        return true;
    }

    bool normaliseIndices(Replicate& r) const {
        const auto upper = [&](bool star) {
            return referenceValue(
                [&](std::size_t i) { return std::optional<double>(in_.rawIndex(r, star, i)); });
        };
        return set(r.star, upper(true), 0.0f) && set(r.gig, upper(false), 0.0f);
    }

    bool normaliseTestVariables(Replicate& r) const {
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& bounds = in_.testBounds[k];
            if (bounds && in_.biological[k] &&
                !set(r.testVariables[k], referenceValue([&](std::size_t i) { return in_.rawTests[k][i]; }),
                     bounds->lower)) {
                return false;
            }
        }
        return true;
    }

    // Each index of every sample as normalised in this replicate, once for all the
    // regressions that draw from it.
    void computeIndices(const Replicate& r) {
        for (const bool star : {true, false}) {
            std::vector<double>& values = star ? starIndex_ : gigIndex_;
            const bool wanted = std::any_of(in_.regressions.begin(), in_.regressions.end(),
                                            [star](const RegressionIntervals& g) { return g.star == star; });
            values.resize(wanted ? in_.sampleCount() : 0);
            in_.indices(r, star, 0, values.size(), values.data());
        }
    }

    // The pairs of a regression are laid out side by side first, test value and index
    // together: each draw then reads one place of memory, not four.
    RegressionFit fit(const Replicate& r, const RegressionIntervals& g) {
        const auto k = static_cast<std::size_t>(g.variable);
        const std::vector<std::size_t>& pairs = in_.pairs[k];
        if (pairs.empty()) {
            return {};
        }
        const std::vector<double>& index = g.star ? starIndex_ : gigIndex_;
        points_.resize(pairs.size());
        for (std::size_t j = 0; j < pairs.size(); ++j) {
            points_[j] = {in_.testValue(r, k, pairs[j]), index[pairs[j]]};
        }
        x_.resize(pairs.size());
        y_.resize(pairs.size());
        for (std::size_t j = 0; j < pairs.size(); ++j) {
            const Point& drawn = points_[random_.below(pairs.size())];
            x_[j] = drawn.x;
            y_[j] = drawn.y;
        }
        const Regression fitted = fitLine(x_, y_);
        return {fitted.ok, fitted.m, fitted.b, fitted.r2};
    }

    struct Point {
        std::optional<double> x;
        double y;
    };

    const RunInputs& in_;
    RandomStream random_;
    std::vector<std::size_t> drawn_;
    std::vector<double> starIndex_, gigIndex_;
    std::vector<Point> points_;
    std::vector<std::optional<double>> x_;
    std::vector<double> y_;
};

// The 95 % interval of values in any order (which it changes).
Interval intervalOfUnsorted(std::vector<double>& values) {
    if (values.empty()) {
        return {};
    }
    return {quantileType7Unsorted(values, 0.025), quantileType7Unsorted(values, 0.975)};
}

class Bootstrap {
  public:
    Bootstrap(const SampleTable& table, const RunOptions& options, const RunResult& run,
              const BootstrapOptions& b)
        : in_(table, options, run), options_(b), samples_(table.samples.size()) {}

    BootstrapResult run() {
        BootstrapResult result;
        result.replicates = options_.replicates;
        result.seed = options_.seed;
        result.useMedian = in_.rule.useMedian;
        replicates_.resize(static_cast<std::size_t>(std::max(options_.replicates, 0)));
        parallel(replicates_.size(), true,
                 [this](std::size_t r) { replicates_[r] = ReplicateDraw(in_, options_.seed, r).draw(); });
        for (const Replicate& r : replicates_) {
            result.counted += r.ok ? 1 : 0;
        }
        sampleIntervals(result);
        result.regressions = in_.regressions;
        for (std::size_t g = 0; g < in_.regressions.size(); ++g) {
            stopIfRequested(options_.stop);
            regressionIntervals(g, result.regressions[g]);
        }
        return result;
    }

  private:
    // Runs work(0..count-1) on the threads asked for; each index writes only its own slot, so
    // the outcome does not depend on the number of threads. Each index looks at the stop
    // request first; once stopped, the threads leave after their item under way and the
    // caller gets Cancelled. `reportProgress` tells the progress callback as items finish.
    template <typename Work> void parallel(std::size_t count, bool reportProgress, Work work) {
        forEachIndex(
            count, threadCount(options_.threads),
            [&](std::size_t i) {
                stopIfRequested(options_.stop);
                work(i);
            },
            [&](std::size_t done) {
                if (reportProgress && options_.progress) {
                    options_.progress(static_cast<double>(done) / static_cast<double>(count));
                }
            },
            options_.startThread);
    }

    // The intervals of both indices of every sample, a block of samples at a time: each
    // counted replicate's normalisations are read once per block, and each interval's two
    // order statistics are found by selection.
    void sampleIntervals(BootstrapResult& result) {
        constexpr std::size_t samplesPerBlock = 64;
        std::vector<const Replicate*> counted;
        for (const Replicate& r : replicates_) {
            if (r.ok) {
                counted.push_back(&r);
            }
        }
        result.star.resize(samples_);
        result.gig.resize(samples_);
        parallel((samples_ + samplesPerBlock - 1) / samplesPerBlock, false, [&](std::size_t block) {
            const std::size_t first = block * samplesPerBlock;
            const std::size_t last = std::min(samples_, first + samplesPerBlock);
            std::vector<std::vector<double>> star(last - first), gig(last - first);
            for (std::size_t i = first; i < last; ++i) {
                star[i - first].reserve(counted.size());
                gig[i - first].reserve(counted.size());
            }
            std::array<double, samplesPerBlock> starOf{}, gigOf{};
            for (const Replicate* r : counted) {
                in_.indices(*r, true, first, last, starOf.data());
                in_.indices(*r, false, first, last, gigOf.data());
                for (std::size_t i = first; i < last; ++i) {
                    star[i - first].push_back(starOf[i - first]);
                    gig[i - first].push_back(gigOf[i - first]);
                }
            }
            for (std::size_t i = first; i < last; ++i) {
                result.star[i] = intervalOfUnsorted(star[i - first]);
                result.gig[i] = intervalOfUnsorted(gig[i - first]);
            }
        });
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
        out.m = intervalOfUnsorted(values[0]);
        out.b = intervalOfUnsorted(values[1]);
        out.r2 = intervalOfUnsorted(values[2]);
        out.band.resize(static_cast<std::size_t>(std::max(out.point.bandPoints, 0)));
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

    const RunInputs in_;
    const BootstrapOptions& options_;
    const std::size_t samples_;
    std::vector<Replicate> replicates_;
};

} // namespace

BootstrapResult bootstrap(const SampleTable& table, const RunOptions& options, const RunResult& run,
                          const BootstrapOptions& bootstrapOptions) {
    return Bootstrap(table, options, run, bootstrapOptions).run();
}

} // namespace torrentix
