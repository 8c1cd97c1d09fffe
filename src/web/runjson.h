#pragma once
// A computed run, and its bootstrap intervals, as JSON for the page's views: the results
// list, the class histogram and the scatter plots. Numbers are the engine's values at full
// precision; texts are UTF-8.

#include "run/bootstrap.h"
#include "run/computerun.h"

#include <nlohmann/json.hpp>

namespace torrentix::web {

nlohmann::ordered_json runViewJson(const RunResult& run, Gig gig);
nlohmann::ordered_json intervalsViewJson(const BootstrapResult& intervals);

// JSON text in which a text that is not UTF-8 has its faulty bytes replaced.
std::string jsonText(const nlohmann::ordered_json& json);

} // namespace torrentix::web
