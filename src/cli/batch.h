#pragma once
// Processing of one sample file by the batch command.

#include "cli/cliargs.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"

#include <ostream>
#include <string>

namespace torrentix::cli {

struct BatchContext {
    const CliArgs& args;
    const TaxaDatabase& taxa;
    const TaxaTree& tree;
    std::string dateText;
    std::string timeText;
    std::ostream& out;
    std::ostream& err;
};

// Reads, computes and writes the results of one file; false when the file failed.
bool processFile(const BatchContext& context, const std::string& path);

} // namespace torrentix::cli
