#pragma once
// A wait that the user can cancel: a window-modal dialog with what is being done, a
// progress bar and "Cancel". The window behind it takes no input while it shows. Cancel,
// Escape and closing the dialog ask to cancel; the dialog hides when told the work ended.

#include <QDialog>

class QProgressBar;

namespace torrentix {

class CancellableWait : public QDialog {
    Q_OBJECT
  public:
    static constexpr int steps = 1000;

    CancellableWait(const QString& text, QWidget* parent); // object name "waitcancel"

    void start();
    void setFraction(double fraction);

  signals:
    void cancelRequested();

  protected:
    void reject() override;

  private:
    QProgressBar* bar_ = nullptr;
};

} // namespace torrentix
