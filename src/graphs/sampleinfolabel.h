#pragma once
// The information line beside the scatter plot (lblsit): a resting hint, the samples
// under the pointer while the mouse button is held, and a short confirmation after their
// data have been copied to the clipboard.

#include <QLabel>
#include <QTimer>

namespace torrentix {

class SampleInfoLabel : public QLabel {
    Q_OBJECT
  public:
    static const QString restingText;
    static const QString noDataText;
    static const QString storedText;
    // How long the confirmation of a copy stays before the resting hint returns.
    static constexpr int storedMilliseconds = 1728;

    explicit SampleInfoLabel(QWidget* parent = nullptr); // object name "lblsit"

    // Shows the list of picked samples, or "no data" when it is empty.
    void showHits(const QString& hitList);
    // The mouse button was released: with exactly Ctrl held, a picked list goes to the
    // clipboard; the resting hint returns (after the confirmation when copied).
    void release(Qt::KeyboardModifiers modifiers);

  private:
    QTimer restoreTimer_;
};

} // namespace torrentix
