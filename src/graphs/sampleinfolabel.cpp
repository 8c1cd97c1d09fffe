#include "graphs/sampleinfolabel.h"

#include "graphs/displaytext.h"

#include <QApplication>
#include <QClipboard>

#include <climits>

namespace torrentix {
namespace {

QString countLine(qsizetype count) {
    return count == 1 ? QStringLiteral("1 sample under the pointer")
                      : QStringLiteral("%1 samples under the pointer").arg(count);
}

QString moreLine(qsizetype count) {
    return QStringLiteral("\u2026 and %1 more").arg(count);
}

// The count, the first `shown` entries, and how many are left out.
QString composeList(const QStringList& entries, qsizetype shown) {
    QString text = countLine(entries.size()) + "\n";
    for (qsizetype i = 0; i < shown; ++i) {
        text += entries[i];
    }
    if (shown < entries.size()) {
        text += moreLine(entries.size() - shown);
    }
    if (text.endsWith('\n')) {
        text.chop(1);
    }
    return text;
}

} // namespace

const QString SampleInfoLabel::restingText =
    QStringLiteral("click and hold on a point to view sample information (press ctrl while releasing mouse "
                   "button to copy to "
                   "clipboard)");
const QString SampleInfoLabel::noDataText = QStringLiteral("no data");
const QString SampleInfoLabel::storedText = QStringLiteral("data stored to clipboard");

SampleInfoLabel::SampleInfoLabel(QWidget* parent) : QLabel(parent) {
    setObjectName("sampleInfoLabel");
    setTextFormat(Qt::PlainText); // sample names are shown as written, never as markup
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(restingText);
    restoreTimer_.setSingleShot(true);
    restoreTimer_.setInterval(storedMilliseconds);
    connect(&restoreTimer_, &QTimer::timeout, this, [this] { setText(restingText); });
}

bool SampleInfoLabel::fits(const QString& text) const {
    const QRect room = contentsRect();
    const QRect needed =
        fontMetrics().boundingRect(QRect(0, 0, room.width(), INT_MAX / 2), Qt::TextWordWrap, text);
    return needed.height() <= room.height();
}

// As many entries as the label holds, at least none: the count always shows.
QString SampleInfoLabel::fittedList(const QStringList& entries) const {
    qsizetype shown = 0;
    while (shown < entries.size() && fits(composeList(entries, shown + 1))) {
        ++shown;
    }
    return composeList(entries, shown);
}

void SampleInfoLabel::showHits(const QStringList& entries) {
    restoreTimer_.stop();
    picked_ = entries.join(QString());
    setText(entries.isEmpty() ? noDataText : fittedList(entries));
    repaint();
}

void SampleInfoLabel::rest() {
    restoreTimer_.stop();
    picked_.clear();
    setText(restingText);
}

void SampleInfoLabel::release(Qt::KeyboardModifiers modifiers) {
    const QString picked = std::exchange(picked_, QString());
    if (!picked.isEmpty() && modifiers == Qt::ControlModifier) {
        QApplication::clipboard()->setText(spreadsheetText(picked));
        setText(storedText);
        repaint();
        restoreTimer_.start();
        return;
    }
    if (!restoreTimer_.isActive()) {
        setText(restingText);
    }
}

} // namespace torrentix
