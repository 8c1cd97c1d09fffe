#pragma once
// Helpers shared by every test: a temporary folder, file writing and reading, and
// matchers for the messages the program shows.

#include "base/files.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace torrentix::testing {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

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

// The message of the Error (or other exception) that `action` throws; "no error" when
// it throws none.
template <typename Action> std::string errorOf(Action&& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

// Compares a file written in `folder` with its golden copy, the folder's path written as
// FOLDER in both; TORRENTIX_UPDATE_GOLDEN=1 writes the golden copy anew instead.
inline void expectGoldenCopy(std::string text, const std::string& folder, const std::string& goldenPath) {
    for (auto at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
        text.replace(at, folder.size(), "FOLDER");
    }
    if (std::getenv("TORRENTIX_UPDATE_GOLDEN") != nullptr) {
        writeFile(goldenPath, text);
    }
    EXPECT_TRUE(text == readFile(goldenPath)) << goldenPath << " differs from the file written";
}

// A message that holds every one of the given parts.
template <typename... Parts> auto Mentions(const Parts&... parts) {
    return AllOf(HasSubstr(parts)...);
}

} // namespace torrentix::testing
