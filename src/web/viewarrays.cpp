#include "web/viewarrays.h"

#include "base/numberforms.h"
#include "report/resultsrows.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace torrentix::web {
namespace {

ListColumnArrays listColumn(const std::vector<std::string>& texts) {
    ListColumnArrays column;
    column.ends.reserve(texts.size());
    for (const std::string& text : texts) {
        column.text += text;
        column.ends.push_back(static_cast<std::uint32_t>(column.text.size()));
    }
    const std::vector<std::size_t> ranks = sortRanks(texts);
    column.ranks.assign(ranks.begin(), ranks.end());
    return column;
}

// The samples with a value, in ascending order of it (equal values in sample order).
std::vector<std::uint32_t> ascending(const std::vector<double>& values) {
    std::vector<std::uint32_t> order;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isnan(values[i])) {
            order.push_back(static_cast<std::uint32_t>(i));
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&values](std::uint32_t a, std::uint32_t b) { return values[a] < values[b]; });
    return order;
}

} // namespace

ViewArrays runViewArrays(const RunResult& run, const std::function<void(double)>& progress) {
    ViewArrays arrays;
    const std::size_t n = run.table.samples.size();
    arrays.values = {run.indices.staricm, run.indices.gigicm};
    for (const auto& column : run.testNormalised) {
        std::vector<double> values(n, std::numeric_limits<double>::quiet_NaN());
        for (std::size_t i = 0; i < std::min(n, column.size()); ++i) {
            if (column[i] && std::isfinite(*column[i])) {
                values[i] = *column[i];
            }
        }
        arrays.byTestValue.push_back(ascending(values));
        arrays.values.push_back(std::move(values));
    }
    std::vector<std::string> texts(n);
    for (int c = 0; c < resultsColumnCount; ++c) {
        for (std::size_t i = 0; i < n; ++i) {
            texts[i] = resultsCellText(run.table, run.indices, i, c);
        }
        arrays.list.push_back(listColumn(texts));
        progress(static_cast<double>(c + 1) / resultsColumnCount);
    }
    return arrays;
}

ViewArrays intervalsViewArrays(const BootstrapResult& intervals) {
    ViewArrays arrays;
    for (std::size_t c = 0; c < 4; ++c) {
        std::vector<std::string> texts;
        for (const Interval& i : c < 2 ? intervals.star : intervals.gig) {
            texts.push_back(formatBound(c % 2 == 0 ? i.lo : i.hi, 2));
        }
        arrays.list.push_back(listColumn(texts));
    }
    return arrays;
}

} // namespace torrentix::web
