// torrentix-cli: the batch command over the same engine as the desktop program.

#include "base/error.h"
#include "cli/batch.h"
#include "cli/cliargs.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"
#include "report/resultsfile.h"

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
    using namespace torrentix;
    std::setlocale(LC_ALL, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    cli::CliArgs parsed;
    try {
        parsed = cli::parseArgs(args);
    } catch (const Error& e) {
        std::cerr << "torrentix-cli: " << e.what() << "\nTry torrentix-cli --help.\n";
        return 2;
    }
    if (parsed.help) {
        std::cout << cli::helpText();
        return 0;
    }
    if (parsed.version) {
        std::cout << "torrentix-cli " << programVersion << "\n";
        return 0;
    }
    try {
        const std::string dbPath =
            parsed.taxaDb.empty() ? defaultTaxaDatabasePath(executableFolder()) : parsed.taxaDb;
        const TaxaDatabase taxa = TaxaDatabase::open(dbPath);
        const TaxaTree tree = albero(taxa.records());
        const cli::BatchContext context{parsed, taxa, tree, now("%x"), now("%X"), std::cout, std::cerr};
        bool allDone = true;
        for (const auto& file : parsed.files) {
            allDone = cli::processFile(context, file) && allDone;
        }
        return allDone ? 0 : 1;
    } catch (const Error& e) {
        std::cerr << "torrentix-cli: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "torrentix-cli: unexpected failure: " << e.what() << "\n";
        return 1;
    }
}
