#include "graphs/scatterplot.h"

#include "base/numberforms.h"
#include "graphs/colourscheme.h"
#include "graphs/plotexport.h"
#include "graphs/plotpainter.h"
#include "graphs/samplestepping.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

namespace torrentix {

ScatterPlot::ScatterPlot(QWidget* parent) : QWidget(parent), updates_(&QAccessible::updateAccessibility) {
    setObjectName("plotPanel");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Scatter plot"));
}

void ScatterPlot::setInput(PlotInput input) {
    input_ = std::move(input);
    current_.reset();
    announce();
    update();
}

// The name says which sample is chosen, the description its values; screen readers are
// told of both changes.
void ScatterPlot::announce() {
    const QString plotted = input_.usable ? input_.yTitle + tr(" against ") + input_.xTitle : QString();
    QString name = tr("Scatter plot");
    QString description = plotted;
    if (current_) {
        const std::size_t i = *current_;
        const QString sample = sampleNames_ ? sampleNames_(i) : tr("sample %1").arg(i + 1);
        name += QStringLiteral(", ") + sample;
        description =
            QStringLiteral("%1: %2 %3, %4 %5. %6")
                .arg(sample, input_.xTitle, QString::fromStdString(formatF2(input_.x[i].value_or(0.0))),
                     input_.yTitle, QString::fromStdString(formatF2(input_.y[i])), plotted);
    }
    setAccessibleName(name);
    setAccessibleDescription(description);
    for (const QAccessible::Event change : {QAccessible::NameChanged, QAccessible::DescriptionChanged}) {
        QAccessibleEvent event(this, change);
        updates_(&event);
    }
}

PlotScale ScatterPlot::currentScale() const {
    return plotSceneScale(input_, QSizeF(size()));
}

void ScatterPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const PlotScene scene = buildPlotScene(input_, QSizeF(size()));
    paintPlotScene(painter, scene, screenColours(palette()));
    if (hasFocus()) {
        paintFocus(painter, scene);
    }
}

// A dashed frame round the plot, and a ring round the sample chosen by keyboard.
void ScatterPlot::paintFocus(QPainter& painter, const PlotScene& scene) const {
    const QColor text = screenColours(palette()).plot.text;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(text, 1.0, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (current_) {
        const double r = 2.5 * scene.scale.radius() + 2.0;
        painter.setPen(QPen(text, 2.0));
        painter.drawEllipse(scene.scale.toPixel(*input_.x[*current_], input_.y[*current_]), r, r);
    }
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

// Arrow keys, Home and End step through the samples; Ctrl+C copies the figure; Shift+F10
// and the Menu key open the context menu at the chosen sample.
void ScatterPlot::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = (event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier) ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        openMenu(menuPoint());
    } else if (event->matches(QKeySequence::Copy)) {
        copyImage();
    } else if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !step(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool ScatterPlot::step(int key) {
    const auto next = nextSample(input_, current_, key);
    if (!next) {
        return isSteppingKey(key);
    }
    current_ = next;
    announce();
    update();
    emit stepped(currentScale().toPixel(*input_.x[*current_], input_.y[*current_]));
    return true;
}

QPoint ScatterPlot::menuPoint() const {
    if (current_) {
        return currentScale().toPixel(*input_.x[*current_], input_.y[*current_]).toPoint();
    }
    return rect().center();
}

void ScatterPlot::contextMenuEvent(QContextMenuEvent* event) {
    openMenu(event->reason() == QContextMenuEvent::Keyboard ? menuPoint() : event->pos());
}

void ScatterPlot::openMenu(QPoint at) {
    QMenu menu(this);
    menu.setObjectName("plotMenu");
    QAction* copy = menu.addAction(tr("Copy image"), this, &ScatterPlot::copyImage);
    copy->setShortcut(QKeySequence::Copy);
    menu.addAction(tr("Save image as\u2026"), this, &ScatterPlot::saveImageAs);
    menu.exec(mapToGlobal(at));
}

void ScatterPlot::copyImage() const {
    QApplication::clipboard()->setImage(renderPlotImage(input_, size()));
}

// Offers the dialog again, where the user may choose another folder, as long as the image
// cannot be written.
void ScatterPlot::saveImageAs() {
    QString start = QDir(imageFolder_).filePath(QStringLiteral("plot.png"));
    for (;;) {
        QString filter;
        const QString chosen =
            QFileDialog::getSaveFileName(this, tr("Save image as"), start, imageFilters(), &filter);
        if (chosen.isEmpty()) {
            return;
        }
        const ImageFormat format = imageFormatFor(chosen, filter);
        const QString path = withImageSuffix(chosen, format);
        const auto problem = savePlotImage(path, format, input_, size());
        if (!problem) {
            return;
        }
        QMessageBox::warning(
            this, QString(),
            tr("The image could not be saved to %1: %2\nPlease choose another place.").arg(path, *problem));
        start = path;
    }
}

} // namespace torrentix
