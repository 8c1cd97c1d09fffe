#pragma once
// The "_OUT.txt" results file: header and class summary, raw metrics, weights, the
// normalisation table and notes, the index table, the regressions and the footer.
// TAB-separated, CR LF line ends.

#include "index/classes.h"
#include "index/regression.h"
#include "input/sampletable.h"
#include "metrics/catalogue.h"
#include "metrics/metrictable.h"
#include "torrentixversion.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace torrentix {

// The version written in the results file's first line, that of the project's build.
inline constexpr std::string_view programVersion = torrentixVersion;

// A file written for a sample file: its name cut at the last "." + `suffix`, in `folder`
// when one is given, else beside the sample file.
std::string outputPathFor(const std::string& sourcePath, const std::string& suffix,
                          const std::string& folder);

// The results file that belongs to a sample file: its name cut at the last "." + "_OUT.txt".
std::string resultsPathFor(const std::string& sourcePath, const std::string& folder = {});

struct ResultsHeader {
    const SampleTable& table;
    Gig gig = Alpine;
    RiverType riverType = 0;
    std::string dateText;
    std::string timeText;
    ClassCounts classcount{};
    const MetricTable& raw;
    unsigned threads = 1; // the samples' rows are made on this many threads
};

// Header, class summary, raw STAR_ICMi and GIG metrics, weights and the heading of the
// normalisation table.
std::string resultsOpening(const ResultsHeader& h);

// One line of the normalisation table: label, lower and upper value (32-bit forms).
std::string normalisationLine(std::string_view label, float lower, float upper);

struct TestVariableNormalisation {
    std::string name;
    float lower = 0.0f;
    std::string lowerLabel;
    float upper = 0.0f;
    std::string upperLabel;
};

// The normalisation value of the STAR_ICMi, the rule sentence and the test-variable lines.
std::string normalisationNotes(float starReferenceValue, const std::string& ruleSentence,
                               const std::vector<TestVariableNormalisation>& testVariables);

struct IndexSection {
    const SampleTable& table; // test values normalised, names shortened
    Gig gig = Alpine;
    const std::vector<double>& staricm;
    const std::vector<double>& gigicm;
    // Per test variable: the regressions of each index, or nullopt when not calculated.
    std::array<std::optional<Regression>, 3> starRegression;
    std::array<std::optional<Regression>, 3> gigRegression;
    unsigned threads = 1; // the samples' rows are made on this many threads
};

// Index table, regressions of both indices and the footer.
std::string resultsClosing(const IndexSection& s);

} // namespace torrentix
