#pragma once
// A sample table built directly, without a file: one family name per column, one row of
// abundances and one class per sample (Reference when not given); test values "N/A".

#include "base/text.h"
#include "input/sampletable.h"

#include <string>
#include <vector>

namespace torrentix::testing {

inline SampleTable makeTable(std::vector<std::string> families, const std::vector<std::vector<double>>& rows,
                             const std::vector<int>& classes = {}) {
    SampleTable t;
    t.sourcePath = "/data/test.txt";
    t.familyNames = std::move(families);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Sample s;
        s.code = std::to_string(i + 1);
        s.name = fitWidth("sample", sampleNameWidth, false);
        s.qualityClass = i < classes.size() ? classes[i] : 6;
        s.testValueTexts = {"N/A", "N/A", "N/A"};
        t.samples.push_back(s);
        t.abundances.appendRow(rows[i]);
    }
    return t;
}

} // namespace torrentix::testing
