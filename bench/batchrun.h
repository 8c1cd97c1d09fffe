#pragma once
// The work measured: reading a sample file whose names are all known, one computation
// run, and the batch command's processing of one file (read, run, report and results
// file), all with the options of the example in the README: Mediterranean GIG, river
// type R-M1, first test variable biological.

#include "input/sampletable.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"
#include "run/computerun.h"

#include <string>

namespace torrentix::bench {

// Reads the file on `threads` threads (0: one per core); throws std::runtime_error when a
// name is unknown or the read fails.
SampleTable readKnownNames(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                           int threads = 0);

// The options of every run of the benchmark.
RunOptions benchRunOptions();

// One computation run; the results file is written beside the sample file, replacing
// the one of the previous run.
RunResult computeOnce(SampleTable table, const TaxaDatabase& taxa);

// The batch command on one file, with --force and --threads; throws std::runtime_error
// when it fails.
void runBatchCommand(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                     int threads = 0);

} // namespace torrentix::bench
