#pragma once
// Command line of torrentix-cli.

#include "input/unknownanswers.h"
#include "run/computerun.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torrentix::cli {

using torrentix::UnknownTaxa;

struct CliArgs {
    bool help = false;
    bool version = false;
    bool listTypes = false;  // print every GIG with its river types
    Gig gig = Alpine;        // --gig, which every computation needs
    RiverType riverType = 0; // --type, which every computation needs
    std::array<TestVariableOptions, 3> testVariables;
    UnknownTaxa unknown = UnknownTaxa::Abort;
    bool force = false;
    bool decimalComma = false;       // numbers may be written "12,5"
    bool strict = false;             // doubtful cells, same names and lines after a blank line fail the file
    bool readPastBlankLines = false; // empty lines inside the data are skipped, not its end
    bool taxaRecord = true;          // write the record of the names, NAME_taxa.tsv
    std::string taxaDb;
    std::string taxaMap;   // the user's answers to unknown taxon names, applied first
    std::string outputDir; // where every file written goes; empty: beside each sample file
    bool table = false;    // write the tidy table NAME_table.tsv too
    int threads = 0;       // threads that read, compute the metrics and draw the bootstrap; 0: one per core
    int bootstrap = 0;     // replicates of the bootstrap intervals NAME_ci.tsv; 0: none
    std::uint64_t seed = 1;
    std::vector<std::string> files;
};

// Parses the arguments (without the program name). Throws Error with a usage message.
CliArgs parseArgs(const std::vector<std::string>& args);

std::string helpText();
// Every GIG with the codes and descriptions of its river types, one line each.
std::string riverTypesText();

} // namespace torrentix::cli
