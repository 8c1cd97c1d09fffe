#pragma once
// Screen positions are designed in twips (1/1440 inch); widgets work in pixels.

#include <algorithm>
#include <cmath>

namespace torrentix {

inline constexpr double twipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / twipsPerInch));
}

inline double pixelsToTwips(double pixels, double dotsPerInch) {
    return pixels * twipsPerInch / dotsPerInch;
}

// How much taller than the design's a line of text is: the design's controls hold a line
// of 210 twips (14 pixels at 96 dots per inch); a larger font makes them grow by as much,
// never shrink.
inline double textScale(double lineHeightPixels, double dotsPerInch) {
    return std::max(1.0, pixelsToTwips(lineHeightPixels, dotsPerInch) / 210.0);
}

// The same for a widget's own font and screen.
template <class Widget> double textScaleOf(const Widget& widget) {
    return textScale(widget.fontMetrics().height(), widget.logicalDpiY());
}

} // namespace torrentix
