#include "web/runjson.h"

#include <array>

#include "base/numberforms.h"
#include "base/text.h"
#include "index/classes.h"
#include "metrics/catalogue.h"

namespace torrentix::web {
namespace {

using Json = nlohmann::ordered_json;

Json numberOrNull(std::optional<double> value) {
    return value && std::isfinite(*value) ? Json(*value) : Json(nullptr);
}

Json intervalJson(const Interval& i) {
    return Json::array({numberOrNull(i.lo), numberOrNull(i.hi)});
}

Json regressionJson(const Regression& r) {
    if (!r.ok) {
        return {{"ok", false}};
    }
    return {{"ok", true},
            {"n", r.n},
            {"m", r.m},
            {"b", r.b},
            {"r2", r.r2},
            {"xmin", r.xmin},
            {"equation", "y = " + formatF3(r.m) + "x + " + formatF3(r.b)},
            {"r2Text", formatF3(r.r2)},
            {"bandHalfWidths", r.bandHalfWidths}};
}

// The bounds of an interval in the form `decimals` gives them.
Json boundTexts(const Interval& i, int decimals) {
    return Json::array({formatBound(i.lo, decimals), formatBound(i.hi, decimals)});
}

} // namespace

Json runViewJson(const RunResult& run, Gig gig) {
    Json out = {
        {"refused", run.refused}, {"messages", run.messages}, {"gigIndex", gigShortName(gig) + "_ICMi"}};
    out["classCounts"] = run.classcount;
    out["classNames"] = classNames;
    if (run.refused) {
        return out;
    }
    Json names = Json::array();
    for (const auto& name : run.table.testVariableNames) {
        names.push_back(run.table.utf8 ? name : cp1252ToUtf8(name));
    }
    out["testVariables"] = names;
    Json regressions = Json::array();
    for (std::size_t k = 0; k < 3; ++k) {
        regressions.push_back(
            {{"star", run.starRegressions[k] ? regressionJson(*run.starRegressions[k]) : Json()},
             {"gig", run.gigRegressions[k] ? regressionJson(*run.gigRegressions[k]) : Json()}});
    }
    out["regressions"] = regressions;
    out["resultsFile"] = run.outputPath;
    return out;
}

Json intervalsViewJson(const BootstrapResult& b) {
    Json regressions = Json::array();
    for (const auto& r : b.regressions) {
        Json band = Json::array();
        for (const auto& i : r.band) {
            band.push_back(intervalJson(i));
        }
        regressions.push_back({{"star", r.star},
                               {"variable", r.variable},
                               {"counted", r.counted},
                               {"m", intervalJson(r.m)},
                               {"b", intervalJson(r.b)},
                               {"r2", intervalJson(r.r2)},
                               {"mText", boundTexts(r.m, 3)},
                               {"r2Text", boundTexts(r.r2, 3)},
                               {"band", band}});
    }
    return {{"replicates", b.replicates}, {"counted", b.counted}, {"regressions", regressions}};
}

std::string jsonText(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace torrentix::web
