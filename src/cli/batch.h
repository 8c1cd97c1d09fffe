#pragma once
// The batch command: its whole run over the arguments, and the processing of one sample
// file.

#include "cli/cliargs.h"
#include "input/taxadatabase.h"
#include "input/taxamap.h"
#include "input/taxatree.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace torrentix::cli {

// What the batch command takes from its surroundings besides the arguments.
struct BatchEnvironment {
    std::string executableFolder; // the default taxa database lies beside the program
    std::string dateText;         // the current date in the user's short form
    std::string timeText;         // the current time in the user's form
};

// Parses the arguments (without the program name), answers --help and --version, opens
// the taxa database and processes every file: reports and paths of the files written go
// to `out`, every message to `err`. Returns the exit status: 0 when every file was done,
// 1 when some file failed, 2 for a usage error.
int runBatch(const std::vector<std::string>& args, const BatchEnvironment& environment, std::ostream& out,
             std::ostream& err);

struct BatchContext {
    const CliArgs& args;
    const TaxaDatabase& taxa;
    const TaxaTree& tree;
    std::string dateText;
    std::string timeText;
    std::ostream& out;
    std::ostream& err;
    const std::optional<TaxaMap>& taxaMap; // --taxa-map, read once for every file
    // The results files written so far in this run: with --output-dir two sample files
    // of the same name (or, where letter case does not count, of names differing in case)
    // would otherwise write over each other's results.
    std::vector<std::string>& resultsWritten;
};

// Reads, computes and writes the results of one file; false when the file failed.
bool processFile(const BatchContext& context, const std::string& path);

} // namespace torrentix::cli
