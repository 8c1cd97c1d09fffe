#include "graphs/graphslayout.h"

#include "graphs/twips.h"

#include <QRectF>

#include <algorithm>

namespace torrentix {
namespace {

// Distances in twips.
constexpr double buttonRowMargin = 80.0; // the button row below the plot, beyond its buttons
constexpr double buttonGap = 30.0;
constexpr double designButtonHeight = 345.0; // at the design's text size
constexpr double designTestButtonWidth = 1215.0;
constexpr double designSwitchButtonWidth = 735.0;
constexpr double designSaveButtonWidth = 1500.0;
constexpr double sideGap = 75.0;      // between the plot and the texts beside it
constexpr double rightMargin = 200.0; // right of the texts
constexpr double textGap = 50.0;      // between the information line and the regression text
constexpr double narrowestSide = 2400.0;

class TwipsToPixels {
  public:
    TwipsToPixels(double dpiX, double dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}
    QRect operator()(const QRectF& twips) const {
        const int left = twipsToPixels(twips.left(), dpiX_);
        const int top = twipsToPixels(twips.top(), dpiY_);
        const int right = twipsToPixels(twips.left() + std::max(0.0, twips.width()), dpiX_);
        const int bottom = twipsToPixels(twips.top() + std::max(0.0, twips.height()), dpiY_);
        return QRect(left, top, right - left, bottom - top);
    }

  private:
    double dpiX_;
    double dpiY_;
};

} // namespace

GraphsLayout graphsLayout(QSize view, double dpiX, double dpiY, double text) {
    const double width = pixelsToTwips(view.width(), dpiX);
    const double height = pixelsToTwips(view.height(), dpiY);
    const double buttonHeight = text * designButtonHeight;
    const double testButtonWidth = text * designTestButtonWidth;
    const double switchButtonWidth = text * designSwitchButtonWidth;
    const double saveButtonWidth = text * designSaveButtonWidth;
    // The plot is square unless the view is too narrow to leave room for the texts. When the
    // buttons under it do not fit in one row beside each other, the index switch goes to a
    // second row.
    const double rowWidth = 2 * switchButtonWidth + 3 * testButtonWidth + 5 * buttonGap;
    const auto plotSize = [&](int rows) {
        const double h =
            std::max(0.0, height - rows * (buttonHeight + buttonGap) - buttonRowMargin + buttonGap);
        return std::pair(h, std::max(0.0, std::min(h, width - sideGap - rightMargin - text * narrowestSide)));
    };
    const bool twoRows = plotSize(1).second < rowWidth;
    const auto [plotHeight, plotWidth] = plotSize(twoRows ? 2 : 1);
    const QRectF plot(0.0, 0.0, plotWidth, plotHeight);

    const double buttonTop = plot.bottom() + buttonGap;
    std::array<QRectF, 3> tvar;
    double rightEdge = plot.right();
    for (QRectF& button : tvar) {
        button = QRectF(rightEdge - testButtonWidth, buttonTop, testButtonWidth, buttonHeight);
        rightEdge = button.left() - buttonGap;
    }
    const QRectF star(plot.left(), buttonTop + (twoRows ? buttonHeight + buttonGap : 0.0), switchButtonWidth,
                      buttonHeight);
    const QRectF gig(star.right() + buttonGap, star.top(), switchButtonWidth, buttonHeight);

    const double textLeft = plot.right() + sideGap;
    const double textWidth = width - rightMargin - textLeft;
    const QRectF info(textLeft, plot.top(), textWidth, 0.4 * plotWidth);
    const QRectF regression(textLeft, info.bottom() + textGap, textWidth, 0.56 * plotHeight);
    const QRectF save(textLeft, buttonTop, std::min(saveButtonWidth, textWidth), buttonHeight);

    const TwipsToPixels toPixels(dpiX, dpiY);
    GraphsLayout layout;
    layout.plot = toPixels(plot);
    layout.indexButtons = {toPixels(star), toPixels(gig)};
    layout.testVariableButtons = {toPixels(tvar[0]), toPixels(tvar[1]), toPixels(tvar[2])};
    layout.sampleInfo = toPixels(info);
    layout.txtRegr = toPixels(regression);
    layout.cmdsave = toPixels(save);
    return layout;
}

} // namespace torrentix
