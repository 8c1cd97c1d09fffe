#pragma once
// The engine as the page uses it, one sample file at a time: reading and inspecting the
// file (its faults, notes, test variables and the names the taxa database does not know,
// with what each source says of them), then running it, as often as asked, with the user's
// answers and options on the rows read then (the file is not read again), then the
// bootstrap intervals of the last run. Files are read from and written to the engine's own
// file system (in memory, in the page's Web Worker); every answer is JSON text, the bulk of
// the views flat arrays.

#include "input/samplereader.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"
#include "run/computerun.h"
#include "web/viewarrays.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace torrentix::web {

// The fraction of the work done, and the stage it is in.
using Progress = std::function<void(double, const std::string&)>;

class Session {
  public:
    explicit Session(const std::string& taxaDatabasePath);

    // Every family of the taxa database with its group, for the family search.
    std::string familiesJson() const;
    // Reads the file at `path`, keeps its rows for the runs and tells what the user must know
    // or decide before a run (the taxa map `mapText` answering first); the last file and its
    // run are let go first.
    std::string inspectJson(const std::string& path, const std::string& mapText, bool decimalComma,
                            bool readPastBlankLines, const Progress& progress);
    // Computes the file read last with the request's answers and options, writing the results
    // file, the corrected file and, when asked, the table beside the sample file's name.
    std::string runJson(const std::string& requestJson, const Progress& progress);
    // The bootstrap intervals of the last run, its two tables written beside its sample file.
    std::string intervalsJson(int replicates, double seed, const Progress& progress);
    // The flat arrays of the last run's or intervals' views, handed over once.
    ViewArrays takeViewArrays() { return std::exchange(arrays_, {}); }
    // How many times a sample file was read, for the page's tests.
    int filesRead() const { return filesRead_; }

  private:
    TaxaDatabase taxa_;
    TaxaTree tree_;
    std::optional<ReadBeforeNames> read_; // the rows of the file read last
    std::optional<SampleTable> asRead_;   // the last run's table as read, for its intervals
    std::optional<RunResult> run_;
    RunOptions options_;
    ViewArrays arrays_;
    int filesRead_ = 0;
};

} // namespace torrentix::web
