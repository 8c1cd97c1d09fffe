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

inline std::string readFile(const std::string& path) { return readWholeFile(path); }

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
