#pragma once
// The short report of the RESULTS view: file, GIG and river type, samples and families,
// the spread over the quality classes and the test variables taking part.

#include "index/classes.h"

#include <array>
#include <string>
#include <vector>

namespace torrentix {

struct ReportInput {
    std::string sourcePath;
    int nsamp = 0;
    int nfam = 0;
    std::array<std::string, 3> testVariableNames;
    std::array<int, 3> numericTestValueCounts{};
    ClassCounts classcount{};
    std::string gigCaption;                   // empty when no GIG is selected
    std::string riverTypeCaption;             // empty when no river type is selected
    std::array<std::string, 3> minValueTexts; // "Min Value" texts
    std::array<bool, 3> biological{};         // "Biological" ticked
    std::vector<std::string> notes;           // said after the test variables, one per line
};

// Lines joined by CR LF, no line break after the last.
std::string reportText(const ReportInput& in);

} // namespace torrentix
