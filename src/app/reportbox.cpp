#include "app/reportbox.h"

#include <QKeyEvent>

namespace torrentix {

bool reportKeyAllowed(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    case Qt::Key_Insert:
    case Qt::Key_C:
    case Qt::Key_A:
        return (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
    default:
        return false;
    }
}

ReportBox::ReportBox(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("reportLabel"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // long paths wrap too
    setUndoRedoEnabled(false);
    // The text area inside the box is what screen readers find focused: it bears the
    // box's name.
    setAccessibleName(QStringLiteral("Report"));
    viewport()->setAccessibleName(accessibleName());
}

void ReportBox::keyPressEvent(QKeyEvent* event) {
    if (!reportKeyAllowed(event->key(), event->modifiers())) {
        event->accept(); // discarded
        return;
    }
    if (event->key() == Qt::Key_Insert) {
        copy();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace torrentix
