// torrentix-bench: how fast the reader, the computation run and the batch command are
// against the parsing floor, how the time grows with the number of samples, and the peak
// memory of one batch run. The last line printed is the end-to-end time as a ratio of the
// floor.
//
//   torrentix-bench [--sizes=2000,20000,60000] [--families=300] [--reference=20000]
//                   [Google Benchmark options, e.g. --benchmark_filter=floor]

#include "batchrun.h"
#include "benchinputs.h"
#include "parsingfloor.h"
#include "peakmemory.h"
#include "programrun.h"
#include "run/bootstrap.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace torrentix::bench {
namespace {

const std::vector<std::string> stageNames = {"floor", "reader", "run", "end-to-end"};

std::string benchmarkName(const std::string& stage, int samples) {
    return stage + "/" + std::to_string(samples);
}

void registerStage(const std::string& stage, int samples, std::function<void(benchmark::State&)> body) {
    benchmark::RegisterBenchmark(benchmarkName(stage, samples).c_str(), std::move(body))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(3) // the median of three: other work on the machine only ever adds time
        ->ReportAggregatesOnly(true);
}

void registerBenchmarks(const BenchInputs& in, int samples) {
    const std::string& path = in.fileFor(samples);
    registerStage("floor", samples, [path](benchmark::State& state) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(parseFloor(path));
        }
    });
    registerStage("reader", samples, [&in, path](benchmark::State& state) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(readKnownNames(path, in.taxa(), in.tree()));
        }
    });
    registerStage("run", samples, [&in, path](benchmark::State& state) {
        const SampleTable table = readKnownNames(path, in.taxa(), in.tree());
        for (auto _ : state) {
            state.PauseTiming();
            SampleTable copy = table; // calcola consumes its table
            state.ResumeTiming();
            benchmark::DoNotOptimize(computeOnce(std::move(copy), in.taxa()));
        }
    });
    registerStage("end-to-end", samples, [&in, path](benchmark::State& state) {
        for (auto _ : state) {
            runBatchCommand(path, in.taxa(), in.tree());
        }
    });
    if (samples <= 20000) {
        // 1,000 bootstrap replicates on every core, after a run (target: under 5 s on
        // 20,000 samples and 2 cores).
        registerStage("bootstrap", samples, [&in, path](benchmark::State& state) {
            const SampleTable table = readKnownNames(path, in.taxa(), in.tree());
            const RunResult run = computeOnce(table, in.taxa());
            for (auto _ : state) {
                benchmark::DoNotOptimize(bootstrap(table, benchRunOptions(), run, {1000, 1, 0, nullptr, {}}));
            }
        });
    }
}

struct Timing {
    double realMs = 0.0;
    double cpuMs = 0.0;
};

// Keeps the median time per iteration of every benchmark while the console shows them.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                timings_[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::optional<Timing> timing(const std::string& stage, int samples) const {
        auto it = timings_.find(benchmarkName(stage, samples));
        return it == timings_.end() ? std::nullopt : std::optional<Timing>(it->second);
    }

  private:
    std::map<std::string, Timing> timings_;
};

std::string cellOf(std::optional<double> value) {
    char text[32];
    std::snprintf(text, sizeof text, "%12.1f", value.value_or(0.0));
    return value ? text : "           -";
}

std::optional<double> ratioOf(std::optional<Timing> a, std::optional<Timing> b, double Timing::*part) {
    return a && b ? std::optional<double>((*a).*part / (*b).*part) : std::nullopt;
}

void printGrowth(const RecordingReporter& times, const BenchSettings& settings) {
    std::cout << "\nMedian real time per run in ms (" << settings.families
              << " taxon columns); e2e/floor in real and CPU time:\n"
              << "     samples       floor      reader         run  end-to-end   e2e/floor  (CPU time)  e2e "
                 "us/sample\n";
    for (int samples : settings.sampleCounts) {
        std::cout << std::setw(12) << samples;
        for (const auto& stage : stageNames) {
            const auto t = times.timing(stage, samples);
            std::cout << cellOf(t ? std::optional<double>(t->realMs) : std::nullopt);
        }
        const auto e2e = times.timing("end-to-end", samples);
        const auto floor = times.timing("floor", samples);
        std::cout << cellOf(ratioOf(e2e, floor, &Timing::realMs))
                  << cellOf(ratioOf(e2e, floor, &Timing::cpuMs))
                  << cellOf(e2e ? std::optional<double>(e2e->realMs * 1000.0 / samples) : std::nullopt)
                  << "\n";
    }
}

struct MemoryFigures {
    PeakMemory peak;
    double matrixMb = 0.0;
    double fileMb = 0.0;
    int nsamp = 0;
    int nfam = 0;
};

double megabytes(long kb) {
    return static_cast<double>(kb) * 1024.0 / 1e6;
}

MemoryFigures measureMemory(const BenchInputs& in, const BenchSettings& settings,
                            const std::string& scratch) {
    const std::string& path = in.fileFor(settings.referenceSamples);
    MemoryFigures m;
    m.peak = measurePeakMemory(std::filesystem::read_symlink("/proc/self/exe").string(), path, scratch);
    const SampleTable table = readKnownNames(path, in.taxa(), in.tree());
    m.matrixMb = static_cast<double>(table.abund.size() * sizeof(double)) / 1e6;
    m.fileMb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    m.nsamp = table.nsamp();
    m.nfam = table.nfam();
    return m;
}

void printMemory(const MemoryFigures& m) {
    const double peakMb = megabytes(m.peak.peakKb);
    std::cout << std::fixed << std::setprecision(1) << "\nPeak memory of one batch run on " << m.nsamp
              << " samples (fresh process):\n"
              << "  abundance matrix " << m.matrixMb << " MB (" << m.nsamp << " samples x " << m.nfam
              << " families x 8 bytes) + file " << m.fileMb << " MB = " << m.matrixMb + m.fileMb << " MB\n"
              << "  peak resident (ru_maxrss) " << peakMb << " MB; own high-water mark "
              << megabytes(m.peak.ownPeakKb) << " MB, of which " << megabytes(m.peak.baselineKb)
              << " MB before the file was read\n"
              << std::setprecision(2) << "  peak / (matrix + file) = " << peakMb / (m.matrixMb + m.fileMb)
              << " (target <= 2)\n";
}

void printRatio(const RecordingReporter& times, const BenchSettings& settings) {
    const auto ratio = ratioOf(times.timing("end-to-end", settings.referenceSamples),
                               times.timing("floor", settings.referenceSamples), &Timing::realMs);
    std::cout << "End to end / floor at " << settings.referenceSamples << " samples x " << settings.families
              << " taxon columns: ";
    if (ratio) {
        std::cout << std::fixed << std::setprecision(2) << *ratio << " (target <= 2.5)\n";
    } else {
        std::cout << "not measured\n";
    }
}

std::vector<int> numberList(const std::string& text) {
    std::vector<int> numbers;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        numbers.push_back(std::stoi(item));
    }
    return numbers;
}

// Takes this program's own options out of argv; the rest is for Google Benchmark.
BenchSettings takeSettings(int& argc, char** argv, std::string& peakMemoryOf) {
    BenchSettings settings;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto valueOf = [&](const std::string& option) { return arg.substr(option.size()); };
        if (arg.rfind("--sizes=", 0) == 0) {
            settings.sampleCounts = numberList(valueOf("--sizes="));
        } else if (arg.rfind("--families=", 0) == 0) {
            settings.families = std::stoi(valueOf("--families="));
        } else if (arg.rfind("--reference=", 0) == 0) {
            settings.referenceSamples = std::stoi(valueOf("--reference="));
        } else if (arg.rfind("--peak-memory-of=", 0) == 0) {
            peakMemoryOf = valueOf("--peak-memory-of=");
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (std::find(settings.sampleCounts.begin(), settings.sampleCounts.end(), settings.referenceSamples) ==
        settings.sampleCounts.end()) {
        settings.sampleCounts.push_back(settings.referenceSamples);
    }
    return settings;
}

int runAll(int argc, char** argv, const BenchSettings& settings) {
    const TemporaryFolder folder;
    const BenchInputs inputs(settings, folder.path());
    // Before the benchmarks make this process large: see peakmemory.h.
    const MemoryFigures memory = measureMemory(inputs, settings, folder.path());
    for (int samples : settings.sampleCounts) {
        registerBenchmarks(inputs, samples);
    }
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printGrowth(reporter, settings);
    printMemory(memory);
    printRatio(reporter, settings);
    return 0;
}

} // namespace
} // namespace torrentix::bench

int main(int argc, char** argv) {
    using namespace torrentix::bench;
    try {
        std::string peakMemoryOf;
        const BenchSettings settings = takeSettings(argc, argv, peakMemoryOf);
        if (!peakMemoryOf.empty()) {
            return reportPeakMemory(peakMemoryOf);
        }
        return runAll(argc, argv, settings);
    } catch (const std::exception& e) {
        std::cerr << "torrentix-bench: " << e.what() << "\n";
        return 1;
    }
}
