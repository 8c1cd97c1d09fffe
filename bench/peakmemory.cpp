#include "peakmemory.h"

#include "batchrun.h"
#include "programrun.h"

#include <fstream>
#include <iostream>
#include <stdexcept>
#include <sys/resource.h>

namespace torrentix::bench {
namespace {

long maxResidentKb() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The process's own high-water mark of resident memory, in kB (0 when unknown).
long ownHighWaterKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

} // namespace

PeakMemory measurePeakMemory(const std::string& program, const std::string& samplePath, int threads,
                             const std::string& scratchFolder) {
    const std::string figures = scratchFolder + "/peak-memory.txt";
    if (runProgram(
            {program, "--peak-memory-of=" + samplePath, "--peak-memory-threads=" + std::to_string(threads)},
            figures) != 0) {
        throw std::runtime_error("the peak-memory run failed");
    }
    PeakMemory m;
    std::ifstream in(figures);
    if (!(in >> m.baselineKb >> m.peakKb >> m.ownPeakKb)) {
        throw std::runtime_error("the peak-memory run printed no figures");
    }
    return m;
}

int reportPeakMemory(const std::string& samplePath, int threads) {
    try {
        const TaxaDatabase taxa = TaxaDatabase::open(TAXA_DB_PATH);
        const TaxaTree tree = buildTaxaTree(taxa.records());
        const long baseline = ownHighWaterKb();
        runBatchCommand(samplePath, taxa, tree, threads);
        std::cout << baseline << " " << maxResidentKb() << " " << ownHighWaterKb() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "peak-memory run: " << e.what() << "\n";
        return 1;
    }
}

} // namespace torrentix::bench
