#include "app/cuttexts.h"

#include "app/elidedlabel.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QTextDocument>

#include <algorithm>

namespace torrentix {

QStringList cutTexts(const QWidget& root) {
    QStringList cut;
    for (QWidget* w : root.findChildren<QWidget*>()) {
        const QFontMetrics fm = w->fontMetrics();
        auto* label = qobject_cast<QLabel*>(w);
        auto* button = qobject_cast<QAbstractButton*>(w);
        auto* group = qobject_cast<QGroupBox*>(w);
        QString text = label ? label->text() : button ? button->text() : group ? group->title() : QString();
        if (text.isEmpty() || !w->isVisibleTo(&root) || qobject_cast<ElidedLabel*>(w) ||
            (label && (label->textFormat() == Qt::RichText ||
                       (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))))) {
            continue;
        }
        // The room for the text: a label's inside, a button but its padding, a frame's
        // caption but its ends; the height a line or the label's lines take.
        const bool wraps = label && label->wordWrap();
        const int margin = 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin);
        const int room =
            label    ? label->contentsRect().width() - 2 * label->margin()
            : button ? w->width() - std::min(w->sizeHint().width() - fm.horizontalAdvance(text), margin)
                     : w->width() - 2 * fm.averageCharWidth();
        const int height = label    ? label->contentsRect().height()
                           : button ? w->height() - 4 /* its frame */
                                    : fm.height();
        const int needed =
            wraps ? label->heightForWidth(w->width()) : fm.height() * static_cast<int>(text.count('\n') + 1);
        int widest = 0;
        for (const QString& part : text.remove('&').split(wraps ? ' ' : '\n')) {
            widest = std::max(widest, fm.horizontalAdvance(part));
        }
        const auto covers = [w](QWidget* other) {
            return other != w && other->isVisible() && qobject_cast<QAbstractButton*>(other) &&
                   other->geometry().intersects(w->geometry());
        };
        const QList<QWidget*> beside = w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        if (widest > room || needed > height + fm.descent() ||
            std::any_of(beside.begin(), beside.end(), covers)) {
            cut << w->objectName() + " \"" + text + "\"";
        }
    }
    return cut;
}

} // namespace torrentix
