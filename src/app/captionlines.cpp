#include "app/captionlines.h"

#include <QFontMetrics>
#include <QStringList>

namespace torrentix {

QString captionLines(const QString& text, const QFontMetrics& fm, int width) {
    QStringList lines;
    for (const QString& word : text.split(' ')) {
        if (!lines.isEmpty() && fm.horizontalAdvance(lines.back() + ' ' + word) <= width) {
            lines.back() += ' ' + word;
        } else {
            lines << word;
        }
    }
    return lines.join('\n');
}

QFont standingOutFont(const QFont& text, double factor) {
    QFont font = text;
    font.setBold(true);
    font.setPointSizeF(text.pointSizeF() * factor);
    return font;
}

} // namespace torrentix
