#include "report/tidytable.h"

#include "base/numberforms.h"
#include "base/text.h"
#include "metrics/metricdefinitions.h"
#include "report/formulaguard.h"
#include "report/resultsfile.h"

#include <cmath>
#include <set>

namespace torrentix {
namespace {

// The GIG ICMi metrics that are not those of the STAR_ICMi, with their column prefix.
const std::vector<MetricDefinition>& ownGigMetrics(Gig gig) {
    static const std::vector<MetricDefinition> none;
    const auto& metrics = gigMetrics(gig);
    return &metrics == &starMetrics() ? none : metrics;
}
constexpr std::string_view gigPrefix = "GIG_";

} // namespace

// Every metric column: the STAR_ICMi metrics, then the GIG ICMi metrics with their prefix.
std::vector<std::pair<std::string, MetricId>> tidyMetricColumns(Gig gig) {
    std::vector<std::pair<std::string, MetricId>> columns;
    for (const MetricDefinition& d : starMetrics()) {
        columns.emplace_back(std::string(d.id), d.column);
    }
    for (const MetricDefinition& d : ownGigMetrics(gig)) {
        columns.emplace_back(std::string(gigPrefix) + std::string(d.id), d.column);
    }
    return columns;
}

namespace {

void addCell(std::string& row, const std::string& cell) {
    row += '\t';
    row += cell;
}

bool isIdentifierCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// A name in UTF-8 as letters, digits and "_": the Latin letters U+00C0 to U+00FF without
// their accents, every run of other characters one "_", none at either end.
std::string identifierOf(std::string_view name) {
    static constexpr std::string_view latin1Letters =
        "AAAAAAACEEEEIIIIDNOOOOO_OUUUUYTsaaaaaaaceeeeiiiidnooooo_ouuuuyty";
    std::string id;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        char c = name[i];
        if (byte == 0xC3 && i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
            c = latin1Letters[static_cast<unsigned char>(name[++i]) - 0x80]; // U+00C0 + (byte - 0x80)
        }
        if (isIdentifierCharacter(c)) {
            id += c;
        } else if (!id.empty() && id.back() != '_') {
            id += '_';
        }
    }
    while (!id.empty() && id.back() == '_') {
        id.pop_back();
    }
    return id;
}

// The columns of the table of a GIG that are not those of the test variables.
std::vector<std::string> fixedColumns(Gig gig) {
    std::vector<std::string> names = {"CODE", "SAMPLE", "CLASS"};
    const auto metrics = tidyMetricColumns(gig);
    for (const auto& [name, column] : metrics) {
        names.push_back(name);
    }
    for (const auto& [name, column] : metrics) {
        names.push_back(name + "_norm");
    }
    names.insert(names.end(), {"STAR_ICMi", "GIG_ICMi"});
    return names;
}

} // namespace

// The shortest text that reads back to the same double; empty when there is no value.
std::string numberCell(std::optional<double> value) {
    if (!value || !std::isfinite(*value)) {
        return {};
    }
    return formatShortest(*value);
}

// A text cell as UTF-8, guarded against formulas. A cell holding a double quote, a TAB or
// a line break is quoted, inner quotes doubled, so that R, pandas and spreadsheets read it
// back whole; so is one holding a "#", which R and pandas told to skip comments would
// otherwise take for the start of one.
std::string textCell(std::string_view text, bool utf8) {
    const std::string cell = guardFormula(utf8 ? std::string(text) : cp1252ToUtf8(text));
    if (cell.find_first_of("\"\t\r\n#") == std::string::npos) {
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

std::array<std::string, 3> testVariableColumns(const SampleTable& t) {
    std::set<std::string> taken; // in upper case
    for (const Gig gig : allGigs) {
        for (const std::string& name : fixedColumns(gig)) {
            taken.insert(toUpperAscii(name));
        }
    }
    const auto clashes = [&taken](const std::string& name) {
        const std::string upper = toUpperAscii(name);
        return taken.count(upper) + taken.count(upper + "_RAW") + taken.count(upper + "_NORM") != 0;
    };
    std::array<std::string, 3> names;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string tv = "TV" + std::to_string(k + 1);
        std::string base =
            identifierOf(t.utf8 ? t.testVariableNames[k] : cp1252ToUtf8(t.testVariableNames[k]));
        base = base.empty() ? tv : (base.front() >= '0' && base.front() <= '9') ? tv + "_" + base : base;
        names[k] = base;
        for (int n = 2; clashes(names[k]); ++n) {
            names[k] = base + "_" + std::to_string(n);
        }
        for (const std::string suffix : {"", "_RAW", "_NORM"}) {
            taken.insert(toUpperAscii(names[k]) + suffix);
        }
    }
    return names;
}

std::vector<std::string> tidyTableColumns(Gig gig, const std::array<std::string, 3>& testVariables) {
    std::vector<std::string> names = fixedColumns(gig);
    auto at = names.begin() + 3; // after CODE, SAMPLE and CLASS
    for (const std::string& name : testVariables) {
        at = names.insert(at, {name + "_raw", name + "_norm"}) + 2;
    }
    return names;
}

std::string tidyTableText(const TidyTableInput& in) {
    const SampleTable& t = in.table;
    std::string text;
    for (const std::string& name : tidyTableColumns(in.gig, testVariableColumns(t))) {
        text += (text.empty() ? "" : "\t") + name;
    }
    for (const auto& [name, values] : in.moreColumns) {
        text += "\t" + name;
    }
    text += '\n';
    const auto metrics = tidyMetricColumns(in.gig);
    for (std::size_t i = 0; i < t.samples.size(); ++i) {
        if (in.progress && i % 4096 == 0) {
            in.progress(static_cast<double>(i) / static_cast<double>(t.samples.size()));
        }
        const Sample& s = t.samples[i];
        std::string row = textCell(s.code, t.utf8);
        addCell(row, textCell(sampleName(s), t.utf8));
        addCell(row, std::to_string(s.qualityClass));
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string& raw = in.testText[k].at(i);
            addCell(row, raw == "N/A" ? std::string() : guardFormula(trimBlanks(raw)));
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
        for (const auto& [name, values] : in.moreColumns) {
            addCell(row, numberCell(values.at(i)));
        }
        text += row + '\n';
    }
    return text;
}

std::string tablePathFor(const std::string& sourcePath, const std::string& folder) {
    return outputPathFor(sourcePath, "_table.tsv", folder);
}

} // namespace torrentix
