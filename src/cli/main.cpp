// torrentix-cli: the batch command over the same engine as the desktop program.

#include "base/platform.h"
#include "cli/batch.h"

#include <clocale>
#include <ctime>
#include <iostream>

namespace {

std::string now(const char* format) {
    const std::tm local = torrentix::platform::localTime(std::time(nullptr));
    char buffer[128];
    auto n = std::strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, n);
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const torrentix::platform::Utf8Console console;
    const torrentix::cli::BatchEnvironment environment{torrentix::platform::executableFolder(), now("%x"),
                                                       now("%X")};
    return torrentix::cli::runBatch(torrentix::platform::commandLineArguments(argc, argv), environment,
                                    std::cout, std::cerr);
}
