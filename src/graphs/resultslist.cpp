#include "graphs/resultslist.h"

#include "graphs/resultscells.h"
#include "graphs/twips.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

namespace torrentix {
namespace {

// The hidden first column holds the running sample number.
constexpr int sampleNumberColumn = 0;

QStringList toStringList(const ResultsRow& row) {
    return QStringList(row.begin(), row.end());
}

} // namespace

ResultsList::ResultsList(QWidget* parent) : QTreeWidget(parent), sortmenu_(new QMenu(this)) {
    setObjectName("lv1");
    setColumnCount(resultsColumnCount);
    setHeaderLabels(toStringList(initialResultsHeaders()));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int c = 0; c < resultsColumnCount; ++c) {
        setColumnWidth(c, twipsToPixels(resultsColumnTwips[static_cast<std::size_t>(c)], logicalDpiX()));
        headerItem()->setTextAlignment(c, resultsColumnAlignment(c));
    }
    setColumnHidden(sampleNumberColumn, true);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ResultsList::openSortMenu);

    sortmenu_->setObjectName("sortmenu");
    sortmenu_->addAction(tr("Sort (Ascending)"), this, [this] { sortRows(sortcol_, SortChoice::Ascending); });
    sortmenu_->addAction(tr("Sort (Descending)"), this,
                         [this] { sortRows(sortcol_, SortChoice::Descending); });
    sortmenu_->addAction(tr("Unsort"), this, [this] { sortRows(sortcol_, SortChoice::Unsort); });
}

void ResultsList::clearRows() {
    clear();
}

void ResultsList::refresh(const RunResult& run, int gigindex) {
    clearRows();
    const ResultsRow headers = resultsHeaders(run.table, gigindex);
    for (int c = 0; c < resultsColumnCount; ++c) {
        headerItem()->setText(c, headers[static_cast<std::size_t>(c)]);
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(run.table.samples.size()));
    for (std::size_t i = 0; i < run.table.samples.size(); ++i) {
        auto* item = new QTreeWidgetItem(toStringList(resultsRowTexts(run, i)));
        for (int c = 0; c < resultsColumnCount; ++c) {
            item->setTextAlignment(c, resultsColumnAlignment(c));
        }
        rows.append(item);
    }
    addTopLevelItems(rows);
    if (sorted_) {
        sortItems(sortKey_, sortOrder_);
    }
    fitColumns();
}

int ResultsList::widestRow(int column) const {
    const QFontMetrics metrics(font());
    int row = -1;
    int widest = 0;
    for (int r = 0; r < topLevelItemCount(); ++r) {
        const int w = metrics.horizontalAdvance(topLevelItem(r)->text(column));
        if (w > widest) {
            widest = w;
            row = r;
        }
    }
    return row;
}

// Each shown column takes the width of its widest cell or of its header, so that codes,
// 15-character names and test values are never cut.
void ResultsList::fitColumns() {
    for (int c = 0; c < resultsColumnCount; ++c) {
        if (isColumnHidden(c)) {
            continue;
        }
        int width = header()->sectionSizeHint(c);
        if (const int r = widestRow(c); r >= 0) {
            width = std::max(width, sizeHintForIndex(indexFromItem(topLevelItem(r), c)).width());
        }
        setColumnWidth(c, width);
    }
}

void ResultsList::sortRows(int column, SortChoice choice) {
    sorted_ = true;
    sortKey_ = choice == SortChoice::Unsort ? sampleNumberColumn : column;
    sortOrder_ = choice == SortChoice::Descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    // Rows compare by the texts of the key column, as text: "10" comes before "9".
    sortItems(sortKey_, sortOrder_);
}

void ResultsList::openSortMenu(int column) {
    sortcol_ = column;
    sortmenu_->popup(QCursor::pos());
}

QString ResultsList::selectedRowsText() const {
    auto visibleCells = [this](auto cellText) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c) {
            if (!isColumnHidden(c)) {
                cells << cellText(c);
            }
        }
        return cells.join('\t') + '\n';
    };
    QString text = visibleCells([this](int c) { return headerItem()->text(c); });
    for (int r = 0; r < topLevelItemCount(); ++r) {
        const QTreeWidgetItem* row = topLevelItem(r);
        if (row->isSelected()) {
            text += visibleCells([row](int c) { return row->text(c); });
        }
    }
    return text;
}

void ResultsList::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (!selectedItems().isEmpty()) {
            QApplication::clipboard()->setText(selectedRowsText());
        }
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace torrentix
