// torrentix-cli: the batch command over the same engine as the desktop program.

#include "base/platform.h"
#include "cli/batch.h"

#include <ctime>
#include <iostream>

int main(int argc, char** argv) {
    const torrentix::platform::Utf8Console console;
    // Only the date and time follow the user's locale; the program's own locale stays "C".
    const auto now = torrentix::platform::localDateAndTime(std::time(nullptr));
    const torrentix::cli::BatchEnvironment environment{torrentix::platform::executableFolder(), now.date,
                                                       now.time};
    return torrentix::cli::runBatch(torrentix::platform::commandLineArguments(argc, argv), environment,
                                    std::cout, std::cerr);
}
