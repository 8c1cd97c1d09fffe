#pragma once
// A computed run, and its bootstrap intervals, as JSON for the page's views: the class
// histogram, the report's pieces and the regressions of the scatter plots (their samples and
// the results list come as flat arrays, viewarrays.h). The texts the views show are the
// engine's, in the forms of the desktop program (the equation, r² and the intervals'
// bounds); the numbers the plot draws are its values at full precision. Texts are UTF-8.

#include "run/bootstrap.h"
#include "run/computerun.h"

#include <nlohmann/json.hpp>

namespace torrentix::web {

nlohmann::ordered_json runViewJson(const RunResult& run, Gig gig);
nlohmann::ordered_json intervalsViewJson(const BootstrapResult& intervals);

// JSON text in which a text that is not UTF-8 has its faulty bytes replaced.
std::string jsonText(const nlohmann::ordered_json& json);

} // namespace torrentix::web
