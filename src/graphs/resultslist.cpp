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
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

namespace torrentix {
namespace {

// The hidden first column holds the running sample number.
constexpr int sampleNumberColumn = 0;

QStringList toStringList(const ResultsRow& row) {
    return QStringList(row.begin(), row.end());
}

// A row of the list: its columns are aligned as the list's columns are, without each
// row holding that alignment (a run may have hundreds of thousands of rows).
class ResultsItem : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    QVariant data(int column, int role) const override {
        QVariant value = QTreeWidgetItem::data(column, role);
        if (role == Qt::TextAlignmentRole && !value.isValid() && column < resultsColumnCount) {
            return static_cast<int>(resultsColumnAlignment(column));
        }
        return value;
    }
};

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

// The rows that may hold the widest text of each column, found while the rows are made:
// those whose estimated width comes within a wide character of the widest estimate. Only
// they are measured as drawn.
class WidestCandidates {
  public:
    explicit WidestCandidates(const QFontMetrics& metrics)
        : metrics_(metrics), estimate_(metrics), margin_(metrics.horizontalAdvance(QLatin1Char('W'))) {}
    void add(QTreeWidgetItem* item, const ResultsRow& texts) {
        for (std::size_t c = 0; c < texts.size(); ++c) {
            Column& column = columns_[c];
            const int width = estimate_(texts[c]);
            if (width + margin_ < column.widest) {
                continue;
            }
            if (width > column.widest) {
                column.widest = width;
                std::erase_if(column.items,
                              [&](const Candidate& seen) { return seen.estimate + margin_ < width; });
            }
            column.items.push_back({item, texts[c], width});
        }
    }
    // The candidate whose text in the column is widest as drawn.
    QTreeWidgetItem* widest(int c) const {
        QTreeWidgetItem* best = nullptr;
        int widest = -1;
        std::unordered_map<QString, int> measured;
        for (const Candidate& candidate : columns_[static_cast<std::size_t>(c)].items) {
            auto [it, isNew] = measured.try_emplace(candidate.text, 0);
            if (isNew) {
                it->second = metrics_.horizontalAdvance(candidate.text);
            }
            if (it->second > widest) {
                widest = it->second;
                best = candidate.item;
            }
        }
        return best;
    }

  private:
    struct Candidate {
        QTreeWidgetItem* item;
        QString text; // shared with the item's, not copied
        int estimate;
    };
    struct Column {
        int widest = 0;
        std::vector<Candidate> items;
    };
    const QFontMetrics& metrics_;
    TextWidthEstimate estimate_;
    int margin_;
    std::array<Column, resultsColumnCount> columns_;
};

} // namespace

ResultsList::ResultsList(QWidget* parent) : QTreeWidget(parent), sortmenu_(new QMenu(this)) {
    setObjectName("resultsList");
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

void ResultsList::refresh(const RunResult& run, Gig gig) {
    clearRows();
    const ResultsRow headers = resultsHeaders(run.table, gig);
    for (int c = 0; c < resultsColumnCount; ++c) {
        headerItem()->setText(c, headers[static_cast<std::size_t>(c)]);
    }
    const QFontMetrics metrics(font());
    WidestCandidates candidates(metrics);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(run.table.samples.size()));
    for (std::size_t i = 0; i < run.table.samples.size(); ++i) {
        const ResultsRow texts = resultsRowTexts(run, i);
        rows.append(new ResultsItem(toStringList(texts)));
        candidates.add(rows.back(), texts);
    }
    addTopLevelItems(rows);
    if (sorted_) {
        sortItems(sortKey_, sortOrder_);
    }
    fitColumns([&](int c) { return candidates.widest(c); });
}

// Each shown column takes the width of its widest cell or of its header, so that codes,
// 15-character names and test values are never cut.
void ResultsList::fitColumns(const std::function<QTreeWidgetItem*(int column)>& widestItem) {
    for (int c = 0; c < resultsColumnCount; ++c) {
        if (isColumnHidden(c)) {
            continue;
        }
        int width = header()->sectionSizeHint(c);
        if (QTreeWidgetItem* widest = widestItem(c)) {
            width = std::max(width, sizeHintForIndex(indexFromItem(widest, c)).width());
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
