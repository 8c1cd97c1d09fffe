#pragma once
// The results list of the RESULTS view: one row per sample with code, name, class, both
// indices and the three test variables; a header click sorts by its column (a second click
// reverses the order), the header's right button offers the sort menu. The list shows the
// run through a model: rows are made only as they are seen.

#include "graphs/resultsmodel.h"

#include <QTreeView>

#include <memory>

class QMenu;

namespace torrentix {

class ResultsList : public QTreeView {
    Q_OBJECT
    Q_PROPERTY(int rowCount READ rowCount)
  public:
    explicit ResultsList(QWidget* parent = nullptr); // object name "resultsList", the nine columns

    // Empties the list.
    void clearRows();
    // Headers of the GIG index and test-variable columns, and one row per sample of a run;
    // every shown column is made wide enough for its texts.
    void refresh(std::shared_ptr<const RunResult> run, Gig gig);
    // Columns after the list's own (the bootstrap intervals), shown or hidden; no headers:
    // none.
    void setExtraColumns(QStringList headers, ResultsModel::ExtraCell cell, bool shown);

    int rowCount() const { return model_->rowCount(); }
    int columnCount() const { return model_->columnCount(); }
    QString headerText(int column) const;
    QString cellText(int row, int column) const;

    // The choices of the sort menu (sortmenu), in its order.
    enum class SortChoice { Ascending, Descending, Unsort };
    // Sorts the rows by the texts of a column (Unsort: by the hidden sample numbers, as
    // text). The list stays sorted this way when it is refilled.
    void sortRows(int column, SortChoice choice);
    // The selected rows in their shown order as TAB-separated lines under a header line.
    QString selectedRowsText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // From the keyboard (the Menu key, Shift+F10): "Sort by" each shown column, each with the
    // choices of the sort menu.
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void headerClicked(int column);
    void applySort();
    // Fits each shown column to the widest of its texts and its header.
    void fitColumns();

    ResultsModel* model_;
    QMenu* sortmenu_;
    QMenu* keyboardMenu_; // keyboardSortMenu
    int sortcol_ = 0;     // column of the header whose sort menu opened last
    bool sorted_ = false;
    int sortKey_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace torrentix
