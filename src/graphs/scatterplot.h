#pragma once
// The plot area of the GRAPHS view (plotPanel): draws the scatter plot scene, reports
// mouse presses and releases for point picking, and copies or saves the figure (also from
// its context menu).

#include "graphs/plotscene.h"

#include <QWidget>

namespace torrentix {

class ScatterPlot : public QWidget {
    Q_OBJECT
  public:
    explicit ScatterPlot(QWidget* parent = nullptr); // object name "plotPanel"

    void setInput(PlotInput input);
    const PlotInput& input() const { return input_; }
    // The scale of the plot as it is drawn at the widget's current size.
    PlotScale currentScale() const;

    void copyImage() const;
    void saveImageAs();

  signals:
    void pressed(QPointF pointer);
    void released(Qt::KeyboardModifiers modifiers);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QColor foreground() const;

    PlotInput input_;
};

} // namespace torrentix
