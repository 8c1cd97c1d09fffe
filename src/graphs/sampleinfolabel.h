#pragma once
// The information line beside the scatter plot (sampleInfo): a resting hint, the samples
// under the pointer while the mouse button is held, and a short confirmation after their
// data have been copied to the clipboard.

#include <QLabel>
#include <QStringList>
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

    explicit SampleInfoLabel(QWidget* parent = nullptr); // object name "sampleInfoLabel"

    // Shows how many samples were picked and as many of their entries as the label holds,
    // then "… and N more"; "no data" when there is none.
    void showHits(const QStringList& entries);
    // Shows the resting hint and forgets any picked samples.
    void rest();
    // The mouse button was released: with exactly Ctrl held, every picked entry goes to
    // the clipboard; the resting hint returns (after the confirmation when copied).
    void release(Qt::KeyboardModifiers modifiers);

  private:
    bool fits(const QString& text) const;
    QString fittedList(const QStringList& entries) const;

    QTimer restoreTimer_;
    QString picked_; // the entries of the last press, all of them
};

} // namespace torrentix
