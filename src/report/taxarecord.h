#pragma once
// The record of the names of a run, NAME_taxa.tsv: how each taxon column of the sample file
// was read — its column, the name as written, the family, where the family comes from (taxa
// database, synonym, taxa map, taxon dictionary, type-genus rule, prefix rule, user's
// answer, or left out), what that source knew, and the family the metrics count it as — under
// comment lines with the settings of the read and what else the read left out. A tidy,
// tab-separated UTF-8 table, its text cells guarded as the tidy table's are.

#include "input/sampletable.h"
#include "input/taxadatabase.h"

#include <string>
#include <vector>

namespace torrentix {

// The settings a record of the names states in its heading, and what else the read left out.
struct TaxaRecordHeading {
    std::string mode;               // how unknown names were answered ("dictionary", "asked", ...)
    std::string taxaMap;            // the taxa map's path; empty when none was used
    std::vector<std::string> notes; // what the read left out ("The data end at the blank line ...")
};

std::string taxaRecordText(const SampleTable& table, const TaxaDatabase& taxa,
                           const TaxaRecordHeading& heading);

// NAME_taxa.tsv beside the sample file, or in `folder`.
std::string taxaRecordPathFor(const std::string& sourcePath, const std::string& folder = {});

} // namespace torrentix
