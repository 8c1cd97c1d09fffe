#include "app/intervalviews.h"

#include "base/numberforms.h"
#include "graphs/resultscells.h"

#include <QTreeWidget>

#include <array>
#include <optional>

namespace torrentix {
namespace {

constexpr int intervalColumnCount = 4;

QString bound(const std::optional<double>& value, std::string (*form)(double)) {
    return value ? QString::fromStdString(form(*value)) : QStringLiteral("-");
}

QString intervalText(const Interval& interval) {
    return bound(interval.lo, formatF3) + QStringLiteral(" to ") + bound(interval.hi, formatF3);
}

// The name of an index column without its "_ICMi": "STAR", "Med".
QString indexName(const QTreeWidget& list, int column) {
    return list.headerItem()->text(column).section(QLatin1Char('_'), 0, 0);
}

} // namespace

void setIntervalColumns(QTreeWidget& list, const BootstrapResult* intervals, bool shown) {
    if (intervals == nullptr) {
        list.setColumnCount(resultsColumnCount);
        return;
    }
    list.setColumnCount(resultsColumnCount + intervalColumnCount);
    const std::array<const std::vector<Interval>*, 2> indices = {&intervals->star, &intervals->gig};
    for (int k = 0; k < 2; ++k) {
        const QString name = indexName(list, 4 + k);
        list.headerItem()->setText(resultsColumnCount + 2 * k, name + QStringLiteral("_lo"));
        list.headerItem()->setText(resultsColumnCount + 2 * k + 1, name + QStringLiteral("_hi"));
    }
    for (int r = 0; r < list.topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = list.topLevelItem(r);
        const auto sample = static_cast<std::size_t>(row->text(0).toInt() - 1);
        for (std::size_t k = 0; k < indices.size(); ++k) {
            const auto& column = *indices[k];
            const Interval interval = sample < column.size() ? column[sample] : Interval{};
            const int c = resultsColumnCount + 2 * static_cast<int>(k);
            row->setText(c, bound(interval.lo, formatF2));
            row->setText(c + 1, bound(interval.hi, formatF2));
            row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
            row->setTextAlignment(c + 1, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    for (int c = resultsColumnCount; c < resultsColumnCount + intervalColumnCount; ++c) {
        list.setColumnHidden(c, !shown);
    }
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
