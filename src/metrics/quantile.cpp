#include "metrics/quantile.h"

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

// R's type 7: the value at 0-based position h = (n - 1) x p, between the order statistics
// `low` (at floor(h)) and `high` (the next one, or `low` itself at the end).
struct Type7Position {
    std::size_t low;
    double fraction;

    Type7Position(std::size_t n, double p) {
        const double h = (static_cast<double>(n) - 1.0) * p;
        low = static_cast<std::size_t>(std::floor(h));
        fraction = h - static_cast<double>(low);
    }
    double between(double lowValue, double highValue) const {
        return lowValue + fraction * (highValue - lowValue);
    }
};

} // namespace

double medianOfSorted(const std::vector<double>& sorted) {
    const std::size_t n = sorted.size();
    return n % 2 == 0 ? (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0 : sorted[n / 2];
}

double percentile75OfSorted(const std::vector<double>& sorted) {
    const std::size_t n = sorted.size();
    if (n == 1) {
        return sorted[0];
    }
    // 1-based positions, as the method states them.
    auto at = [&](std::size_t position) { return sorted[position - 1]; };
    const double q = 0.75 * static_cast<double>(n);
    const double whole = std::floor(q);
    const double f = q - whole;
    const auto k = static_cast<std::size_t>(whole);
    return f == 0.0 ? at(k) : at(k) * (1.0 - f) + at(k + 1) * f;
}

float referenceQuantile(std::vector<double>& values, bool median) {
    if (values.empty()) {
        return 0.0f;
    }
    std::sort(values.begin(), values.end());
    return static_cast<float>(median ? medianOfSorted(values) : percentile75OfSorted(values));
}

double quantileType7(const std::vector<double>& sorted, double p) {
    const Type7Position at(sorted.size(), p);
    return at.between(sorted[at.low], sorted[std::min(at.low + 1, sorted.size() - 1)]);
}

double quantileType7Unsorted(std::vector<double>& values, double p) {
    const Type7Position at(values.size(), p);
    const auto low = values.begin() + static_cast<std::ptrdiff_t>(at.low);
    std::nth_element(values.begin(), low, values.end());
    const double high = low + 1 != values.end() ? *std::min_element(low + 1, values.end()) : *low;
    return at.between(*low, high);
}

} // namespace torrentix
