#include "app/contextmenukey.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>

#include <utility>

namespace torrentix {
namespace {

bool isMenuKey(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Menu && key.modifiers() == Qt::NoModifier) ||
           (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
}

// Where the menu opens: beside the current item of a list, else in the middle.
QPoint menuPoint(QWidget& widget) {
    if (auto* view = qobject_cast<QAbstractItemView*>(&widget); view && view->currentIndex().isValid()) {
        const QRect item = view->visualRect(view->currentIndex());
        if (view->viewport()->rect().intersects(item)) {
            return view->viewport()->mapTo(view, QPoint(item.left() + 8, item.center().y()));
        }
    }
    return widget.rect().center();
}

} // namespace

bool openContextMenu(QWidget& widget, Qt::KeyboardModifiers modifiers) {
    const QPoint at = menuPoint(widget);
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, widget.mapToGlobal(at), modifiers);
    QCoreApplication::sendEvent(&widget, &menu);
    return menu.isAccepted();
}

bool ContextMenuKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu && event->spontaneous() &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        platformMenu_ = true;
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    // Windows gives both keys their context-menu event itself.
    if (!isMenuKey(key) || QGuiApplication::platformName() == QLatin1String("windows")) {
        return false;
    }
    if (key.key() == Qt::Key_Menu && std::exchange(platformMenu_, false)) {
        return false;
    }
    QWidget* focus = QApplication::focusWidget();
    openContextMenu(focus != nullptr ? *focus : *static_cast<QWidget*>(watched));
    return true;
}

} // namespace torrentix
