#pragma once
// What every input of a fuzz target shares, made once: the taxa database, its tree and a
// scratch folder for the sample file, removed at exit.

#include "input/taxadatabase.h"
#include "input/taxatree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace torrentix::fuzzing {

class FuzzContext {
  public:
    FuzzContext() : taxa_(TaxaDatabase::open(TAXA_DB_PATH)), tree_(buildTaxaTree(taxa_.records())) {
        std::string pattern = (std::filesystem::temp_directory_path() / "torrentix-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        folder_ = pattern;
    }
    ~FuzzContext() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    FuzzContext(const FuzzContext&) = delete;
    FuzzContext& operator=(const FuzzContext&) = delete;

    const TaxaDatabase& taxa() const { return taxa_; }
    const TaxaTree& tree() const { return tree_; }
    std::string samplePath() const { return folder_ + "/sample.txt"; }

  private:
    TaxaDatabase taxa_;
    TaxaTree tree_;
    std::string folder_;
};

inline const FuzzContext& context() {
    static const FuzzContext shared;
    return shared;
}

// Writes the input as the sample file and returns its path.
inline std::string writeSample(std::string_view bytes) {
    const std::string path = context().samplePath();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace torrentix::fuzzing
