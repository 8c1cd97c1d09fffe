#include "app/taxamapeditor.h"

#include "base/files.h"
#include "base/text.h"
#include "graphs/displaytext.h"
#include "input/taxamap.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace torrentix {
namespace {

constexpr QChar visibleBlank(0x2423);

// Shows each cell with its blanks at either end made visible; the cell keeps them as typed.
class BlanksDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override {
        return withVisibleBlanks(QStyledItemDelegate::displayText(value, locale));
    }
};

bool isHeaderLine(const QString& line) {
    return line.compare(QStringLiteral("name\tfamily"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString withVisibleBlanks(const QString& text) {
    qsizetype first = 0;
    while (first < text.size() && text[first] == QLatin1Char(' ')) {
        ++first;
    }
    qsizetype last = text.size();
    while (last > first && text[last - 1] == QLatin1Char(' ')) {
        --last;
    }
    return QString(first, visibleBlank) + text.mid(first, last - first) +
           QString(text.size() - last, visibleBlank);
}

TaxaMapEditor::TaxaMapEditor(const TaxaDatabase& taxa, QString path, QWidget* parent)
    : QDialog(parent), taxa_(taxa), path_(std::move(path)) {
    setObjectName(QStringLiteral("taxaMapEditor"));
    setWindowTitle(QStringLiteral("Taxa map - ") + path_);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Your answers to taxon names the database does not know: the "
                                            "name as the sample files write it, and the family to read it "
                                            "as, or IGNORE to leave the column out. \u2423 is a blank."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("mapTable"));
    table_->setAccessibleName(QStringLiteral("Taxa map"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Family or IGNORE")});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setItemDelegate(new BlanksDelegate(table_));
    layout->addWidget(table_);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("lbl_mapproblem"));
    problem_->setWordWrap(true);
    layout->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    QPushButton* add = buttons->addButton(QStringLiteral("Add row"), QDialogButtonBox::ActionRole);
    add->setObjectName(QStringLiteral("cmdaddrow"));
    QPushButton* remove = buttons->addButton(QStringLiteral("Remove row"), QDialogButtonBox::ActionRole);
    remove->setObjectName(QStringLiteral("cmdremoverow"));
    buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("cmdsavemap"));
    connect(add, &QPushButton::clicked, this, [this] {
        addRow({}, {});
        table_->setCurrentCell(table_->rowCount() - 1, 0);
        table_->editItem(table_->currentItem());
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (table_->currentRow() >= 0) {
            table_->removeRow(table_->currentRow());
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 420);
    load();
}

void TaxaMapEditor::load() {
    std::string bytes;
    try {
        bytes = readWholeFile(pathBytes(path_));
    } catch (const std::exception& e) {
        problem_->setText(anyText(e.what()));
        return;
    }
    if (!isValidUtf8(bytes)) {
        bytes = cp1252ToUtf8(bytes);
    }
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (line.startsWith(QLatin1Char('#'))) {
            comments_ << line;
        } else if (!line.trimmed().isEmpty() && !isHeaderLine(line)) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            addRow(line.left(tab), tab < 0 ? QString() : line.mid(tab + 1));
        }
    }
}

void TaxaMapEditor::addRow(const QString& name, const QString& family) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(name));
    table_->setItem(row, 1, new QTableWidgetItem(family));
}

// One line per row, an empty row as an empty line: line N of the text is row N.
QString TaxaMapEditor::rowsText() const {
    QString text;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto cell = [this, row](int column) {
            const QTableWidgetItem* item = table_->item(row, column);
            return item != nullptr ? item->text() : QString();
        };
        const bool empty = cell(0).trimmed().isEmpty() && cell(1).trimmed().isEmpty();
        text += (empty ? QString() : cell(0) + QLatin1Char('\t') + cell(1)) + QLatin1Char('\n');
    }
    return text;
}

QString TaxaMapEditor::mapText() const {
    QString text;
    for (const QString& comment : comments_) {
        text += comment + QLatin1Char('\n');
    }
    for (const QString& line : rowsText().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        text += line + QLatin1Char('\n');
    }
    return text;
}

bool TaxaMapEditor::save() {
    try {
        TaxaMap::parse(rowsText().toStdString(), pathBytes(path_), taxa_);
        writeFileAtomically(pathBytes(path_), mapText().toStdString());
    } catch (const std::exception& e) {
        problem_->setText(anyText(e.what()) + QStringLiteral(" (a line is a row of the table)"));
        return false;
    }
    problem_->clear();
    return true;
}

} // namespace torrentix
