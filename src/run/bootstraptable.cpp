#include "run/bootstraptable.h"

#include "base/files.h"
#include "report/resultsfile.h"
#include "report/tidytable.h"

namespace torrentix {
namespace {

std::string cells(std::initializer_list<std::string> values) {
    std::string row;
    bool first = true;
    for (const std::string& v : values) {
        row += (first ? "" : "\t") + v;
        first = false;
    }
    return row + "\n";
}

std::string pointCell(const Regression& r, double value) {
    return r.ok ? numberCell(value) : std::string();
}

} // namespace

std::string bootstrapSettingsLine(const BootstrapResult& b) {
    return "# replicates=" + std::to_string(b.replicates) + " counted=" + std::to_string(b.counted) +
           " seed=" + std::to_string(b.seed) + " rule=" + (b.useMedian ? "median" : "75th") + "\n";
}

std::string bootstrapSamplesText(const BootstrapResult& b, const RunResult& run) {
    const SampleTable& t = run.table;
    std::string text = bootstrapSettingsLine(b);
    text += cells({"CODE", "SAMPLE", "STAR_ICMi", "STAR_lo", "STAR_hi", "GIG_ICMi", "GIG_lo", "GIG_hi"});
    for (std::size_t i = 0; i < t.samples.size(); ++i) {
        const Sample& s = t.samples[i];
        text += cells({textCell(s.code, t.utf8), textCell(sampleName(s), t.utf8),
                       numberCell(run.indices.staricm[i]), numberCell(b.star[i].lo), numberCell(b.star[i].hi),
                       numberCell(run.indices.gigicm[i]), numberCell(b.gig[i].lo), numberCell(b.gig[i].hi)});
    }
    return text;
}

std::string bootstrapRegressionsText(const BootstrapResult& b, const RunResult& run) {
    const auto variables = testVariableColumns(run.table);
    std::string text = bootstrapSettingsLine(b);
    text += cells({"index", "variable", "n", "counted", "m", "m_lo", "m_hi", "b", "b_lo", "b_hi", "r2",
                   "r2_lo", "r2_hi"});
    for (const RegressionIntervals& r : b.regressions) {
        const Regression& p = r.point;
        text += cells({r.star ? "STAR" : "GIG", variables.at(static_cast<std::size_t>(r.variable)),
                       std::to_string(p.n), std::to_string(r.counted), pointCell(p, p.m), numberCell(r.m.lo),
                       numberCell(r.m.hi), pointCell(p, p.b), numberCell(r.b.lo), numberCell(r.b.hi),
                       pointCell(p, p.r2), numberCell(r.r2.lo), numberCell(r.r2.hi)});
    }
    return text;
}

std::string bootstrapPathFor(const std::string& sourcePath, const std::string& folder) {
    return outputPathFor(sourcePath, "_ci.tsv", folder);
}

std::string bootstrapRegressionsPathFor(const std::string& sourcePath, const std::string& folder) {
    return outputPathFor(sourcePath, "_ci_regressions.tsv", folder);
}

std::string regressionsPathBeside(const std::string& samplesPath) {
    const std::string stem = replaceExtension(samplesPath, "");
    return stem + "_regressions" + samplesPath.substr(stem.size());
}

} // namespace torrentix
