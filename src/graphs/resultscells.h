#pragma once
// The texts of the results list: column headers, the cells of each sample's row and the
// alignment of each column.

#include "run/computerun.h"

#include <QString>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace torrentix {

inline constexpr int resultsColumnCount = 9;
using ResultsRow = std::array<QString, resultsColumnCount>;

// A numeric sample code in the form "#00.#": at least two integer digits, at most one
// decimal, the decimal point always shown (5 gives "05.", 2.25 gives "02.3"). Other
// codes are returned unchanged.
std::string formatSampleCode(std::string_view code);

// Headers at start-up: the hidden sample number "0", CODE, SAMPLE, CLASS, STAR_ICMi and
// four headers that a run fills.
ResultsRow initialResultsHeaders();
// Headers after a run: the GIG index ("Med_ICMi") and the three test-variable names.
ResultsRow resultsHeaders(const SampleTable& table, Gig gig);

// The cells of sample i (0-based): running number, code, name, class, STAR_ICMi, GIG
// ICMi and the three test values ("#0.00" when numeric, otherwise as written).
ResultsRow resultsRowTexts(const RunResult& run, std::size_t i);
// One of them.
QString resultsCellText(const RunResult& run, std::size_t i, int column);

// Code, class and GIG ICMi right; STAR_ICMi and test variable 1 centred; the others left.
Qt::Alignment resultsColumnAlignment(int column);

// Column widths in twips; the running number is hidden.
inline constexpr std::array<int, resultsColumnCount> resultsColumnTwips = {0,   650,  1300, 700, 1100,
                                                                           900, 1200, 1200, 1200};

} // namespace torrentix
