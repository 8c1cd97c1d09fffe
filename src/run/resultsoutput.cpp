#include "run/resultsoutput.h"

#include "base/error.h"
#include "base/files.h"
#include "base/platform.h"
#include "base/text.h"
#include "report/resultsfile.h"

#include <algorithm>

namespace torrentix {

std::optional<std::string> chooseResultsPath(const std::string& sourcePath, const std::string& folder,
                                             const ExistingResultsFile& existing) {
    std::string path = resultsPathFor(sourcePath, folder);
    if (!fileExists(path) || !existing) {
        return path;
    }
    auto chosen = existing(path);
    if (chosen && platform::sameFile(*chosen, sourcePath)) {
        throw Error("The results file cannot replace the sample file " + sourcePath + ".");
    }
    return chosen;
}

void useOneEncoding(SampleTable& t) {
    if (t.utf8 || !hasNonAscii(t.sourcePath) || utf8ToCp1252(t.sourcePath)) {
        return;
    }
    auto convert = [](std::string& text) { text = cp1252ToUtf8(text); };
    convert(t.title);
    std::for_each(t.ignoredColumns.begin(), t.ignoredColumns.end(), convert);
    std::for_each(t.headerlabel.begin(), t.headerlabel.end(), convert);
    std::for_each(t.testVariableNames.begin(), t.testVariableNames.end(), convert);
    std::for_each(t.familyNames.begin(), t.familyNames.end(), convert);
    for (Sample& sample : t.samples) {
        convert(sample.code);
        convert(sample.name);
        convert(sample.fullName);
    }
    t.utf8 = true;
}

} // namespace torrentix
