#include "report/resultsrows.h"

#include "base/numberforms.h"
#include "base/text.h"

#include <algorithm>
#include <numeric>

namespace torrentix {
namespace {

std::string fixedTwo(const std::vector<double>& column, std::size_t i) {
    return i < column.size() ? formatF2(column[i]) : std::string();
}

bool withoutValue(const std::string& text) {
    return text.empty() || text == "N/A";
}

} // namespace

std::string resultsCellText(const SampleTable& table, const IndexResult& indices, std::size_t i, int column) {
    const Sample& s = table.samples[i];
    const auto text = [&table](const std::string& bytes) { return table.utf8 ? bytes : cp1252ToUtf8(bytes); };
    switch (column) {
    case 0:
        return std::to_string(i + 1);
    case 1:
        return text(formatSampleCode(s.code));
    case 2:
        return text(s.name);
    case 3:
        return std::to_string(s.qualityClass);
    case 4:
        return fixedTwo(indices.staricm, i);
    case 5:
        return fixedTwo(indices.gigicm, i);
    default:
        break;
    }
    const auto k = static_cast<std::size_t>(column - 6);
    if (k >= 3) {
        return {};
    }
    const auto value = parseNumeric(s.testValueTexts[k]);
    return value ? formatF2(*value) : text(s.testValueTexts[k]);
}

// std::string compares bytes as unsigned values: UTF-8 texts in the order of their characters.
std::vector<std::size_t> sortRanks(const std::vector<std::string>& texts) {
    std::vector<std::size_t> byText(texts.size());
    std::iota(byText.begin(), byText.end(), std::size_t{0});
    std::sort(byText.begin(), byText.end(),
              [&texts](std::size_t a, std::size_t b) { return texts[a] < texts[b]; });
    std::vector<std::size_t> ranks(texts.size(), 0);
    std::size_t rank = 0;
    for (std::size_t k = 0; k < byText.size(); ++k) {
        const std::string& text = texts[byText[k]];
        if (withoutValue(text)) {
            continue;
        }
        if (k == 0 || text != texts[byText[k - 1]]) {
            ++rank;
        }
        ranks[byText[k]] = rank;
    }
    return ranks;
}

void sortRows(std::vector<std::size_t>& rows, const std::vector<std::size_t>& ranks, bool descending) {
    std::stable_sort(rows.begin(), rows.end(), [&ranks, descending](std::size_t a, std::size_t b) {
        const std::size_t ra = ranks[a];
        const std::size_t rb = ranks[b];
        if (ra == 0 || rb == 0) {
            return ra != 0 && rb == 0;
        }
        return descending ? rb < ra : ra < rb;
    });
}

} // namespace torrentix
