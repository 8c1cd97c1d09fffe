#pragma once
// Helpers shared by the engine tests: a temporary folder, file writing, and a small taxa
// database held in memory.

#include "base/files.h"
#include "input/taxadatabase.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace torrentix::testing {

// A fresh folder, removed with its content at the end of the test.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "torrentix-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

inline std::string readFile(const std::string& path) {
    return readWholeFile(path);
}

// Joins lines with CR LF, ending the last one too.
inline std::string crlfLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l + "\r\n";
    }
    return out;
}

// The real taxa database built from data/taxa.
inline const TaxaDatabase& realTaxa() {
    static const TaxaDatabase taxa = TaxaDatabase::open(TAXA_DB_PATH);
    return taxa;
}

} // namespace torrentix::testing

#include "input/sampletable.h"

namespace torrentix::testing {

// A sample table built directly: one family name per column, one row of abundances and
// one class per sample; test values empty ("N/A").
inline SampleTable makeTable(std::vector<std::string> families, const std::vector<std::vector<double>>& rows,
                             const std::vector<int>& classes = {}) {
    SampleTable t;
    t.inputpath = "/data/test.txt";
    t.famnames = std::move(families);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Sample s;
        s.code = std::to_string(i + 1);
        s.name = "sample";
        s.name.resize(sampleNameWidth, ' ');
        s.sampclass = i < classes.size() ? classes[i] : 6;
        s.testval = {"N/A", "N/A", "N/A"};
        t.samples.push_back(s);
        t.abund.insert(t.abund.end(), rows[i].begin(), rows[i].end());
    }
    return t;
}

} // namespace torrentix::testing
