#include "app/tableexport.h"

#include "report/tidytable.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace torrentix {
namespace {

// A number as a program reads one: digits with an optional sign, point and exponent;
// "inf", "nan" and texts that merely start with a number do not count.
bool isPlainNumber(std::string_view cell) {
    if (cell.empty() || std::any_of(cell.begin(), cell.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) != 0 && c != 'e' && c != 'E';
        })) {
        return false;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return error == std::errc() && end == cell.data() + cell.size();
}

std::string csvCell(const std::string& cell) {
    if (cell.empty() || isPlainNumber(cell)) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

// The next cell of a TAB-separated table from `at`, unquoted; `at` moves past it and
// `end` tells what ended it: a TAB, a line end, or the end of the text.
std::string nextCell(std::string_view tsv, std::size_t& at, char& end) {
    std::string cell;
    if (at < tsv.size() && tsv[at] == '"') {
        for (++at; at < tsv.size(); ++at) {
            if (tsv[at] == '"' && at + 1 < tsv.size() && tsv[at + 1] == '"') {
                cell += '"';
                ++at;
            } else if (tsv[at] == '"') {
                ++at;
                break;
            } else {
                cell += tsv[at];
            }
        }
    }
    while (at < tsv.size() && tsv[at] != '\t' && tsv[at] != '\n') {
        cell += tsv[at++];
    }
    end = at < tsv.size() ? tsv[at++] : '\0';
    return cell;
}

} // namespace

std::string tidyTableOf(const RunResult& run, Gig gig, const BootstrapResult* intervals) {
    TidyTableInput in{run.table,
                      gig,
                      run.testText,
                      run.testNormalised,
                      run.raw,
                      run.normalised,
                      run.indices.staricm,
                      run.indices.gigicm};
    if (intervals != nullptr) {
        const auto column = [](const std::vector<Interval>& perSample, auto bound) {
            std::vector<std::optional<double>> values;
            for (const Interval& interval : perSample) {
                values.push_back(interval.*bound);
            }
            return values;
        };
        in.moreColumns = {{"STAR_lo", column(intervals->star, &Interval::lo)},
                          {"STAR_hi", column(intervals->star, &Interval::hi)},
                          {"GIG_lo", column(intervals->gig, &Interval::lo)},
                          {"GIG_hi", column(intervals->gig, &Interval::hi)}};
    }
    return tidyTableText(in);
}

std::string csvFromTsv(std::string_view tsv) {
    std::string csv;
    std::size_t at = 0;
    bool lineStart = true;
    while (at < tsv.size()) {
        if (lineStart && tsv[at] == '#') {
            const std::size_t end = std::min(tsv.find('\n', at), tsv.size());
            csv += std::string(tsv.substr(at, end - at)) + '\n';
            at = end + 1;
            continue;
        }
        char end = '\0';
        const std::string cell = nextCell(tsv, at, end);
        csv += (lineStart ? "" : ",") + csvCell(cell);
        lineStart = end != '\t';
        if (lineStart) {
            csv += '\n';
        }
    }
    return csv;
}

bool isCsvName(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string suffix = path.substr(path.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return suffix == ".csv";
}

} // namespace torrentix
