#pragma once
// The bulk of a run's views, handed to the page as flat arrays instead of JSON, so that
// 200,000 samples cross to the page without being parsed or copied one by one: the values
// the plot draws, the order of the samples along each test variable, and the results list's
// cells as UTF-8 text with the ranks they sort by (those of the desktop program's list).

#include "run/bootstrap.h"
#include "run/computerun.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace torrentix::web {

// One column of the results list: its cells' texts one after another, where each ends, and
// the rank each sorts by (0: no value, last in either direction).
struct ListColumnArrays {
    std::string text;
    std::vector<std::uint32_t> ends;
    std::vector<std::uint32_t> ranks;
};

struct ViewArrays {
    // The STAR_ICMi, the GIG ICMi, then each test variable's normalised values (NaN: none).
    std::vector<std::vector<double>> values;
    // Per test variable, the samples with a normalised value in ascending order of it.
    std::vector<std::vector<std::uint32_t>> byTestValue;
    std::vector<ListColumnArrays> list;
};

// "#", CODE, SAMPLE, CLASS, both indices and the three test variables; `progress` is told the
// fraction of the columns made.
ViewArrays runViewArrays(const RunResult& run, const std::function<void(double)>& progress);
// The list's columns of the intervals: both bounds of the STAR_ICMi, then of the GIG ICMi.
ViewArrays intervalsViewArrays(const BootstrapResult& intervals);

} // namespace torrentix::web
