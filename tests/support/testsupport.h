#pragma once
// Helpers shared by every test: a temporary folder, file writing and reading, and
// matchers for the messages the program shows.

#include "base/files.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>
#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace torrentix::testing {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

// Whether the tests run on a POSIX system. The cases that need one (the umask, locales
// built by localedef, the shell, "?" in file names) are skipped elsewhere.
#if defined(_WIN32)
constexpr bool posixSystem = false;
inline int exitStatusOf(int systemResult) {
    return systemResult;
}
#else
constexpr bool posixSystem = true;
// The exit status of a program run by std::system; -1 when a signal ended it.
inline int exitStatusOf(int systemResult) {
    return WIFEXITED(systemResult) ? WEXITSTATUS(systemResult) : -1;
}
#endif

// A path of the file system from UTF-8 text, whatever narrow encoding the system's library
// assumes for file names.
inline std::filesystem::path fsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A path with "/" for every separator, as the tests write the paths they expect.
inline std::string forwardSlashes(std::string path) {
    for (char& c : path) {
        c = c == '\\' ? '/' : c;
    }
    return path;
}

// A fresh folder, removed with its content at the end of the test.
class TempDir {
  public:
    TempDir() {
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path folder = base / ("torrentix-test-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(folder, ec)) {
                path_ = folder.string();
            }
        }
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
    writeFileAtomically(path, content);
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
