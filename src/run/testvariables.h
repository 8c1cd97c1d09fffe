#pragma once
// The test variables of a run: their normalisation, the shortening of their names for the
// results file, and the regressions of both indices against them.

#include "index/normalisation.h"
#include "index/regression.h"
#include "input/sampletable.h"
#include "report/resultsfile.h"

#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// The options row of one test variable, as the user set it.
struct TestVariableOptions {
    std::string minText = "0"; // "Min Value"
    bool observedMin = false;  // "Observed Min"
    bool biological = false;   // "Biological"
};

// The entries of test variable k as numbers (nullopt where not numeric).
std::vector<std::optional<double>> numericColumn(const SampleTable& table, std::size_t k);

// Normalises test variable k in place (its texts become the normalised values, "N/A" where
// not numeric), keeps its normalised values in `kept` and returns its line of the
// normalisation notes.
TestVariableNormalisation normaliseTestVariable(SampleTable& table, std::size_t k,
                                                const TestVariableOptions& opt, ReferenceRule rule,
                                                std::vector<std::optional<double>>& kept);

// The default shortening of test-variable names: more than 8 characters are cut to 8,
// an empty name becomes "VAR" + its number.
void shortenTestNames(SampleTable& table);

// Regressions of both indices against every usable test variable; `failed` is set when
// one of them cannot be computed.
void regressAll(const SampleTable& table, const IndexResult& indices, IndexSection& closing, bool& failed);

} // namespace torrentix
