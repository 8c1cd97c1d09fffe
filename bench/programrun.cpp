#include "programrun.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace torrentix::bench {
namespace {

// The file actions of posix_spawn, released when they go out of scope.
class SpawnActions {
  public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    void sendOutputTo(const std::string& path) {
        posix_spawn_file_actions_addopen(&actions_, 1, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_{};
};

} // namespace

int runProgram(const std::vector<std::string>& command, const std::string& outputPath) {
    std::vector<char*> argv;
    for (const auto& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    SpawnActions actions;
    if (!outputPath.empty()) {
        actions.sendOutputTo(outputPath);
    }
    pid_t child = 0;
    if (int error = posix_spawn(&child, argv[0], actions.get(), nullptr, argv.data(), environ); error != 0) {
        throw std::runtime_error("cannot start " + command[0] + ": " + std::strerror(error));
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waiting for " + command[0] + " failed: " + std::strerror(errno));
        }
    }
    if (!WIFEXITED(status)) {
        throw std::runtime_error(command[0] + " did not exit normally");
    }
    return WEXITSTATUS(status);
}

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "torrentix-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder: " + std::string(std::strerror(errno)));
    }
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace torrentix::bench
