#include "graphs/sampleinfolabel.h"

#include <QApplication>
#include <QClipboard>

namespace torrentix {

const QString SampleInfoLabel::restingText =
    QStringLiteral("click and hold on a point to view sample information (press ctrl while releasing mouse "
                   "button to copy to "
                   "clipboard)");
const QString SampleInfoLabel::noDataText = QStringLiteral("no data");
const QString SampleInfoLabel::storedText = QStringLiteral("data stored to clipboard");

SampleInfoLabel::SampleInfoLabel(QWidget* parent) : QLabel(parent) {
    setObjectName("lblsit");
    setTextFormat(Qt::PlainText); // sample names are shown as written, never as markup
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(restingText);
    restoreTimer_.setSingleShot(true);
    restoreTimer_.setInterval(storedMilliseconds);
    connect(&restoreTimer_, &QTimer::timeout, this, [this] { setText(restingText); });
}

void SampleInfoLabel::showHits(const QString& hitList) {
    restoreTimer_.stop();
    setText(hitList.isEmpty() ? noDataText : hitList);
    repaint();
}

void SampleInfoLabel::release(Qt::KeyboardModifiers modifiers) {
    const QString shown = text();
    const bool picked =
        !shown.isEmpty() && shown != noDataText && shown != restingText && shown != storedText;
    if (picked && modifiers == Qt::ControlModifier) {
        QApplication::clipboard()->setText(shown);
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
