#pragma once
// The tidy table "_table.tsv" of a computation run, for R, pandas and spreadsheets: one
// header row of plain identifiers, then one row per sample in file order with its code,
// name and class, each test variable as read and normalised (columns named after the
// variable: EQR_raw, EQR_norm), the raw and the normalised metrics of the STAR_ICMi and of
// the GIG ICMi, and both indices. TAB-separated, LF line ends, UTF-8; numbers in the
// shortest form that reads back to the same value, "." as decimal point; a missing value
// is an empty cell; a text that a spreadsheet would take for a formula starts with an
// apostrophe.

#include "input/sampletable.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"
#include "metrics/metrictable.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

struct TidyTableInput {
    const SampleTable& table; // codes, names and classes of the samples
    Gig gig = Alpine;
    // Per test variable: its cells as read ("N/A" when not numeric), and its normalised
    // values (empty when the variable was not normalised).
    const std::array<std::vector<std::string>, 3>& testText;
    const std::array<std::vector<std::optional<double>>, 3>& testNormalised;
    const MetricTable& raw;
    const MetricTable& normalised;
    const std::vector<double>& staricm;
    const std::vector<double>& gigicm;
    // Number columns added after the indices (the bootstrap intervals, say): a name and a
    // value per sample.
    std::vector<std::pair<std::string, std::vector<std::optional<double>>>> moreColumns = {};
    // The fraction of the rows written so far, told now and then.
    std::function<void(double)> progress = {};
};

// The test variables' names as identifiers of R, Python and SQL: ASCII letters, digits
// and "_" (accented Latin letters lose their accents, any other run of characters becomes
// one "_"), starting with a letter ("TV1_" is put before a leading digit; "TV1" stands for
// a name with nothing left). Unique whatever their case, also with "_raw" and "_norm"
// added, among themselves and among the other columns of the table of every GIG.
std::array<std::string, 3> testVariableColumns(const SampleTable& t);

// The header row's identifiers for a GIG. The GIG ICMi metrics carry the prefix "GIG_";
// for the GIGs whose index is the STAR_ICMi they are not repeated.
std::vector<std::string> tidyTableColumns(Gig gig, const std::array<std::string, 3>& testVariables);

// The metric columns of the table of a GIG in their order, each identifier with its metric;
// the normalised metrics follow in the same order, each identifier + "_norm".
std::vector<std::pair<std::string, MetricId>> tidyMetricColumns(Gig gig);

// The whole table.
std::string tidyTableText(const TidyTableInput& in);

// Cells of tables for other programs: the shortest text that reads back to the same value
// (empty when there is none); a text as UTF-8, guarded against spreadsheet formulas, and
// quoted where a quote, TAB or line break would cut it or a "#" start a comment; the
// sample's whole name as read.
std::string numberCell(std::optional<double> value);
std::string textCell(std::string_view text, bool utf8);
std::string_view sampleName(const Sample& s);

// The table that belongs to a sample file: its name cut at the last "." + "_table.tsv",
// in `folder` when one is given, else beside the sample file.
std::string tablePathFor(const std::string& sourcePath, const std::string& folder = {});

} // namespace torrentix
