#include "graphs/resultsmodel.h"

#include <numeric>
#include <string>

namespace torrentix {

ResultsModel::ResultsModel(QObject* parent)
    : QAbstractTableModel(parent), headers_(initialResultsHeaders()) {}

void ResultsModel::setRun(std::shared_ptr<const RunResult> run, Gig gig) {
    beginResetModel();
    run_ = std::move(run);
    headers_ = run_ ? resultsHeaders(run_->table, gig) : initialResultsHeaders();
    order_.resize(run_ ? run_->table.samples.size() : 0);
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    extraHeaders_.clear();
    extraCell_ = {};
    endResetModel();
}

void ResultsModel::setExtraColumns(QStringList headers, ExtraCell cell) {
    beginResetModel();
    extraHeaders_ = std::move(headers);
    extraCell_ = std::move(cell);
    endResetModel();
}

QString ResultsModel::cellText(std::size_t sample, int column) const {
    if (!run_) {
        return {};
    }
    if (column < resultsColumnCount) {
        return QString::fromStdString(shownText(sample, column));
    }
    return extraCell_ ? extraCell_(sample, column - resultsColumnCount) : QString();
}

std::string ResultsModel::shownText(std::size_t sample, int column) const {
    std::string text = resultsCellText(run_->table, run_->indices, sample, column);
    if (column == 2) {
        text.erase(text.find_last_not_of(' ') + 1);
    }
    return text;
}

void ResultsModel::sortByText(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    std::vector<std::string> texts(order_.size());
    for (std::size_t sample = 0; sample < texts.size(); ++sample) {
        texts[sample] =
            column < resultsColumnCount ? shownText(sample, column) : cellText(sample, column).toStdString();
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The selection and the current row follow their samples to their new rows.
    const QModelIndexList persistent = persistentIndexList();
    std::vector<std::size_t> samplesOfPersistent;
    for (const QModelIndex& index : persistent) {
        samplesOfPersistent.push_back(sampleOf(index.row()));
    }
    sortRows(order_, sortRanks(texts), order == Qt::DescendingOrder);
    if (!persistent.isEmpty()) {
        std::vector<int> rowOf(order_.size());
        for (std::size_t row = 0; row < order_.size(); ++row) {
            rowOf[order_[row]] = static_cast<int>(row);
        }
        QModelIndexList moved;
        for (qsizetype k = 0; k < persistent.size(); ++k) {
            moved << index(rowOf[samplesOfPersistent[static_cast<std::size_t>(k)]], persistent[k].column());
        }
        changePersistentIndexList(persistent, moved);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : resultsColumnCount + static_cast<int>(extraHeaders_.size());
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return cellText(sampleOf(index.row()), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(index.column() < resultsColumnCount ? resultsColumnAlignment(index.column())
                                                                    : Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        if (section == 0) {
            return tr("Sample number"); // the hidden column, as screen readers name it
        }
        return section < resultsColumnCount ? headers_[static_cast<std::size_t>(section)]
                                            : extraHeaders_[section - resultsColumnCount];
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(section < resultsColumnCount ? resultsColumnAlignment(section)
                                                             : Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

} // namespace torrentix
