// torrentix-cli: the batch command over the same engine as the desktop program.

#include "cli/batch.h"

#include <clocale>
#include <ctime>
#include <filesystem>
#include <iostream>

namespace {

std::string executableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string now(const char* format) {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[128];
    auto n = std::strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, n);
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const torrentix::cli::BatchEnvironment environment{executableFolder(), now("%x"), now("%X")};
    return torrentix::cli::runBatch({argv + 1, argv + argc}, environment, std::cout, std::cerr);
}
