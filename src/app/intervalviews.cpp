#include "app/intervalviews.h"

#include "base/numberforms.h"
#include "graphs/resultscells.h"
#include "graphs/resultslist.h"

#include <array>
#include <optional>

namespace torrentix {
namespace {

QString bound(const std::optional<double>& value, int decimals) {
    return QString::fromStdString(formatBound(value, decimals));
}

QString intervalText(const Interval& interval) {
    return bound(interval.lo, 3) + QStringLiteral(" to ") + bound(interval.hi, 3);
}

// The name of an index column without its "_ICMi": "STAR", "Med".
QString indexName(const ResultsList& list, int column) {
    return list.headerText(column).section(QLatin1Char('_'), 0, 0);
}

} // namespace

void setIntervalColumns(ResultsList& list, std::shared_ptr<const BootstrapResult> intervals, bool shown) {
    if (intervals == nullptr) {
        list.setExtraColumns({}, {}, false);
        return;
    }
    QStringList headers;
    for (int k = 0; k < 2; ++k) {
        const QString name = indexName(list, 4 + k);
        headers << name + QStringLiteral("_lo") << name + QStringLiteral("_hi");
    }
    auto cell = [intervals](std::size_t sample, int extra) {
        const std::vector<Interval>& column = extra < 2 ? intervals->star : intervals->gig;
        const Interval interval = sample < column.size() ? column[sample] : Interval{};
        return bound(extra % 2 == 0 ? interval.lo : interval.hi, 2);
    };
    list.setExtraColumns(headers, cell, shown);
}

const RegressionIntervals* findRegression(const BootstrapResult& intervals, bool star, int variable) {
    for (const RegressionIntervals& r : intervals.regressions) {
        if (r.star == star && r.variable == variable) {
            return &r;
        }
    }
    return nullptr;
}

QString regressionIntervalText(const RegressionIntervals& r) {
    return QStringLiteral("95 % m: ") + intervalText(r.m) + QStringLiteral("\n95 % r\u00b2: ") +
           intervalText(r.r2) + QStringLiteral("\n(bootstrap, %1 replicates counted)").arg(r.counted);
}

std::vector<std::pair<double, double>> bootstrapBand(const RegressionIntervals& r) {
    std::vector<std::pair<double, double>> band;
    for (const Interval& point : r.band) {
        if (!point.lo || !point.hi) {
            return {};
        }
        band.emplace_back(*point.lo, *point.hi);
    }
    return band;
}

} // namespace torrentix
