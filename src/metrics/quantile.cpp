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

// The same order statistics and arithmetic as medianOfSorted and percentile75OfSorted,
// without sorting the whole list.
float referenceQuantile(std::vector<double>& values, bool median) {
    const std::size_t n = values.size();
    if (n == 0) {
        return 0.0f;
    }
    if (median) {
        const auto [low, high] = orderStatistics(values, n % 2 == 0 ? n / 2 - 1 : n / 2);
        return static_cast<float>(n % 2 == 0 ? (low + high) / 2.0 : low);
    }
    if (n == 1) {
        return static_cast<float>(values[0]);
    }
    const double q = 0.75 * static_cast<double>(n);
    const double whole = std::floor(q);
    const double f = q - whole;
    const auto [at, next] = orderStatistics(values, static_cast<std::size_t>(whole) - 1);
    return static_cast<float>(f == 0.0 ? at : at * (1.0 - f) + next * f);
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
