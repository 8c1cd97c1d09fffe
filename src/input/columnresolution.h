#pragma once
// The taxon columns of a sample file resolved to families: the family index each column
// adds into (-1 for a column ignored), and the note naming families of several columns.

#include "input/nameresolution.h"
#include "input/sampletable.h"

#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// Resolves every taxon column: the family index it adds into, or -1 when ignored; the
// families go into the table in the order they first appear. Returns nullopt when the user
// aborted.
std::optional<std::vector<int>> resolveColumns(const std::vector<std::string>& header, SampleTable& table,
                                               const TaxaDatabase& taxa, const TaxaTree& tree,
                                               const UnknownTaxonHandler& ask);

// One note naming the families the metrics count as the family they were split from, with
// the columns that name them.
std::optional<std::string> countedAsNote(const std::vector<int>& familyOfColumn, const SampleTable& table,
                                         const TaxaDatabase& taxa);

// One note naming the families that more than one column adds into.
std::optional<std::string> mergedColumnsNote(const std::vector<int>& familyOfColumn,
                                             const SampleTable& table);

} // namespace torrentix
