#pragma once
// Starting another program and waiting for it: the sample-file generator, and the
// benchmark itself in a fresh process for the peak-memory figure.

#include <string>
#include <vector>

namespace torrentix::bench {

// Runs the program with its arguments, standard output sent to `outputPath` (or left
// alone when empty). Returns its exit status; throws std::runtime_error when it could not
// be started or did not exit normally.
int runProgram(const std::vector<std::string>& command, const std::string& outputPath = {});

// A fresh, empty folder under the system's temporary folder, removed with its content
// when the object goes.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace torrentix::bench
