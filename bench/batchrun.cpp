#include "batchrun.h"

#include "cli/batch.h"
#include "input/samplereader.h"
#include "metrics/catalogue.h"

#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace torrentix::bench {
namespace {

std::array<TestVariableOptions, 3> testVariableOptions() {
    std::array<TestVariableOptions, 3> options;
    options[0].biological = true;
    return options;
}

} // namespace

SampleTable readKnownNames(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                           int threads) {
    auto unknownName = [](const UnknownTaxonQuestion& q) -> UnknownTaxonAnswer {
        throw std::runtime_error("the benchmark file names an unknown taxon: " + q.name);
    };
    ReadResult read = readSampleFile(path, taxa, tree, unknownName, ReadOptions{.threads = threads});
    if (read.status != ReadResult::Status::Ok) {
        throw std::runtime_error("reading " + path + " was aborted");
    }
    return std::move(read.table);
}

RunOptions benchRunOptions() {
    RunOptions options;
    options.gig = Mediterranean;
    options.riverType = 0;
    options.testVariables = testVariableOptions();
    options.dateText = "01/01/26";
    options.timeText = "12:00:00";
    return options;
}

RunResult computeOnce(SampleTable table, const TaxaDatabase& taxa) {
    const RunOptions options = benchRunOptions();
    RunCallbacks callbacks;
    callbacks.existingResultsFile = [](const std::string& path) -> std::optional<std::string> {
        return path;
    };
    RunResult result = computeRun(std::move(table), taxa, options, callbacks);
    if (result.refused || result.outputPath.empty()) {
        throw std::runtime_error("the computation run wrote no results file");
    }
    return result;
}

void runBatchCommand(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree, int threads) {
    cli::CliArgs args;
    args.gig = Mediterranean;
    args.riverType = 0;
    args.testVariables = testVariableOptions();
    args.force = true;
    args.threads = threads;
    args.files = {path};
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<TaxaMap> noMap;
    std::vector<std::string> written;
    const cli::BatchContext context{args, taxa, tree, "01/01/26", "12:00:00", out, err, noMap, written};
    if (!cli::processFile(context, path)) {
        throw std::runtime_error("the batch command failed on " + path + ": " + err.str());
    }
}

} // namespace torrentix::bench
