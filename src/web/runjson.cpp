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
            {"bandHalfWidths", r.bandHalfWidths}};
}

// The samples as columns, one array per field, in the order of the run's table.
Json samplesJson(const RunResult& run) {
    const SampleTable& t = run.table;
    const auto text = [&t](const std::string& s) { return t.utf8 ? s : cp1252ToUtf8(s); };
    Json codes = Json::array();
    Json names = Json::array();
    Json classes = Json::array();
    std::array<Json, 3> tests = {Json::array(), Json::array(), Json::array()};
    std::array<Json, 3> normalised = {Json::array(), Json::array(), Json::array()};
    for (std::size_t i = 0; i < t.samples.size(); ++i) {
        const Sample& s = t.samples[i];
        codes.push_back(text(s.code));
        names.push_back(text(s.name));
        classes.push_back(s.qualityClass);
        for (std::size_t k = 0; k < 3; ++k) {
            tests[k].push_back(text(s.testValueTexts[k]));
            const auto& column = run.testNormalised[k];
            normalised[k].push_back(i < column.size() ? numberOrNull(column[i]) : Json(nullptr));
        }
    }
    return {{"code", codes},
            {"name", names},
            {"class", classes},
            {"star", run.indices.staricm},
            {"gig", run.indices.gigicm},
            {"tests", tests},
            {"x", normalised}};
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
    out["samples"] = samplesJson(run);
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
    Json star = Json::array();
    Json gig = Json::array();
    for (const auto& i : b.star) {
        star.push_back(intervalJson(i));
    }
    for (const auto& i : b.gig) {
        gig.push_back(intervalJson(i));
    }
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
                               {"band", band}});
    }
    return {{"replicates", b.replicates},
            {"counted", b.counted},
            {"star", star},
            {"gig", gig},
            {"regressions", regressions}};
}

std::string jsonText(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace torrentix::web
