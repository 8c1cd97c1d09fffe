#pragma once
// The results list's headers and the alignment and width of each column; the texts of its
// cells and their order are the engine's (report/resultsrows).

#include "report/resultsrows.h"
#include "run/computerun.h"

#include <QString>

#include <array>
#include <cstddef>

namespace torrentix {

using ResultsRow = std::array<QString, resultsColumnCount>;

// Headers at start-up: the hidden sample number "0", CODE, SAMPLE, CLASS, STAR_ICMi and
// four headers that a run fills.
ResultsRow initialResultsHeaders();
// Headers after a run: the GIG index ("Med_ICMi") and the three test-variable names.
ResultsRow resultsHeaders(const SampleTable& table, Gig gig);

// Code, class and GIG ICMi right; STAR_ICMi and test variable 1 centred; the others left.
Qt::Alignment resultsColumnAlignment(int column);

// Column widths in twips; the running number is hidden.
inline constexpr std::array<int, resultsColumnCount> resultsColumnTwips = {0,   650,  1300, 700, 1100,
                                                                           900, 1200, 1200, 1200};

} // namespace torrentix
