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

// The order statistic at 0-based position k of a non-empty list and the one after it (k
// itself at the end), as a sort would place them: found by selection, in linear time.
std::pair<double, double> orderStatistics(std::vector<double>& values, std::size_t k) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(k);
    std::nth_element(values.begin(), at, values.end());
    const double next = at + 1 != values.end() ? *std::min_element(at + 1, values.end()) : *at;
    return {*at, next};
}

// The method's median of n values: the middle order statistic, or the mean of the two
// middle ones; `low` is at 0-based position `first`, `high` the one after it.
struct MedianPosition {
    std::size_t n;
    std::size_t first() const { return n % 2 == 0 ? n / 2 - 1 : n / 2; }
    double between(double low, double high) const { return n % 2 == 0 ? (low + high) / 2.0 : low; }
};

// The method's 75th percentile of n values: 1-based position floor(0.75 x n) (the first
// for a single value) and the fraction toward the next order statistic.
struct Percentile75Position {
    std::size_t k = 1;
    double fraction = 0.0;

    explicit Percentile75Position(std::size_t n) {
        const double q = 0.75 * static_cast<double>(n);
        const double whole = std::floor(q);
        if (whole >= 1.0) {
            k = static_cast<std::size_t>(whole);
            fraction = q - whole;
        }
    }
    std::size_t first() const { return k - 1; }
    double between(double at, double next) const {
        return fraction == 0.0 ? at : at * (1.0 - fraction) + next * fraction;
    }
};

} // namespace

double medianOfSorted(const std::vector<double>& sorted) {
    const MedianPosition at{sorted.size()};
    return at.between(sorted[at.first()], sorted[std::min(at.first() + 1, sorted.size() - 1)]);
}

double percentile75OfSorted(const std::vector<double>& sorted) {
    const Percentile75Position at(sorted.size());
    return at.between(sorted[at.first()], sorted[std::min(at.first() + 1, sorted.size() - 1)]);
}

// The same order statistics and arithmetic as medianOfSorted and percentile75OfSorted,
// without sorting the whole list.
float referenceQuantile(std::vector<double>& values, bool median) {
    if (values.empty()) {
        return 0.0f;
    }
    if (median) {
        const MedianPosition at{values.size()};
        const auto [low, high] = orderStatistics(values, at.first());
        return static_cast<float>(at.between(low, high));
    }
    const Percentile75Position at(values.size());
    const auto [low, high] = orderStatistics(values, at.first());
    return static_cast<float>(at.between(low, high));
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
