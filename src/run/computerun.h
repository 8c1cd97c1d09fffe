#pragma once
// One computation run: class counts, normalisation rule, test-variable normalisation,
// metric passes, metric normalisation, indices, regressions and the results file.
// No user interaction: questions and progress go through callbacks.

#include "base/cancel.h"
#include "index/classes.h"
#include "index/normalisation.h"
#include "index/regression.h"
#include "input/sampletable.h"
#include "input/taxadatabase.h"
#include "metrics/metricpasses.h"
#include "metrics/metrictable.h"
#include "report/reporttext.h"
#include "report/resultsfile.h"
#include "report/taxarecord.h"
#include "run/resultsoutput.h"
#include "run/testvariables.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torrentix {

struct RunOptions {
    Gig gig = Alpine;
    RiverType riverType = 0;
    std::array<TestVariableOptions, 3> testVariables;
    std::string dateText; // the current date in the user's short form
    std::string timeText; // the current time in the user's form
    // The folder the results file is written to; empty: the folder of the sample file.
    std::string resultsFolder;
    // Whether the run's table keeps its abundances (for another run on it); without them
    // a run holds less memory once the metrics are computed.
    bool keepAbundances = true;
    int threads = 0; // threads of the metric passes; 0: one per core
    // The record of the names, NAME_taxa.tsv, is written beside the results file with this
    // heading once the results file is written; none without it.
    std::optional<TaxaRecordHeading> taxaRecord;
    // Whether the results file is written; without it the run only makes its text
    // (resultsText), for a front that writes it where and when its user says.
    bool writeResults = true;
};

// The stages of a run, in order, as its progress tells them.
enum class RunStage { Metrics, Indices, Regressions, Writing };

// What the work does in each stage, as the fronts show it beside their progress: the read of
// the sample file, then the run's stages.
inline constexpr const char* readingStageText = "Reading the sample file";
const char* runStageText(RunStage stage);

struct RunCallbacks {
    ProgressHandler progress;                // the fraction of the metric passes done
    std::function<void(RunStage)> stage;     // a stage begins
    ExistingResultsFile existingResultsFile; // asked when the results file already exists
    // Set from another thread to stop the run, which then throws Cancelled: until the
    // results file is being written; a run that has written its file is complete.
    StopRequest stop = nullptr;
};

// The refusal of a run without enough reference samples.
inline const std::string refusalMessage = "Number of Refs(6)+Highs(5) < 6.";

struct RunResult {
    bool refused = false; // too few reference samples: nothing computed or written
    SampleTable table;    // test values normalised, test names shortened
    ClassCounts classcount{};
    ReferenceRule rule;
    MetricTable raw;        // metrics before normalisation
    MetricTable normalised; // metrics after normalisation
    IndexResult indices;
    // Per test variable: its normalisation values, and the regressions of both indices
    // against it, as the results file holds them (nullopt when not calculated).
    std::array<std::optional<TestVariableNormalisation>, 3> testBounds;
    std::array<std::optional<Regression>, 3> starRegressions;
    std::array<std::optional<Regression>, 3> gigRegressions;
    // Per test variable: its cells as read ("N/A" when not numeric) and, when it was
    // normalised, its normalised values at full precision (nullopt where not numeric).
    std::array<std::vector<std::string>, 3> testText;
    std::array<std::vector<std::optional<double>>, 3> testNormalised;
    bool regressionFailed = false;     // some regression of the run could not be computed
    std::string resultsText;           // the whole results file
    std::string outputPath;            // where it was written; empty when no file
    std::string fileError;             // why it could not be written
    std::string recordPath;            // where the record of the names was written; empty when none
    std::string recordError;           // why it could not be written
    std::vector<std::string> messages; // messages for the user, in order
};

// What the on-screen report says of a file as read (before the run shortens its test
// names) and the options of its run.
ReportInput reportInputFor(const SampleTable& asRead, const RunOptions& options);

// Runs the computation on a freshly read sample table. Throws Error when a normalisation
// is impossible (equal lower and upper values, or values beyond the 32-bit range);
// nothing is written then.
RunResult computeRun(SampleTable table, const TaxaDatabase& taxa, const RunOptions& options,
                     const RunCallbacks& callbacks);

} // namespace torrentix
