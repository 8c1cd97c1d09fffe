#include "report/resultsfile.h"

#include "base/files.h"
#include "base/numberforms.h"
#include "base/parallel.h"
#include "base/text.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"
#include "report/formulaguard.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace torrentix {
namespace {

const std::string crlf = "\r\n";

// Appends lines joined by TAB, each ended by CR LF.
class Lines {
  public:
    Lines() = default;
    // Room for about this many bytes, so that a text of many samples grows in one step.
    explicit Lines(std::size_t expected) { out_.reserve(expected); }
    Lines& line(std::string_view text = {}) {
        out_ += text;
        out_ += crlf;
        return *this;
    }
    template <typename... Cells> Lines& row(const Cells&... cells) {
        bool first = true;
        ((out_ += (first ? "" : "\t"), out_ += std::string_view(cells), first = false), ...);
        out_ += crlf;
        return *this;
    }
    Lines& append(std::string_view text) {
        out_ += text;
        return *this;
    }
    std::string take() { return std::exchange(out_, {}); }

  private:
    std::string out_;
};

// Appends the rows of samples 0 to count - 1, which `appendRows(lines, first, end)` makes
// for samples first to end - 1. On several threads the rows are made a block of samples
// on each thread at a time and appended in sample order: the same text on any number of
// threads, with only the blocks of one round held beside it.
template <class AppendRows>
void appendSampleRows(Lines& out, std::size_t count, unsigned threads, const AppendRows& appendRows) {
    constexpr std::size_t blockSamples = 2048;
    if (threads <= 1 || count <= blockSamples) {
        appendRows(out, 0, count);
        return;
    }
    const std::size_t blocks = (count + blockSamples - 1) / blockSamples;
    std::vector<Lines> round(threads);
    for (std::size_t first = 0; first < blocks; first += round.size()) {
        const std::size_t inRound = std::min(round.size(), blocks - first);
        forEachIndex(inRound, threads, [&](std::size_t b) {
            const std::size_t begin = (first + b) * blockSamples;
            appendRows(round[b], begin, std::min(count, begin + blockSamples));
        });
        for (std::size_t b = 0; b < inRound; ++b) {
            out.append(round[b].take());
        }
    }
}

std::string rawValueText(const MetricDefinition& d, double value) {
    return d.form == MetricForm::Fixed2 ? formatF2(value) : formatGeneral(value);
}

void metricTable(Lines& out, const SampleTable& table, const MetricTable& raw,
                 const std::vector<MetricDefinition>& metrics, unsigned threads) {
    std::string header = "CODE\tSAMPLE";
    for (const auto& d : metrics) {
        header += "\t";
        header += d.label;
    }
    out.line(header);
    appendSampleRows(out, table.samples.size(), threads,
                     [&](Lines& rows, std::size_t first, std::size_t end) {
                         for (std::size_t i = first; i < end; ++i) {
                             std::string row = guardFormula(table.samples[i].code) + "\t" +
                                               guardFormula(table.samples[i].name);
                             for (const auto& d : metrics) {
                                 row += "\t" + rawValueText(d, metricColumn(raw, d.column)[i]);
                             }
                             rows.line(row);
                         }
                     });
}

void weightLines(Lines& out, const std::vector<MetricDefinition>& metrics) {
    for (const auto& d : metrics) {
        out.row(d.label, formatGeneral(d.weight));
    }
}

// The input path as the file's text encoding can hold it.
std::string pathText(const std::string& path, bool utf8) {
    if (utf8 || !hasNonAscii(path)) {
        return path;
    }
    return utf8ToCp1252(path).value_or(path);
}

} // namespace

std::string outputPathFor(const std::string& sourcePath, const std::string& suffix,
                          const std::string& folder) {
    const std::string beside = replaceExtension(sourcePath, suffix);
    if (folder.empty()) {
        return beside;
    }
    return pathInFolder(folder, fileNameOf(beside));
}

std::string resultsPathFor(const std::string& sourcePath, const std::string& folder) {
    return outputPathFor(sourcePath, "_OUT.txt", folder);
}

std::string resultsOpening(const ResultsHeader& h) {
    const SampleTable& t = h.table;
    const std::string gigCaption(gigInfo(h.gig).caption);
    const int nsamp = t.nsamp();
    Lines out(static_cast<std::size_t>(nsamp) * 192 + 4096); // two metric tables of a sample
    out.line("Torrentix " + std::string(programVersion) +
             " - Intercalibration Common Metrics of benthic invertebrates in rivers");
    out.line().line(h.dateText).line(h.timeText).line();
    out.line(guardFormula(t.title)).line();
    out.line("GIG: " + gigCaption);
    out.line("RIVER TYPE: " + typeCaption(h.gig, h.riverType));
    out.line();
    out.line("File " + pathText(t.sourcePath, t.utf8) + " opened.");
    std::string taxa = std::to_string(t.nfam()) + " TAXA (Families).";
    if (!t.ignoredColumns.empty()) {
        taxa += " The following taxa were ignored:" + crlf;
        for (const std::string& name : t.ignoredColumns) {
            taxa += crlf + guardFormula(name);
        }
    }
    out.line(taxa);
    out.line(std::to_string(nsamp) + " SAMPLES.");
    out.line("Sample classification:");
    for (std::size_t c = 0; c < classNames.size(); ++c) {
        out.row(std::to_string(h.classcount[c]), classNames[c],
                formatPercent(static_cast<double>(h.classcount[c]) / nsamp));
    }
    out.line();
    out.line("STAR_ICMi metrics");
    metricTable(out, t, h.raw, starMetrics(), h.threads);
    out.line();
    out.line(gigCaption + " GIG ICMi metrics");
    metricTable(out, t, h.raw, gigMetrics(h.gig), h.threads);
    out.line();
    out.line("Weights of STAR_ICMi metrics:");
    weightLines(out, starMetrics());
    out.line("Weights of " + gigCaption + " GIG ICMi metrics:");
    weightLines(out, gigMetrics(h.gig));
    out.line();
    out.line("Lower and upper values used for metric normalisation:");
    out.line();
    out.row("Metric Name", "Lower", "Upper");
    return out.take();
}

std::string normalisationLine(std::string_view label, float lower, float upper) {
    return Lines().row(label, formatGeneral32(lower), formatGeneral32(upper)).take();
}

std::string normalisationNotes(float starReferenceValue, const std::string& ruleSentence,
                               const std::vector<TestVariableNormalisation>& testVariables) {
    Lines out;
    out.line();
    out.line("Normalisation value of multimetric index: " +
             formatGeneral(static_cast<double>(starReferenceValue)));
    out.line();
    out.line(ruleSentence);
    if (!testVariables.empty()) {
        out.line();
        out.line("Test Variables normalisation:");
        for (const auto& tv : testVariables) {
            out.row(guardFormula(tv.name), formatGeneral(static_cast<double>(tv.lower)) + tv.lowerLabel,
                    formatGeneral(static_cast<double>(tv.upper)) + tv.upperLabel);
        }
    }
    return out.take();
}

namespace {

std::string f3OrMissing(const Regression& r, double value) {
    return r.ok ? formatF3(value) : "N/A";
}

void regressionBlock(Lines& out, const Regression& r, const std::string& indexName,
                     const std::string& testName, bool utf8) {
    const std::string rSquared = utf8 ? "r\xC2\xB2 = " : "r\xB2 = ";
    out.line("m = " + f3OrMissing(r, r.m));
    out.line("b = " + f3OrMissing(r, r.b));
    out.line(rSquared + f3OrMissing(r, r.r2));
    out.line();
    out.line(indexName + " = " + f3OrMissing(r, r.b) + " + " + f3OrMissing(r, r.m) + " * " + testName);
}

std::string testValueText(const std::string& text) {
    auto v = parseNumeric(text);
    return v ? formatF3(*v) : "N/A";
}

} // namespace

std::string resultsClosing(const IndexSection& s) {
    const SampleTable& t = s.table;
    const std::string gigCaption(gigInfo(s.gig).caption);
    const std::string g3 = gigShortName(s.gig);
    Lines out(t.samples.size() * 80 + 4096); // an index row of a sample
    out.line();
    out.row("N", "SAMPLES", "STAR_ICM index", g3 + "_ICM index", guardFormula(t.testVariableNames[0]),
            guardFormula(t.testVariableNames[1]), guardFormula(t.testVariableNames[2]));
    appendSampleRows(out, t.samples.size(), s.threads, [&](Lines& rows, std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            const Sample& sample = t.samples[i];
            rows.row(guardFormula(sample.code), guardFormula(sample.name), formatF3(s.staricm[i]),
                     formatF3(s.gigicm[i]), testValueText(sample.testValueTexts[0]),
                     testValueText(sample.testValueTexts[1]), testValueText(sample.testValueTexts[2]));
        }
    });
    // A regression is left out when its test variable has fewer than 6 numeric values; the
    // lines say "<12", as results files of the method always have, and stay so.
    for (std::size_t k = 0; k < 3; ++k) {
        out.line();
        out.line("STAR_ICMi vs " + t.testVariableNames[k] + " regression:");
        if (!s.starRegression[k]) {
            out.line("not calculated (available data<12).");
            continue;
        }
        regressionBlock(out, *s.starRegression[k], "STAR_ICMi", t.testVariableNames[k], t.utf8);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        out.line();
        out.line(gigCaption + " GIG ICMi vs " + t.testVariableNames[k] + " regression:");
        if (!s.gigRegression[k]) {
            out.line("not calculated (available data of " + t.testVariableNames[k] + " <12).");
            continue;
        }
        regressionBlock(out, *s.gigRegression[k], g3 + "_ICMi", t.testVariableNames[k], t.utf8);
    }
    out.line();
    out.line("END OF OUTPUT");
    out.line();
    out.line("The common metrics and their weights follow the European research on the intercalibration of "
             "river assessment methods.");
    return out.take();
}

} // namespace torrentix
