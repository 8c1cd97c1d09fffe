#pragma once
// What every benchmark works on: the taxa database and one generated sample file per
// number of samples, all with the same families.

#include "input/taxadatabase.h"
#include "input/taxatree.h"

#include <map>
#include <string>
#include <vector>

namespace torrentix::bench {

struct BenchSettings {
    std::vector<int> sampleCounts{2000, 20000, 200000};
    int families = 300;           // taxon columns of every file
    int referenceSamples = 20000; // the file of the end-to-end / floor ratio
    int memorySamples = 200000;   // the file of the peak memory
};

// The number of samples of a desktop benchmark: --samples=N among the arguments, else 200,000.
int samplesOption(int argc, char** argv);

class BenchInputs {
  public:
    // Writes the sample files into `folder` with gensamples (Mediterranean families,
    // fixed seed) and opens the taxa database.
    BenchInputs(const BenchSettings& settings, const std::string& folder);

    const std::string& fileFor(int samples) const { return files_.at(samples); }
    const TaxaDatabase& taxa() const { return taxa_; }
    const TaxaTree& tree() const { return tree_; }

  private:
    std::map<int, std::string> files_;
    TaxaDatabase taxa_;
    TaxaTree tree_;
};

} // namespace torrentix::bench
