#include "app/elidedlabel.h"

#include <QStringList>

#include <algorithm>

namespace torrentix {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setCaption(const QString& caption) {
    caption_ = caption;
    nameForReaders();
}

void ElidedLabel::setFullText(const QString& text) {
    full_ = text;
    setToolTip(text);
    nameForReaders();
    elide();
}

// The whole text, never the shortened one, behind its caption.
void ElidedLabel::nameForReaders() {
    setAccessibleName(caption_.isEmpty() || full_.isEmpty() ? caption_ + full_
                                                            : caption_ + QStringLiteral(": ") + full_);
}

// As wide as a short name: the layout, not the text, decides the width.
QSize ElidedLabel::sizeHint() const {
    QSize size = QLabel::sizeHint();
    size.setWidth(fontMetrics().averageCharWidth() * 12);
    return size;
}

QSize ElidedLabel::minimumSizeHint() const {
    return sizeHint();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    const int width = contentsRect().width() - 2 * margin();
    QStringList lines = full_.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = fontMetrics().elidedText(line, Qt::ElideMiddle, std::max(width, 1));
    }
    setText(lines.join(QLatin1Char('\n')));
}

} // namespace torrentix
