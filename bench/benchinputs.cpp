#include "benchinputs.h"

#include "programrun.h"

#include <iostream>
#include <stdexcept>

namespace torrentix::bench {
namespace {

std::string generateSampleFile(const std::string& folder, int samples, int families) {
    const std::string path = folder + "/samples-" + std::to_string(samples) + ".txt";
    std::cerr << "Writing " << samples << " samples x " << families << " families to " << path << "\n";
    const int status =
        runProgram({GENSAMPLES_PATH, "--region", "mediterranean", "--samples", std::to_string(samples),
                    "--families", std::to_string(families), "--seed", "7", "--output", path});
    if (status != 0) {
        throw std::runtime_error("gensamples failed with exit status " + std::to_string(status));
    }
    return path;
}

} // namespace

int samplesOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--samples=", 0) == 0) {
            return std::stoi(arg.substr(10));
        }
    }
    return 200000;
}

BenchInputs::BenchInputs(const BenchSettings& settings, const std::string& folder)
    : taxa_(TaxaDatabase::open(TAXA_DB_PATH)), tree_(buildTaxaTree(taxa_.records())) {
    for (int samples : settings.sampleCounts) {
        files_[samples] = generateSampleFile(folder, samples, settings.families);
    }
}

} // namespace torrentix::bench
