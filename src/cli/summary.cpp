#include "cli/summary.h"

#include "base/numberforms.h"
#include "base/text.h"
#include "metrics/catalogue.h"
#include "metrics/quantile.h"

#include <algorithm>

namespace torrentix::cli {
namespace {

std::string regressionLine(const std::string& index, const std::string& testName,
                           const std::optional<Regression>& r, int numericValues) {
    std::string line = "     " + index + " vs " + testName + ": ";
    if (!r) {
        return line + "not calculated: " + std::to_string(numericValues) + " numeric value(s), " +
               std::to_string(minimumTestValues) + " needed\n";
    }
    if (!r->ok) {
        return line + "could not be computed (fewer than 3 samples with a value, or all values of " +
               testName + " or of the index equal)\n";
    }
    return line + "n = " + std::to_string(r->n) + ", m = " + formatF3(r->m) + ", b = " + formatF3(r->b) +
           ", r\xC2\xB2 = " + formatF3(r->r2) + "\n";
}

std::string spreadLine(const std::string& index, std::vector<double> values) {
    if (values.empty()) {
        return {};
    }
    std::sort(values.begin(), values.end());
    return "     " + index + ": median " + formatF3(medianOfSorted(values)) + ", range " +
           formatF3(values.front()) + " to " + formatF3(values.back()) + "\n";
}

} // namespace

std::string runSummary(const RunResult& run, Gig gig) {
    const SampleTable& t = run.table;
    const std::string gigIndex = std::string(gigInfo(gig).caption) + " GIG ICMi";
    std::string out = "  Regressions:\n";
    for (const auto& [index, regressions] : {std::pair{std::string("STAR_ICMi"), &run.starRegressions},
                                             std::pair{gigIndex, &run.gigRegressions}}) {
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string name = t.utf8 ? t.testVariableNames[k] : cp1252ToUtf8(t.testVariableNames[k]);
            out += regressionLine(index, name, (*regressions)[k], t.numericTestValueCounts[k]);
        }
    }
    out += "  Indices:\n";
    out += spreadLine("STAR_ICMi", run.indices.staricm);
    out += spreadLine(gigIndex, run.indices.gigicm);
    return out;
}

} // namespace torrentix::cli
