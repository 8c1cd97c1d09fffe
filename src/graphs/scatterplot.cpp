#include "graphs/scatterplot.h"

#include "graphs/plotexport.h"
#include "graphs/plotpainter.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

namespace torrentix {

ScatterPlot::ScatterPlot(QWidget* parent) : QWidget(parent) {
    setObjectName("plotPanel");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScatterPlot::setInput(PlotInput input) {
    input_ = std::move(input);
    update();
}

PlotScale ScatterPlot::currentScale() const {
    return plotScaleFor(input_, QSizeF(size()));
}

QColor ScatterPlot::foreground() const {
    return palette().color(QPalette::WindowText);
}

void ScatterPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPlotScene(painter, buildPlotScene(input_, QSizeF(size())), foreground());
}

void ScatterPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit pressed(event->position());
    }
    event->accept();
}

void ScatterPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit released(event->modifiers());
    }
    event->accept();
}

void ScatterPlot::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("Copy image"), this, &ScatterPlot::copyImage);
    menu.addAction(tr("Save image as\u2026"), this, &ScatterPlot::saveImageAs);
    menu.exec(event->globalPos());
}

void ScatterPlot::copyImage() const {
    QApplication::clipboard()->setImage(renderPlotImage(input_, size(), foreground()));
}

void ScatterPlot::saveImageAs() {
    QString filter;
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Save image as"), QStringLiteral("plot.png"),
                                                        imageFilters(), &filter);
    if (chosen.isEmpty()) {
        return;
    }
    const ImageFormat format = imageFormatFor(chosen, filter);
    const QString path = withImageSuffix(chosen, format);
    if (const auto problem = savePlotImage(path, format, input_, size(), foreground())) {
        QMessageBox::warning(this, QString(),
                             tr("The image could not be saved to %1: %2").arg(path, *problem));
    }
}

} // namespace torrentix
