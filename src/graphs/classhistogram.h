#pragma once
// The class histogram of the RESULTS view: one bar per quality class, in proportion to the
// class's count, and the count above it, over seven fixed labels; in the colours of the
// screen. Screen readers read each class's count from its label, and all of them from the
// histogram.

#include "index/classes.h"

#include <QWidget>

#include <array>

class QLabel;

namespace torrentix {

class ClassHistogram : public QWidget {
    Q_OBJECT
  public:
    explicit ClassHistogram(QWidget* parent = nullptr); // object name "classHistogram"

    // Draws the bars of these counts anew (setClassCounts); no bars when nsamp is 0.
    void setClassCounts(const ClassCounts& counts, int nsamp);

    // The bars as they are drawn at the current size.
    std::array<QRectF, 7> bars() const;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QFont countFont() const;
    void showLabelColours();
    void describeCounts();

    std::array<QLabel*, 7> classCountLabels_{};
    ClassCounts counts_{};
    int nsamp_ = 0;
};

} // namespace torrentix
