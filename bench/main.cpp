// torrentix-bench: how fast the reader, the computation run and the batch command are
// against the parsing floor, on one thread and on every core, how the time grows with the
// number of samples, and the peak memory of one batch run. The last line printed is the
// end-to-end time as a ratio of the floor.
//
//   torrentix-bench [--sizes=2000,20000,200000] [--families=300] [--reference=20000]
//                   [--memory=200000] [Google Benchmark options, e.g. --benchmark_filter=floor]

#include "batchrun.h"
#include "benchinputs.h"
#include "pagefaults.h"
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

// "-1t": on one thread; the others on every core.
const std::vector<std::string> stageNames = {"floor", "reader-1t",     "reader",
                                             "run",   "end-to-end-1t", "end-to-end"};

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
    for (const int threads : {1, 0}) {
        registerStage(threads == 1 ? "reader-1t" : "reader", samples,
                      [&in, path, threads](benchmark::State& state) {
                          for (auto _ : state) {
                              benchmark::DoNotOptimize(readKnownNames(path, in.taxa(), in.tree(), threads));
                          }
                      });
    }
    registerStage("run", samples, [&in, path](benchmark::State& state) {
        const SampleTable table = readKnownNames(path, in.taxa(), in.tree());
        for (auto _ : state) {
            state.PauseTiming();
            SampleTable copy = table; // computeRun consumes its table
            state.ResumeTiming();
            benchmark::DoNotOptimize(computeOnce(std::move(copy), in.taxa()));
        }
    });
    for (const int threads : {1, 0}) {
        registerStage(threads == 1 ? "end-to-end-1t" : "end-to-end", samples,
                      [&in, path, threads](benchmark::State& state) {
                          const long faultsBefore = minorPageFaults();
                          for (auto _ : state) {
                              runBatchCommand(path, in.taxa(), in.tree(), threads);
                          }
                          state.counters["faults"] =
                              benchmark::Counter(static_cast<double>(minorPageFaults() - faultsBefore),
                                                 benchmark::Counter::kAvgIterations);
                      });
    }
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
    double pageFaults = 0.0; // minor page faults per run, where counted
};

// Keeps the median time per iteration of every benchmark while the console shows them.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                const auto faults = run.counters.find("faults");
                timings_[run.run_name.function_name] = {
                    run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(),
                    faults == run.counters.end() ? 0.0 : static_cast<double>(faults->second)};
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

std::optional<double> realMs(const RecordingReporter& times, const std::string& stage, int samples) {
    const auto t = times.timing(stage, samples);
    return t ? std::optional<double>(t->realMs) : std::nullopt;
}

std::optional<double> perSample(std::optional<double> ms, int samples) {
    return ms ? std::optional<double>(*ms * 1000.0 / samples) : std::nullopt;
}

void printGrowth(const RecordingReporter& times, const BenchSettings& settings) {
    std::cout << "\nMedian real time per run in ms (" << settings.families
              << " taxon columns); 1t: on one thread, otherwise on every core:\n"
              << "     samples       floor   reader 1t      reader         run      e2e 1t         e2e"
                 "  e2e/floor 1t   e2e/floor  us/sample 1t   us/sample\n";
    for (int samples : settings.sampleCounts) {
        std::cout << std::setw(12) << samples;
        for (const auto& stage : stageNames) {
            std::cout << cellOf(realMs(times, stage, samples));
        }
        const auto floor = times.timing("floor", samples);
        std::cout << "  " << cellOf(ratioOf(times.timing("end-to-end-1t", samples), floor, &Timing::realMs))
                  << cellOf(ratioOf(times.timing("end-to-end", samples), floor, &Timing::realMs)) << "  "
                  << cellOf(perSample(realMs(times, "end-to-end-1t", samples), samples))
                  << cellOf(perSample(realMs(times, "end-to-end", samples), samples)) << "\n";
    }
}

// The batch command's time per sample on one thread with and without the time its page
// faults cost: on a virtual machine the faults of a small file's buffers are most of its
// fixed cost.
void printPageFaults(const RecordingReporter& times, const BenchSettings& settings, double faultUs) {
    std::cout << std::fixed << std::setprecision(1)
              << "\nEnd to end on one thread, page faults apart (one costs " << faultUs << " us here):\n"
              << "     samples  faults/run   faults ms   us/sample  us/sample without faults\n";
    for (int samples : settings.sampleCounts) {
        const auto t = times.timing("end-to-end-1t", samples);
        if (!t) {
            continue;
        }
        const double faultsMs = t->pageFaults * faultUs / 1000.0;
        std::cout << std::setw(12) << samples << std::setw(12) << t->pageFaults << cellOf(faultsMs)
                  << cellOf(perSample(t->realMs, samples)) << cellOf(perSample(t->realMs - faultsMs, samples))
                  << "\n";
    }
}

struct MemoryFigures {
    PeakMemory oneThread;
    PeakMemory everyCore;
    double fileMb = 0.0;
    int samples = 0;
};

double megabytes(long kb) {
    return static_cast<double>(kb) * 1024.0 / 1e6;
}

MemoryFigures measureMemory(const BenchInputs& in, const BenchSettings& settings,
                            const std::string& scratch) {
    const std::string& path = in.fileFor(settings.memorySamples);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    MemoryFigures m;
    m.oneThread = measurePeakMemory(self, path, 1, scratch);
    m.everyCore = measurePeakMemory(self, path, 0, scratch);
    m.fileMb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    m.samples = settings.memorySamples;
    return m;
}

void printMemory(const MemoryFigures& m) {
    const double target = 1.5 * m.fileMb + 30.0;
    std::cout << std::fixed << std::setprecision(1) << "\nPeak memory of one batch run on " << m.samples
              << " samples (fresh process), file " << m.fileMb
              << " MB, target 1.5 x file + 30 MB = " << target << " MB:\n";
    for (const auto& [label, peak] :
         {std::pair{"one thread", m.oneThread}, std::pair{"every core", m.everyCore}}) {
        const double peakMb = megabytes(peak.peakKb);
        std::cout << std::setprecision(1) << "  " << label << ": peak resident (ru_maxrss) " << peakMb
                  << " MB, of which " << megabytes(peak.baselineKb) << " MB before the file was read; "
                  << std::setprecision(2) << "peak / file = " << peakMb / m.fileMb << "\n";
    }
}

void printRatio(const RecordingReporter& times, const BenchSettings& settings) {
    const auto floor = times.timing("floor", settings.referenceSamples);
    const auto oneThread =
        ratioOf(times.timing("end-to-end-1t", settings.referenceSamples), floor, &Timing::realMs);
    const auto everyCore =
        ratioOf(times.timing("end-to-end", settings.referenceSamples), floor, &Timing::realMs);
    std::cout << "End to end / floor at " << settings.referenceSamples << " samples x " << settings.families
              << " taxon columns: ";
    if (oneThread && everyCore) {
        std::cout << std::fixed << std::setprecision(2) << *oneThread << " on one thread (target <= 1.2), "
                  << *everyCore << " on every core (target <= 1.0 on two)\n";
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
BenchSettings takeSettings(int& argc, char** argv, std::string& peakMemoryOf, int& peakMemoryThreads) {
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
        } else if (arg.rfind("--memory=", 0) == 0) {
            settings.memorySamples = std::stoi(valueOf("--memory="));
        } else if (arg.rfind("--peak-memory-of=", 0) == 0) {
            peakMemoryOf = valueOf("--peak-memory-of=");
        } else if (arg.rfind("--peak-memory-threads=", 0) == 0) {
            peakMemoryThreads = std::stoi(valueOf("--peak-memory-threads="));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    for (const int needed : {settings.referenceSamples, settings.memorySamples}) {
        if (std::find(settings.sampleCounts.begin(), settings.sampleCounts.end(), needed) ==
            settings.sampleCounts.end()) {
            settings.sampleCounts.push_back(needed);
        }
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
    printPageFaults(reporter, settings, pageFaultMicroseconds());
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
        int peakMemoryThreads = 0;
        const BenchSettings settings = takeSettings(argc, argv, peakMemoryOf, peakMemoryThreads);
        if (!peakMemoryOf.empty()) {
            return reportPeakMemory(peakMemoryOf, peakMemoryThreads);
        }
        return runAll(argc, argv, settings);
    } catch (const std::exception& e) {
        std::cerr << "torrentix-bench: " << e.what() << "\n";
        return 1;
    }
}
