#include "index/regression.h"

#include "base/numberforms.h"
#include "base/text.h"

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

// bandPoints is a 16-bit count of band points.
constexpr double maxBandPoints = 32767.0;

struct Sums {
    int n = 0;
    double xbar = 0.0, ybar = 0.0;
    double sxx = 0.0, sxy = 0.0, syy = 0.0;
    double xmax = 0.0, ymax = 0.0; // the band reaches the larger of the two, from 0
    double xmin = regressionXminStart;
};

Sums sumsOf(const std::vector<std::optional<double>>& x, const std::vector<double>& y) {
    Sums s;
    double sx = 0.0, sy = 0.0;
    const std::size_t count = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (x[i]) {
            ++s.n;
            sx += *x[i];
            sy += y[i];
        }
    }
    if (s.n == 0) {
        return s;
    }
    s.xbar = sx / s.n;
    s.ybar = sy / s.n;
    for (std::size_t i = 0; i < count; ++i) {
        if (!x[i]) {
            continue;
        }
        const double xi = *x[i];
        s.xmax = xi > s.xmax ? xi : s.xmax;
        s.ymax = y[i] > s.ymax ? y[i] : s.ymax;
        s.xmin = xi < s.xmin ? xi : s.xmin;
        s.sxy += (xi - s.xbar) * (y[i] - s.ybar);
        s.sxx += (xi - s.xbar) * (xi - s.xbar);
        s.syy += (y[i] - s.ybar) * (y[i] - s.ybar);
    }
    return s;
}

void computeBand(Regression& r, const Sums& s) {
    const double length = s.xmax > s.ymax ? s.xmax : s.ymax;
    // Bounded before any conversion to a whole number: a test variable of 1e40 gives the
    // longest band, not an out-of-range conversion.
    const double points = 10.0 * length;
    r.bandPoints = static_cast<int>(roundHalfEven(points < maxBandPoints ? points : maxBandPoints));
    r.bandHalfWidths.assign(static_cast<std::size_t>(std::max(r.bandPoints, 0)), 0.0);
    double s2 = (s.syy - s.sxy * s.sxy / s.sxx) * (1.0 / (s.n - 2));
    s2 = std::max(s2, 0.0);
    const double se = std::sqrt(s2);
    const double sb = std::sqrt(s2 / s.sxx);
    if (sb == 0.0) {
        return; // a perfect fit: the band has zero width
    }
    // Band factor: the square root of the absolute t value of the slope.
    const double f = std::sqrt(std::fabs(r.m / sb));
    for (int k = 1; k <= r.bandPoints; ++k) {
        const double dx = 0.1 * k - s.xbar;
        r.bandHalfWidths[static_cast<std::size_t>(k - 1)] = se * std::sqrt(1.0 / s.n + dx * dx / s.sxx) * f;
    }
}

} // namespace

Regression fitLine(const std::vector<std::optional<double>>& x, const std::vector<double>& y) {
    Regression r;
    const Sums s = sumsOf(x, y);
    r.n = s.n;
    if (s.n < 3 || s.sxx == 0.0 || s.syy == 0.0) {
        return r;
    }
    r.xmin = std::max(s.xmin - 0.2, 0.0);
    r.m = s.sxy / s.sxx;
    r.b = s.ybar - r.m * s.xbar;
    computeBand(r, s);
    double ssres = 0.0, sstot = 0.0;
    const std::size_t count = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (x[i]) {
            const double fitted = r.m * *x[i] + r.b;
            ssres += (y[i] - fitted) * (y[i] - fitted);
            sstot += (y[i] - s.ybar) * (y[i] - s.ybar);
        }
    }
    r.r2 = (sstot - ssres) / sstot;
    r.ok = std::isfinite(r.m) && std::isfinite(r.b) && std::isfinite(r.r2);
    return r;
}

Regression fitLine(const std::vector<std::string>& x, const std::vector<double>& y) {
    std::vector<std::optional<double>> values;
    values.reserve(x.size());
    for (const auto& text : x) {
        values.push_back(parseNumeric(text));
    }
    return fitLine(values, y);
}

} // namespace torrentix
