#include "report/tidytable.h"

#include "base/numberforms.h"
#include "base/text.h"
#include "metrics/metricdefinitions.h"
#include "report/resultsfile.h"

#include <cmath>

namespace torrentix {
namespace {

// The GIG ICMi metrics that are not those of the STAR_ICMi, with their column prefix.
const std::vector<MetricDefinition>& ownGigMetrics(Gig gig) {
    static const std::vector<MetricDefinition> none;
    const auto& metrics = gigMetrics(gig);
    return &metrics == &starMetrics() ? none : metrics;
}
constexpr std::string_view gigPrefix = "GIG_";

// Every metric column: the STAR_ICMi metrics, then the GIG ICMi metrics with their prefix.
std::vector<std::pair<std::string, MetricId>> metricColumns(Gig gig) {
    std::vector<std::pair<std::string, MetricId>> columns;
    for (const MetricDefinition& d : starMetrics()) {
        columns.emplace_back(std::string(d.id), d.column);
    }
    for (const MetricDefinition& d : ownGigMetrics(gig)) {
        columns.emplace_back(std::string(gigPrefix) + std::string(d.id), d.column);
    }
    return columns;
}

void addCell(std::string& row, const std::string& cell) {
    row += '\t';
    row += cell;
}

} // namespace

// The shortest text that reads back to the same double; empty when there is no value.
std::string numberCell(std::optional<double> value) {
    if (!value || !std::isfinite(*value)) {
        return {};
    }
    return formatShortest(*value);
}

// A text cell as UTF-8. A cell holding a double quote, a TAB or a line break is quoted,
// inner quotes doubled, so that R, pandas and spreadsheets read it back whole.
std::string textCell(std::string_view text, bool utf8) {
    std::string cell = utf8 ? std::string(text) : cp1252ToUtf8(text);
    if (cell.find_first_of("\"\t\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

// The whole sample name as read; a table built without the reader has only the name cut
// to its 15 characters, whose padding is dropped.
std::string_view sampleName(const Sample& s) {
    if (!s.fullName.empty()) {
        return s.fullName;
    }
    std::string_view name = s.name;
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    return name;
}

std::vector<std::string> tidyTableColumns(Gig gig) {
    std::vector<std::string> names = {"CODE", "SAMPLE", "CLASS"};
    for (int k = 1; k <= 3; ++k) {
        names.push_back("TV" + std::to_string(k) + "_raw");
        names.push_back("TV" + std::to_string(k) + "_norm");
    }
    const auto metrics = metricColumns(gig);
    for (const auto& [name, column] : metrics) {
        names.push_back(name);
    }
    for (const auto& [name, column] : metrics) {
        names.push_back(name + "_norm");
    }
    names.insert(names.end(), {"STAR_ICMi", "GIG_ICMi"});
    return names;
}

std::string tidyTableText(const TidyTableInput& in) {
    const SampleTable& t = in.table;
    std::string text;
    for (const std::string& name : tidyTableColumns(in.gig)) {
        text += (text.empty() ? "" : "\t") + name;
    }
    text += '\n';
    const auto metrics = metricColumns(in.gig);
    for (std::size_t i = 0; i < t.samples.size(); ++i) {
        const Sample& s = t.samples[i];
        std::string row = textCell(s.code, t.utf8);
        addCell(row, textCell(sampleName(s), t.utf8));
        addCell(row, std::to_string(s.qualityClass));
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string& raw = in.testText[k].at(i);
            addCell(row, raw == "N/A" ? std::string() : std::string(trimBlanks(raw)));
            const auto& normalised = in.testNormalised[k];
            addCell(row, numberCell(normalised.empty() ? std::nullopt : normalised.at(i)));
        }
        for (const MetricTable* m : {&in.raw, &in.normalised}) {
            for (const auto& [name, column] : metrics) {
                addCell(row, numberCell(metricColumn(*m, column).at(i)));
            }
        }
        addCell(row, numberCell(in.staricm.at(i)));
        addCell(row, numberCell(in.gigicm.at(i)));
        text += row + '\n';
    }
    return text;
}

std::string tablePathFor(const std::string& sourcePath, const std::string& folder) {
    return outputPathFor(sourcePath, "_table.tsv", folder);
}

} // namespace torrentix
