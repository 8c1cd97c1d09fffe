#include "graphs/samplestepping.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace torrentix {
namespace {

// The plottable samples in order along x (alongY false) or y.
std::vector<std::size_t> samplesAlong(const PlotInput& input, bool alongY) {
    std::vector<std::size_t> order;
    const auto count = std::min(input.x.size(), input.y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (isPlottable(input.x[i], input.y[i])) {
            order.push_back(i);
        }
    }
    const auto key = [&](std::size_t i) {
        return alongY ? std::tuple(input.y[i], *input.x[i], i) : std::tuple(*input.x[i], input.y[i], i);
    };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    return order;
}

} // namespace

bool isSteppingKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
           key == Qt::Key_Home || key == Qt::Key_End;
}

std::optional<std::size_t> nextSample(const PlotInput& input, std::optional<std::size_t> current, int key) {
    if (!input.usable || !isSteppingKey(key)) {
        return std::nullopt;
    }
    const std::vector<std::size_t> order = samplesAlong(input, key == Qt::Key_Up || key == Qt::Key_Down);
    if (order.empty()) {
        return std::nullopt;
    }
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Home;
    if (key == Qt::Key_Home || key == Qt::Key_End) {
        return forward ? order.front() : order.back();
    }
    const auto at = current ? std::find(order.begin(), order.end(), *current) : order.end();
    if (at == order.end()) {
        return forward ? order.front() : order.back();
    }
    if (forward) {
        return std::next(at) == order.end() ? *at : *std::next(at);
    }
    return at == order.begin() ? *at : *std::prev(at);
}

} // namespace torrentix
