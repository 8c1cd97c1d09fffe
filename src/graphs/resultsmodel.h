#pragma once
// The rows of the results list as a model over the run itself: a cell's text is made when
// the list shows it, so a run of hundreds of thousands of samples takes no copy per row.
// The rows' order is a permutation of the samples; further columns (the bootstrap
// intervals) come from a provider.

#include "graphs/resultscells.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace torrentix {

class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using ExtraCell = std::function<QString(std::size_t sample, int extraColumn)>;

    explicit ResultsModel(QObject* parent = nullptr);

    // A run's rows in sample order (none: an empty list with the initial headers).
    void setRun(std::shared_ptr<const RunResult> run, Gig gig);
    const RunResult* run() const { return run_.get(); }
    // Columns after the list's own: their headers and the text of each sample's cell.
    void setExtraColumns(QStringList headers, ExtraCell cell);

    // Orders the rows by the texts of a column as the engine's results list does (report/
    // resultsrows): as text ("10" before "9"), keeping the order of equal texts; cells
    // without a value ("N/A", empty) come last either way.
    void sortByText(int column, Qt::SortOrder order);
    // The sample shown in a row.
    std::size_t sampleOf(int row) const { return order_[static_cast<std::size_t>(row)]; }

    // A cell as shown, and sorted: a sample name without the blanks that pad it in its
    // file (the results file keeps them).
    QString cellText(std::size_t sample, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::string shownText(std::size_t sample, int column) const;

    std::shared_ptr<const RunResult> run_;
    ResultsRow headers_;
    std::vector<std::size_t> order_;
    QStringList extraHeaders_;
    ExtraCell extraCell_;
};

} // namespace torrentix
