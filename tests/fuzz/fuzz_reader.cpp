// libFuzzer target of the sample-file reader and of the taxon-name resolution.
//
// Each input is written to a file and read as a sample file; every unknown taxon name is
// answered "ignore" and "suggest" in turn, as a user might, so that both the ignored
// columns and the suggested families are exercised, and the corrected-file text is built
// when names were corrected. The file is read again in small blocks on two threads, which
// must give the same table or the same message. The input is then cut at TABs and line
// ends and each piece resolved as a single taxon name. A read may fail with a message
// (torrentix::Error); anything else (a crash, a sanitizer report, another exception) is a
// fault.

#include "base/files.h"
#include "base/text.h"
#include "fuzzcontext.h"
#include "input/nameresolution.h"
#include "input/samplereader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace torrentix;
using fuzzing::context;

// Answers "ignore" to the first unknown name, "suggest" to the second, and so on; a
// suggestion that is missing means "ignore".
UnknownTaxonHandler alternatingAnswers(int& asked) {
    return [&asked](const UnknownTaxonQuestion& q) {
        const bool suggest = asked++ % 2 == 1;
        if (suggest && q.suggestion) {
            return UnknownTaxonAnswer::family(q.suggestion->id, q.suggestion->family);
        }
        return UnknownTaxonAnswer::ignore();
    };
}

// The table a read gives, as text, or the message of the file's refusal.
std::string readOutcome(const ReadOptions& options) {
    const auto& c = context();
    int asked = 0;
    try {
        const ReadResult r =
            readSampleFile(c.samplePath(), c.taxa(), c.tree(), alternatingAnswers(asked), options);
        const std::string corrected = correctedFileText(r.table);
        if (r.status == ReadResult::Status::Ok && corrected.empty()) {
            std::abort(); // a table always has its title and header lines
        }
        return corrected + doubtfulCellsText(r) + std::to_string(r.notes.size());
    } catch (const Error& e) {
        // A file the reader refuses, with its message: the expected outcome for most inputs.
        return e.what();
    }
}

void readAsSampleFile(std::string_view bytes) {
    fuzzing::writeSample(bytes);
    const std::string whole = readOutcome({.threads = 1});
    if (readOutcome({.threads = 2, .blockBytes = 1 + bytes.size() % 61}) != whole) {
        std::abort(); // blocks joined must read as one pass
    }
}

void resolveEachName(std::string_view bytes) {
    const auto& c = context();
    int asked = 0;
    const auto ask = alternatingAnswers(asked);
    constexpr int mostNames = 64;
    int names = 0;
    while (!bytes.empty() && names++ < mostNames) {
        const auto end = bytes.find_first_of("\t\r\n");
        const std::string_view name = bytes.substr(0, end);
        const bool utf8 = hasNonAscii(name) && isValidUtf8(name);
        resolveTaxonName(c.taxa(), c.tree(), toUpperAscii(name), utf8, ask);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readAsSampleFile(bytes);
    resolveEachName(bytes);
    return 0;
}
