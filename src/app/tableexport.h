#pragma once
// "Export table...": the tidy table of a run as the engine writes it (TAB-separated), or as
// comma-separated values for the spreadsheets and programs that expect them.

#include "run/bootstrap.h"
#include "run/computerun.h"

#include <string>
#include <string_view>

namespace torrentix {

// The tidy table of a run computed for a GIG; with the bootstrap intervals of that run, its
// columns STAR_lo, STAR_hi, GIG_lo and GIG_hi follow the indices.
std::string tidyTableOf(const RunResult& run, Gig gig, const BootstrapResult* intervals = nullptr);

// A TAB-separated table as comma-separated values, line by line: a number stays as it is
// (with its "." decimal point), any other text is put in double quotes with its quotes
// doubled, an empty cell stays empty. A quoted cell of the TAB-separated table (one that
// holds a quote, TAB or line break) is read whole; a line starting with "#" (the settings
// line of the bootstrap intervals) is a comment and stays as it is.
std::string csvFromTsv(std::string_view tsv);

// True for a name that asks for comma-separated values: one ending in ".csv".
bool isCsvName(const std::string& path);

} // namespace torrentix
