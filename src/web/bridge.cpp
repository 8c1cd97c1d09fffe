// The engine module of the page, for its Web Worker: the session's calls bound for
// JavaScript. Progress goes to a JavaScript function given with each call.

#include "web/session.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace {

using torrentix::web::Session;

torrentix::web::Progress progressOf(emscripten::val report) {
    return [report](double fraction, const std::string& stage) { report(fraction, stage); };
}

std::string inspect(Session& s, const std::string& path, const std::string& map, bool decimalComma,
                    bool readPastBlankLines, emscripten::val progress) {
    return s.inspectJson(path, map, decimalComma, readPastBlankLines, progressOf(progress));
}

std::string run(Session& s, const std::string& path, const std::string& request, emscripten::val progress) {
    return s.runJson(path, request, progressOf(progress));
}

std::string intervals(Session& s, int replicates, double seed, emscripten::val progress) {
    return s.intervalsJson(replicates, seed, progressOf(progress));
}

} // namespace

EMSCRIPTEN_BINDINGS(torrentix_engine) {
    emscripten::class_<Session>("Session")
        .constructor<std::string>()
        .function("families", &Session::familiesJson)
        .function("inspect", &inspect)
        .function("run", &run)
        .function("intervals", &intervals);
}
