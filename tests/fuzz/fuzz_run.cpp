// libFuzzer target of a whole computation: the input's first bytes choose the options of
// the run, the rest is read as a sample file with every unknown taxon name ignored, and a
// successful read is computed (metrics, normalisation, indices, regressions, results
// text). The results file already exists and the run is told not to replace it, so
// nothing is written. A read or a run may fail with a message (torrentix::Error);
// anything else (a crash, a sanitizer report, another exception) is a fault.

#include "base/error.h"
#include "base/text.h"
#include "fuzzcontext.h"
#include "input/samplereader.h"
#include "report/resultsfile.h"
#include "run/computerun.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace torrentix;

constexpr std::size_t optionBytes = 4;

// Byte 0: GIG and river type; byte 1: decimal commas and, per test variable, observed
// minimum and biological upper value; bytes 2-3: the custom minimum of test variable 1.
RunOptions runOptions(std::string_view bytes, ReadOptions& read) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[i]));
    };
    RunOptions options;
    options.gig = gigOf(static_cast<int>(byte(0) % 5));
    options.riverType = 0;
    options.dateText = "06/12/2026";
    options.timeText = "10:00";
    read.decimalComma = (byte(1) & 1U) != 0;
    for (std::size_t k = 0; k < 3; ++k) {
        options.testVariables[k].observedMin = (byte(1) >> (1 + k) & 1U) != 0;
        options.testVariables[k].biological = (byte(1) >> (4 + k) & 1U) != 0;
    }
    options.testVariables[0].minText =
        std::to_string(static_cast<int>(byte(2)) - 128) + "." + std::to_string(byte(3));
    return options;
}

void compute(std::string_view bytes) {
    ReadOptions readOptions;
    const RunOptions options = runOptions(bytes, readOptions);
    const auto& c = fuzzing::context();
    const std::string path = fuzzing::writeSample(bytes.substr(optionBytes));
    { std::ofstream existing(resultsPathFor(path), std::ios::trunc); }
    const UnknownTaxonHandler ignore = [](const UnknownTaxonQuestion&) {
        return UnknownTaxonAnswer::ignore();
    };
    try {
        ReadResult read = readSampleFile(path, c.taxa(), c.tree(), ignore, readOptions);
        if (read.status != ReadResult::Status::Ok) {
            std::abort(); // nothing here aborts a read
        }
        RunCallbacks callbacks;
        callbacks.existingResultsFile = [](const std::string&) { return std::optional<std::string>(); };
        const RunResult run = computeRun(std::move(read.table), c.taxa(), options, callbacks);
        if (!run.refused && (run.resultsText.empty() || !run.outputPath.empty())) {
            std::abort(); // a computed run has its results text and, told so, writes no file
        }
        if (run.table.utf8 && !isValidUtf8(run.resultsText)) {
            std::abort(); // a UTF-8 results file decodes, characters beyond the basic plane included
        }
    } catch (const Error&) {
        // A file the reader or the run refuses, with its message.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > optionBytes) {
        compute(std::string_view(reinterpret_cast<const char*>(data), size));
    }
    return 0;
}
