#include "graphs/resultslist.h"

#include "graphs/displaytext.h"
#include "graphs/resultscells.h"
#include "graphs/twips.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace torrentix {
namespace {

// The hidden first column holds the running sample number.
constexpr int sampleNumberColumn = 0;

// The width of a text as the sum of its characters' advances, each measured once: close
// to its drawn width (kerning and shaping aside), and cheap for many rows.
class TextWidthEstimate {
  public:
    explicit TextWidthEstimate(const QFontMetrics& metrics) : metrics_(metrics) { ascii_.fill(-1); }
    int operator()(const QString& text) {
        int width = 0;
        for (const QChar c : text) {
            const char16_t code = c.unicode();
            int& advance = code < ascii_.size() ? ascii_[code] : others_.try_emplace(code, -1).first->second;
            if (advance < 0) {
                advance = metrics_.horizontalAdvance(c);
            }
            width += advance;
        }
        return width;
    }

  private:
    const QFontMetrics& metrics_;
    std::array<int, 128> ascii_;
    std::unordered_map<char16_t, int> others_;
};

// The sample whose text in a column is widest as drawn, if any. Widths are first estimated
// from the characters' advances; the texts with the widest estimates, a few dozen at most,
// are measured as drawn (they differ from their estimates by kerning alone).
std::optional<std::size_t> widestSample(const ResultsModel& model, int column, const QFontMetrics& metrics) {
    constexpr std::size_t measuredAtMost = 32;
    const std::size_t samples = model.run() ? model.run()->table.samples.size() : 0;
    TextWidthEstimate estimate(metrics);
    std::vector<std::pair<int, std::size_t>> widths(samples); // estimate, sample
    for (std::size_t i = 0; i < samples; ++i) {
        widths[i] = {estimate(model.cellText(i, column)), i};
    }
    const auto byEstimate = [](const auto& a, const auto& b) { return a.first > b.first; };
    const std::size_t kept = std::min(samples, measuredAtMost * 8);
    std::partial_sort(widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(kept), widths.end(),
                      byEstimate);
    std::vector<QString> measured;
    std::optional<std::size_t> best;
    int widest = -1;
    for (std::size_t k = 0; k < kept && measured.size() < measuredAtMost; ++k) {
        const QString text = model.cellText(widths[k].second, column);
        if (std::find(measured.begin(), measured.end(), text) != measured.end()) {
            continue;
        }
        measured.push_back(text);
        if (const int width = metrics.horizontalAdvance(text); width > widest) {
            widest = width;
            best = widths[k].second;
        }
    }
    return best;
}

} // namespace

ResultsList::ResultsList(QWidget* parent)
    : QTreeView(parent), model_(new ResultsModel(this)), sortmenu_(new QMenu(this)),
      keyboardMenu_(new QMenu(this)) {
    setObjectName("resultsList");
    setAccessibleName(tr("Results list"));
    setModel(model_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int c = 0; c < resultsColumnCount; ++c) {
        setColumnWidth(c, twipsToPixels(resultsColumnTwips[static_cast<std::size_t>(c)], logicalDpiX()));
    }
    setColumnHidden(sampleNumberColumn, true);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ResultsList::headerClicked);
    header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header(), &QHeaderView::customContextMenuRequested, this, [this](const QPoint& at) {
        sortcol_ = header()->logicalIndexAt(at);
        sortmenu_->popup(header()->viewport()->mapToGlobal(at));
    });

    sortmenu_->setObjectName("sortmenu");
    sortmenu_->addAction(tr("Sort (Ascending)"), this, [this] { sortRows(sortcol_, SortChoice::Ascending); });
    sortmenu_->addAction(tr("Sort (Descending)"), this,
                         [this] { sortRows(sortcol_, SortChoice::Descending); });
    sortmenu_->addAction(tr("Unsort"), this, [this] { sortRows(sortcol_, SortChoice::Unsort); });
    keyboardMenu_->setObjectName("keyboardSortMenu");
}

void ResultsList::clearRows() {
    model_->setRun(nullptr, Alpine);
}

void ResultsList::refresh(std::shared_ptr<const RunResult> run, Gig gig) {
    model_->setRun(std::move(run), gig);
    setColumnHidden(sampleNumberColumn, true);
    applySort();
    fitColumns();
}

void ResultsList::setExtraColumns(QStringList headers, ResultsModel::ExtraCell cell, bool shown) {
    const int extra = static_cast<int>(headers.size());
    model_->setExtraColumns(std::move(headers), std::move(cell));
    setColumnHidden(sampleNumberColumn, true);
    for (int c = resultsColumnCount; c < resultsColumnCount + extra; ++c) {
        setColumnHidden(c, !shown);
        resizeColumnToContents(c);
    }
    applySort();
}

QString ResultsList::headerText(int column) const {
    return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString ResultsList::cellText(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

// Each shown column takes the width of its widest cell or of its header, so that codes,
// 15-character names and test values are never cut.
void ResultsList::fitColumns() {
    const QFontMetrics metrics(font());
    std::vector<int> rowOf(static_cast<std::size_t>(model_->rowCount()));
    for (int row = 0; row < model_->rowCount(); ++row) {
        rowOf[model_->sampleOf(row)] = row;
    }
    for (int c = 0; c < resultsColumnCount; ++c) {
        if (isColumnHidden(c)) {
            continue;
        }
        int width = header()->sectionSizeHint(c);
        if (const auto sample = widestSample(*model_, c, metrics)) {
            width = std::max(width, sizeHintForIndex(model_->index(rowOf[*sample], c)).width());
        }
        setColumnWidth(c, width);
    }
}

void ResultsList::sortRows(int column, SortChoice choice) {
    sorted_ = true;
    sortKey_ = choice == SortChoice::Unsort ? sampleNumberColumn : column;
    sortOrder_ = choice == SortChoice::Descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    applySort();
}

// Rows compare by the texts of the key column, as text: "10" comes before "9".
void ResultsList::applySort() {
    if (sorted_) {
        model_->sortByText(sortKey_, sortOrder_);
    }
}

// A click sorts by the column ascending; a click on the column sorted reverses its order.
void ResultsList::headerClicked(int column) {
    const bool ascending = sorted_ && sortKey_ == column && sortOrder_ == Qt::AscendingOrder;
    sortRows(column, ascending ? SortChoice::Descending : SortChoice::Ascending);
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
    QString text = visibleCells([this](int c) { return headerText(c); });
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows) {
        text += visibleCells([this, &row](int c) { return cellText(row.row(), c); });
    }
    return text;
}

void ResultsList::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Keyboard) {
        QTreeView::contextMenuEvent(event);
        return;
    }
    keyboardMenu_->clear();
    const int current = currentIndex().isValid() ? currentIndex().column() : -1;
    for (int c = 0; c < columnCount(); ++c) {
        if (isColumnHidden(c)) {
            continue;
        }
        QMenu* column = keyboardMenu_->addMenu(tr("Sort by %1").arg(headerText(c)));
        column->addAction(tr("Sort (Ascending)"), this, [this, c] { sortRows(c, SortChoice::Ascending); });
        column->addAction(tr("Sort (Descending)"), this, [this, c] { sortRows(c, SortChoice::Descending); });
        column->addAction(tr("Unsort"), this, [this, c] { sortRows(c, SortChoice::Unsort); });
        if (c == current) {
            keyboardMenu_->setActiveAction(column->menuAction());
        }
    }
    keyboardMenu_->popup(event->globalPos());
    event->accept();
}

void ResultsList::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (selectionModel()->hasSelection()) {
            QApplication::clipboard()->setText(spreadsheetText(selectedRowsText()));
        }
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace torrentix
