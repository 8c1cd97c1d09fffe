#pragma once
// Shift+F10 and the Menu key open the context menu of the control that has the keyboard
// focus, wherever it has one: the key becomes the context-menu event a right click would
// give, placed at the control's current item or middle.

#include <QObject>

namespace torrentix {

class ContextMenuKey : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The platform gave the Menu key its own context-menu event: the key itself is done.
    bool platformMenu_ = false;
};

// Opens the context menu of `widget` as from the keyboard; true when it was wanted.
bool openContextMenu(class QWidget& widget, Qt::KeyboardModifiers modifiers = {});

} // namespace torrentix
