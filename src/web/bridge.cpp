// The engine module of the page, for its Web Worker: the session's calls bound for
// JavaScript. Progress goes to a JavaScript function given with each call; the views' flat
// arrays come as typed arrays of JavaScript's own, which the worker hands on to the page
// without a further copy.

#include "web/session.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace {

using emscripten::val;
using torrentix::web::Session;

torrentix::web::Progress progressOf(val report) {
    return [report](double fraction, const std::string& stage) { report(fraction, stage); };
}

std::string inspect(Session& s, const std::string& path, const std::string& map, bool decimalComma,
                    bool readPastBlankLines, val progress) {
    return s.inspectJson(path, map, decimalComma, readPastBlankLines, progressOf(progress));
}

std::string run(Session& s, const std::string& request, val progress) {
    return s.runJson(request, progressOf(progress));
}

std::string intervals(Session& s, int replicates, double seed, val progress) {
    return s.intervalsJson(replicates, seed, progressOf(progress));
}

// A copy, out of the module's memory, of the elements of `data`.
template <typename T> val copied(const T* data, std::size_t size) {
    return val(emscripten::typed_memory_view(size, data)).call<val>("slice");
}

template <typename T> val arrayOf(const std::vector<T>& items, val (*each)(const T&)) {
    val array = val::array();
    for (const T& item : items) {
        array.call<void>("push", each(item));
    }
    return array;
}

template <typename T> val copiedVector(const std::vector<T>& v) {
    return copied(v.data(), v.size());
}

val listColumn(const torrentix::web::ListColumnArrays& c) {
    val column = val::object();
    column.set("text", copied(reinterpret_cast<const unsigned char*>(c.text.data()), c.text.size()));
    column.set("ends", copiedVector(c.ends));
    column.set("ranks", copiedVector(c.ranks));
    return column;
}

// {values: [Float64Array], byTestValue: [Uint32Array], list: [{text, ends, ranks}]}, once.
val takeViewArrays(Session& s) {
    const torrentix::web::ViewArrays arrays = s.takeViewArrays();
    val out = val::object();
    out.set("values", arrayOf(arrays.values, &copiedVector<double>));
    out.set("byTestValue", arrayOf(arrays.byTestValue, &copiedVector<std::uint32_t>));
    out.set("list", arrayOf(arrays.list, &listColumn));
    return out;
}

} // namespace

EMSCRIPTEN_BINDINGS(torrentix_engine) {
    emscripten::class_<Session>("Session")
        .constructor<std::string>()
        .function("families", &Session::familiesJson)
        .function("inspect", &inspect)
        .function("run", &run)
        .function("intervals", &intervals)
        .function("takeViewArrays", &takeViewArrays)
        .function("filesRead", &Session::filesRead);
}
