#pragma once
// The engine as the page uses it, one sample file at a time: inspecting the file (its
// faults, notes, test variables and the names the taxa database does not know, with what
// each source says of them), then running it with the user's answers and options, then
// the bootstrap intervals of that run. Files are read from and written to the engine's
// own file system (in memory, in the page's Web Worker); every answer is JSON text.

#include "input/taxadatabase.h"
#include "input/taxatree.h"
#include "run/computerun.h"

#include <functional>
#include <optional>
#include <string>

namespace torrentix::web {

// The fraction of the work done, and the stage it is in.
using Progress = std::function<void(double, const std::string&)>;

class Session {
  public:
    explicit Session(const std::string& taxaDatabasePath);

    // Every family of the taxa database with its group, for the family search.
    std::string familiesJson() const;
    // Reads the file at `path` as the run will (the taxa map `mapText` answering first) and
    // tells what the user must know or decide before the run; the last run is let go.
    std::string inspectJson(const std::string& path, const std::string& mapText, bool decimalComma,
                            bool readPastBlankLines, const Progress& progress);
    // Reads and computes the file with the request's answers and options, writing the
    // results file, the corrected file and, when asked, the table beside it.
    std::string runJson(const std::string& path, const std::string& requestJson, const Progress& progress);
    // The bootstrap intervals of the last run, its two tables written beside its sample file.
    std::string intervalsJson(int replicates, double seed, const Progress& progress);

  private:
    TaxaDatabase taxa_;
    TaxaTree tree_;
    std::optional<SampleTable> asRead_; // the last run's table as read, for its intervals
    std::optional<RunResult> run_;
    RunOptions options_;
    std::string path_;
};

} // namespace torrentix::web
