#pragma once
// The plot area of the GRAPHS view (plotPanel): draws the scatter plot scene in the colours
// of the screen, reports mouse presses and releases for point picking, steps from sample
// to sample with the arrow keys, and copies or saves the figure (also from its context
// menu, which Shift+F10 and the Menu key open as well).

#include "graphs/plotscene.h"

#include <QWidget>

#include <functional>
#include <optional>

class QAccessibleEvent;

namespace torrentix {

class ScatterPlot : public QWidget {
    Q_OBJECT
  public:
    explicit ScatterPlot(QWidget* parent = nullptr); // object name "plotPanel"

    // A new input forgets the sample chosen by keyboard.
    void setInput(PlotInput input);
    const PlotInput& input() const { return input_; }
    // The folder that "Save image as" opens first.
    void setImageFolder(const QString& folder) { imageFolder_ = folder; }
    // The scale of the plot as it is drawn at the widget's current size.
    PlotScale currentScale() const;
    // The sample (0-based) chosen with the keyboard, if any.
    std::optional<std::size_t> currentSample() const { return current_; }
    // How a sample is named when the keyboard chooses it: the plot's accessible name and
    // description then tell screen readers that sample and its values.
    void setSampleNames(std::function<QString(std::size_t)> names) { sampleNames_ = std::move(names); }
    // Where the changes of the name and description go: to screen readers through Qt's
    // accessibility, unless given elsewhere.
    void setAccessibleUpdates(std::function<void(QAccessibleEvent*)> updates) {
        updates_ = std::move(updates);
    }

    void copyImage() const;
    void saveImageAs();

  signals:
    void pressed(QPointF pointer);
    void released(Qt::KeyboardModifiers modifiers);
    // The keyboard chose the sample drawn at this point.
    void stepped(QPointF centre);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    bool step(int key);
    void openMenu(QPoint at);
    QPoint menuPoint() const;
    void paintFocus(QPainter& painter, const PlotScene& scene) const;
    void announce();

    PlotInput input_;
    QString imageFolder_;
    std::optional<std::size_t> current_;
    std::function<QString(std::size_t)> sampleNames_;
    std::function<void(QAccessibleEvent*)> updates_;
};

} // namespace torrentix
