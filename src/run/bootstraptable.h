#pragma once
// The bootstrap intervals as two tables for R, pandas and spreadsheets, each read whole by
// read.delim(f, comment.char = "#") and read_csv(f, sep="\t", comment="#"):
// "NAME_ci.tsv", per kept sample both indices with their 95 % intervals, and
// "NAME_ci_regressions.tsv", per regression of the results file its point values with
// their intervals, the test variable named as in the tidy table. Each starts with the
// bootstrap's settings on a comment line. UTF-8, TAB-separated, LF line ends; point values
// at full precision; a value that does not exist is an empty cell.

#include "run/bootstrap.h"

#include <string>

namespace torrentix {

// "# replicates=1000 counted=998 seed=1 rule=median", with its line end.
std::string bootstrapSettingsLine(const BootstrapResult& b);

// The samples' table and the regressions' table.
std::string bootstrapSamplesText(const BootstrapResult& b, const RunResult& run);
std::string bootstrapRegressionsText(const BootstrapResult& b, const RunResult& run);

// The tables that belong to a sample file: its name cut at the last "." + "_ci.tsv" and
// + "_ci_regressions.tsv", in `folder` when one is given, else beside the sample file.
std::string bootstrapPathFor(const std::string& sourcePath, const std::string& folder = {});
std::string bootstrapRegressionsPathFor(const std::string& sourcePath, const std::string& folder = {});

// The regressions' table beside a samples' table saved under a name of the user's
// choosing: "x.tsv" gives "x_regressions.tsv", "x" gives "x_regressions".
std::string regressionsPathBeside(const std::string& samplesPath);

} // namespace torrentix
