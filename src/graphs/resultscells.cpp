#include "graphs/resultscells.h"

#include "base/numberforms.h"
#include "base/text.h"
#include "graphs/displaytext.h"
#include "metrics/catalogue.h"

namespace torrentix {
namespace {

QString fixedTwo(const std::vector<double>& column, std::size_t i) {
    return i < column.size() ? QString::fromStdString(formatF2(column[i])) : QString();
}

QString testValueText(const std::string& text, bool utf8) {
    if (const auto value = parseNumeric(text)) {
        return QString::fromStdString(formatF2(*value));
    }
    return displayText(text, utf8);
}

} // namespace

std::string formatSampleCode(std::string_view code) {
    const auto value = parseNumeric(code);
    if (!value) {
        return std::string(code);
    }
    std::string text = formatFixed(*value, 1); // "-5.0", "12.3"
    const bool negative = text.front() == '-';
    if (negative) {
        text.erase(0, 1);
    }
    const auto point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string decimal = text.substr(point + 1);
    if (whole.size() < 2) {
        whole.insert(0, 2 - whole.size(), '0');
    }
    if (decimal == "0") {
        decimal.clear();
    }
    return (negative ? "-" : "") + whole + "." + decimal;
}

ResultsRow initialResultsHeaders() {
    return {"0", "CODE", "SAMPLE", "CLASS", "STAR_ICMi", "", "", "", ""};
}

ResultsRow resultsHeaders(const SampleTable& table, Gig gig) {
    ResultsRow headers = initialResultsHeaders();
    headers[5] = QString::fromStdString(gigShortName(gig)) + "_ICMi";
    for (std::size_t k = 0; k < 3; ++k) {
        headers[6 + k] = displayText(table.testVariableNames[k], table.utf8);
    }
    return headers;
}

QString resultsCellText(const RunResult& run, std::size_t i, int column) {
    const SampleTable& table = run.table;
    const Sample& s = table.samples[i];
    switch (column) {
    case 0:
        return QString::number(i + 1);
    case 1:
        return displayText(formatSampleCode(s.code), table.utf8);
    case 2:
        return displayText(s.name, table.utf8);
    case 3:
        return QString::number(s.qualityClass);
    case 4:
        return fixedTwo(run.indices.staricm, i);
    case 5:
        return fixedTwo(run.indices.gigicm, i);
    default:
        break;
    }
    const auto k = static_cast<std::size_t>(column - 6);
    return k < 3 ? testValueText(s.testValueTexts[k], table.utf8) : QString();
}

ResultsRow resultsRowTexts(const RunResult& run, std::size_t i) {
    ResultsRow row;
    for (int c = 0; c < resultsColumnCount; ++c) {
        row[static_cast<std::size_t>(c)] = resultsCellText(run, i, c);
    }
    return row;
}

Qt::Alignment resultsColumnAlignment(int column) {
    switch (column) {
    case 1:
    case 3:
    case 5:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 4:
    case 6:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace torrentix
