#pragma once
// Screen positions are designed in twips (1/1440 inch); widgets work in pixels.

#include <cmath>

namespace torrentix {

inline constexpr double twipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / twipsPerInch));
}

inline double pixelsToTwips(double pixels, double dotsPerInch) {
    return pixels * twipsPerInch / dotsPerInch;
}

} // namespace torrentix
