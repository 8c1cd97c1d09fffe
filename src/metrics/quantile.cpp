#include "metrics/quantile.h"

#include <cmath>
#include <utility>

namespace torrentix {

void sortvals(std::vector<double>& values, long lo, long hi) {
    // Recurse into the smaller part and loop on the larger, so the depth stays logarithmic.
    while (lo < hi) {
        long i = lo;
        long j = hi;
        const double pivot = values[static_cast<std::size_t>((lo + hi) / 2)];
        while (i <= j) {
            while (values[static_cast<std::size_t>(i)] < pivot && i < hi) {
                ++i;
            }
            while (pivot < values[static_cast<std::size_t>(j)] && j > lo) {
                --j;
            }
            if (i <= j) {
                std::swap(values[static_cast<std::size_t>(i)], values[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            sortvals(values, lo, j);
            lo = i;
        } else {
            sortvals(values, i, hi);
            hi = j;
        }
    }
}

float quantile(std::vector<double>& values, bool median) {
    const auto n = static_cast<long>(values.size());
    if (n == 0) {
        return 0.0f;
    }
    sortvals(values, 0, n - 1);
    // 1-based access, as the method states its positions.
    auto at = [&](long position) { return values[static_cast<std::size_t>(position - 1)]; };
    double result = 0.0;
    if (median) {
        result = (n % 2 == 0) ? (at(n / 2) + at(n / 2 + 1)) / 2.0 : at((n + 1) / 2);
    } else if (n == 1) {
        result = at(1);
    } else {
        const double q = 0.75 * static_cast<double>(n);
        const double whole = std::floor(q);
        const double f = q - whole;
        const auto k = static_cast<long>(whole);
        result = (f == 0.0) ? at(k) : at(k) * (1.0 - f) + at(k + 1) * f;
    }
    return static_cast<float>(result);
}

} // namespace torrentix
