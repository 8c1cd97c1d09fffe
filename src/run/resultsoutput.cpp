#include "run/resultsoutput.h"

#include "base/error.h"
#include "base/files.h"
#include "base/text.h"
#include "report/resultsfile.h"

#include <algorithm>

namespace torrentix {

std::optional<std::string> chooseResultsPath(const std::string& inputpath, const std::string& folder,
                                             const ExistingResultsFile& existing) {
    std::string path = resultsPathFor(inputpath, folder);
    if (!fileExists(path) || !existing) {
        return path;
    }
    auto chosen = existing(path);
    if (chosen && *chosen == inputpath) {
        throw Error("The results file cannot replace the sample file " + inputpath + ".");
    }
    return chosen;
}

void useOneEncoding(SampleTable& t) {
    if (t.utf8 || !hasNonAscii(t.inputpath) || utf8ToCp1252(t.inputpath)) {
        return;
    }
    auto convert = [](std::string& text) { text = cp1252ToUtf8(text); };
    convert(t.titleline);
    convert(t.ignoredtaxa);
    std::for_each(t.headerlabel.begin(), t.headerlabel.end(), convert);
    std::for_each(t.testname.begin(), t.testname.end(), convert);
    std::for_each(t.famnames.begin(), t.famnames.end(), convert);
    for (Sample& sample : t.samples) {
        convert(sample.code);
        convert(sample.name);
        convert(sample.fullName);
    }
    t.utf8 = true;
}

} // namespace torrentix
