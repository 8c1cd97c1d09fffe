// Bootstrap intervals on runs built by hand (Central / Baltic GIG: the six STAR_ICMi
// metrics), where the population behind the reference samples is known.

#include "base/numberforms.h"
#include "base/text.h"
#include "index/normalisation.h"
#include "input/samplereader.h"
#include "run/bootstrap.h"
#include "run/bootstraptable.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <cmath>
#include <random>
#include <system_error>
#include <thread>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

// Upper reference values the metrics' reference samples sit at; ASPT's lower value is 2.
constexpr double asptUpper = 6.0;
constexpr double otherUpper = 10.0;

struct HandRun {
    SampleTable table;
    RunOptions options;
    RunResult run;

    // A sample whose every metric sits at the fraction `t` between its lower and upper
    // value, ASPT given apart; its STAR_ICMi is t when ASPT follows.
    void add(int qualityClass, double aspt, double t, std::optional<double> x) {
        Sample s;
        s.qualityClass = qualityClass;
        s.testValueTexts = {x ? formatGeneral(*x) : "N/A", "N/A", "N/A"};
        table.samples.push_back(s);
        table.numericTestValueCounts[0] += x ? 1 : 0;
        run.raw.aspt.push_back(aspt);
        for (auto* column :
             {&run.raw.eptn, &run.raw.gold, &run.raw.shannon, &run.raw.logseleptd, &run.raw.taxan}) {
            column->push_back(otherUpper * t);
        }
    }
    void finish() {
        options.gig = CentralBaltic;
        run.table = table; // test values taken as already normalised (lower 0, upper 1)
        run.testBounds[0] = TestVariableNormalisation{"x", 0.0f, {}, 1.0f, {}};
        std::vector<std::optional<double>> x;
        std::vector<double> y;
        for (std::size_t i = 0; i < table.samples.size(); ++i) {
            x.push_back(parseNumeric(table.samples[i].testValueTexts[0]));
            y.push_back((run.raw.aspt[i] - 2.0) / (asptUpper - 2.0) * 0.334 +
                        run.raw.eptn[i] / otherUpper * 0.666);
        }
        run.starRegressions[0] = fitLine(x, y);
        run.gigRegressions[0] = run.starRegressions[0];
    }
};

BootstrapResult draw(const HandRun& h, int replicates, std::uint64_t seed = 1, int threads = 0) {
    return bootstrap(h.table, h.options, h.run, {replicates, seed, threads});
}

} // namespace

TEST(Bootstrap, SameSeedAndAnyThreadCountGiveTheSameIntervalsAroundThePointValues) {
    TempDir dir;
    const std::string path = dir.file("med.txt");
    writeFile(path, readFile(std::string(EXAMPLES_DIR) + "/mediterranean.txt"));
    const SampleTable table = readSampleFileSavingCorrections(path, realTaxa(), realTree(), {}).table;
    RunOptions options;
    options.gig = Mediterranean;
    options.testVariables[0].biological = true;
    const RunResult run = computeRun(table, realTaxa(), options, {});
    const auto one = bootstrap(table, options, run, {300, 7, 1});
    const auto two = bootstrap(table, options, run, {300, 7, 2});
    ASSERT_EQ(one.counted, 300);
    for (std::size_t i = 0; i < one.star.size(); ++i) {
        EXPECT_EQ(one.star[i].lo, two.star[i].lo);
        EXPECT_EQ(one.gig[i].hi, two.gig[i].hi);
        EXPECT_LE(*one.star[i].lo, run.indices.staricm[i]);
        EXPECT_GE(*one.star[i].hi, run.indices.staricm[i]);
    }
    ASSERT_FALSE(one.regressions.empty());
    for (std::size_t g = 0; g < one.regressions.size(); ++g) {
        const auto& r = one.regressions[g];
        EXPECT_EQ(r.m.lo, two.regressions[g].m.lo);
        EXPECT_EQ(r.r2.hi, two.regressions[g].r2.hi);
        EXPECT_TRUE(*r.m.lo <= r.point.m && r.point.m <= *r.m.hi) << g;
        EXPECT_TRUE(*r.b.lo <= r.point.b && r.point.b <= *r.b.hi) << g;
        ASSERT_EQ(r.band.size(), static_cast<std::size_t>(r.point.bandPoints)) << g;
        for (std::size_t k = 0; k < r.band.size(); ++k) { // the fitted line lies inside its band
            const double fitted = r.point.b + r.point.m * 0.1 * static_cast<double>(k + 1);
            EXPECT_TRUE(*r.band[k].lo <= fitted && fitted <= *r.band[k].hi) << g << " " << k;
        }
    }
    EXPECT_NE(bootstrap(table, options, run, {300, 8, 1}).star[0].lo, one.star[0].lo);
}

// With identical reference samples only the pairs vary: the slope's percentile interval
// is as wide as the classical t interval, within 15 %.
TEST(Bootstrap, SlopeIntervalMatchesTheClassicalIntervalUnderNormalErrors) {
    HandRun h;
    for (int r = 0; r < 7; ++r) {
        h.add(6, asptUpper, 1.0, std::nullopt);
    }
    std::mt19937_64 random(3);
    std::normal_distribution<double> error(0.0, 0.05);
    for (int i = 0; i < 200; ++i) {
        const double x = i / 200.0;
        const double y = 0.3 + 0.5 * x + error(random);
        h.add(3, 2.0 + (asptUpper - 2.0) * y, y, x);
    }
    h.finish();
    const Regression& point = *h.run.starRegressions[0];
    double sxx = 0.0, ssres = 0.0;
    const double mean = 0.4975; // of x = i / 200 for i from 0 to 199
    for (std::size_t i = 7; i < h.table.samples.size(); ++i) {
        const double x = *parseNumeric(h.table.samples[i].testValueTexts[0]);
        const double y = (h.run.raw.aspt[i] - 2.0) / (asptUpper - 2.0);
        sxx += (x - mean) * (x - mean);
        ssres += std::pow(y - point.b - point.m * x, 2);
    }
    const double tWidth = 2.0 * 1.972 * std::sqrt(ssres / 198.0 / sxx); // t(0.975, 198) = 1.972
    const auto result = draw(h, 1000);
    const auto& slope = result.regressions[0].m;
    RecordProperty("widthRatio", std::to_string((*slope.hi - *slope.lo) / tWidth));
    EXPECT_NEAR((*slope.hi - *slope.lo) / tWidth, 1.0, 0.15);
}

// 200 reference sets of 25 samples drawn from a population whose median ASPT is 6: the
// interval of a test sample's STAR_ICMi covers its value under the population median.
TEST(Bootstrap, IntervalsCoverThePopulationValueAtAboutTheirLevel) {
    std::mt19937_64 random(11);
    std::normal_distribution<double> aspt(asptUpper, 1.0);
    const double population = 0.334 * (4.0 - 2.0) / (asptUpper - 2.0) + 0.666 * 0.5;
    int covered = 0;
    for (int set = 0; set < 200; ++set) {
        HandRun h;
        for (int r = 0; r < 25; ++r) {
            h.add(6, aspt(random), 1.0, std::nullopt);
        }
        h.add(3, 4.0, 0.5, std::nullopt);
        h.finish();
        const Interval star = draw(h, 400, static_cast<std::uint64_t>(set)).star.back();
        covered += (*star.lo <= population && population <= *star.hi) ? 1 : 0;
    }
    RecordProperty("covered", covered);
    EXPECT_GE(covered, 180);
    EXPECT_LE(covered, 198);
}

// Reference ASPT values of 2 and 3: a replicate drawing mostly 2s has equal normalisation
// values (2 and 2) and is not counted; the others are.
TEST(Bootstrap, ReplicatesWhoseNormalisationFailsAreNotCounted) {
    HandRun h;
    for (double a : {2.0, 2.0, 2.0, 3.0, 3.0, 3.0}) {
        h.add(6, a, 1.0, std::nullopt);
    }
    h.add(3, 2.5, 0.5, std::nullopt);
    h.finish();
    const auto result = draw(h, 200);
    EXPECT_GT(result.counted, 100);
    EXPECT_LT(result.counted, 200);
    EXPECT_TRUE(result.star.back().lo.has_value());
}

// A test variable nearly constant: 0 in five samples, 1 in a sixth. A replicate whose
// drawn pairs hold one of the two values only cannot fit a line, and counts for no
// interval of the regression; every other fits the line through both values exactly, so
// each interval end is that line's own value (a failed fit counted would bring its zeros
// in), and about 1 - (5/6)^6 - (1/6)^6 of the replicates count (the seed fixes the draws;
// the bounds are four standard deviations of that share's count).
TEST(Bootstrap, ReplicatesWhoseFitFailsCountForNoRegressionInterval) {
    HandRun h;
    for (int r = 0; r < 7; ++r) {
        h.add(6, asptUpper, 1.0, std::nullopt);
    }
    for (int i = 0; i < 6; ++i) {
        const double y = i < 5 ? 0.25 : 0.75;
        h.add(3, 2.0 + (asptUpper - 2.0) * y, y, i < 5 ? 0.0 : 1.0);
    }
    h.finish();
    const BootstrapResult result = draw(h, 1000);
    ASSERT_EQ(result.counted, 1000);
    ASSERT_EQ(result.regressions.size(), 2u);
    const double share = 1.0 - std::pow(5.0 / 6.0, 6) - std::pow(1.0 / 6.0, 6);
    for (const RegressionIntervals& r : result.regressions) {
        EXPECT_NEAR(r.counted, 1000 * share, 4 * std::sqrt(1000 * share * (1 - share)));
        const double x = 0.1 * static_cast<double>(r.band.size());
        ASSERT_GT(r.band.size(), 0u);
        for (const auto& [interval, value] :
             {std::pair{r.m, 0.5}, {r.b, 0.25}, {r.r2, 1.0}, {r.band.back(), 0.25 + 0.5 * x}}) {
            EXPECT_NEAR(*interval.lo, value, 1e-12);
            EXPECT_NEAR(*interval.hi, value, 1e-12);
        }
    }
}

// The bootstrap shares its replicates out through the same threads: a worker that cannot
// be started is an error for the caller, never an ended program.
TEST(Bootstrap, AWorkerThatCannotStartIsAnErrorForTheCaller) {
    const HandRun h;
    BootstrapOptions options{50, 1, 4};
    options.startThread = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    EXPECT_THROW(bootstrap(h.table, h.options, h.run, options), std::system_error);
}

// The regressions' table goes beside the samples' table, whatever name the user gave it.
TEST(Bootstrap, TheRegressionsTableIsNamedAfterTheSamplesTable) {
    EXPECT_EQ(bootstrapRegressionsPathFor("/d/s.txt", "/out"),
              regressionsPathBeside(bootstrapPathFor("/d/s.txt", "/out")));
    EXPECT_EQ(regressionsPathBeside("/d/s_ci.tsv"), "/d/s_ci_regressions.tsv");
    EXPECT_EQ(regressionsPathBeside("/d.v2/sites.CSV"), "/d.v2/sites_regressions.CSV");
    EXPECT_EQ(regressionsPathBeside("/d.v2/sites"), "/d.v2/sites_regressions");
}
