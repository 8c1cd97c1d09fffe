#pragma once
// The results list of the RESULTS view: one row per sample with code, name, class, both
// indices and the three test variables; a header click offers sorting.

#include "run/computerun.h"

#include <QTreeWidget>

#include <functional>

class QMenu;

namespace torrentix {

class ResultsList : public QTreeWidget {
    Q_OBJECT
  public:
    explicit ResultsList(QWidget* parent = nullptr); // object name "resultsList", the nine columns

    // Empties the list.
    void clearRows();
    // Headers of the GIG index and test-variable columns, and one row per sample of a run;
    // every shown column is made wide enough for its texts.
    void refresh(const RunResult& run, Gig gig);

    // The choices of the sort menu (sortmenu), in its order.
    enum class SortChoice { Ascending, Descending, Unsort };
    // Sorts the rows by the texts of a column (Unsort: by the hidden sample numbers, as
    // text). The list stays sorted this way when it is refilled.
    void sortRows(int column, SortChoice choice);
    // The selected rows in their shown order as TAB-separated lines under a header line.
    QString selectedRowsText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void openSortMenu(int column);
    // Fits each shown column to the widest of its texts, found by `widestItem` (nullptr
    // when the list is empty).
    void fitColumns(const std::function<QTreeWidgetItem*(int column)>& widestItem);

    QMenu* sortmenu_;
    int sortcol_ = 0; // column of the last header clicked
    bool sorted_ = false;
    int sortKey_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace torrentix
