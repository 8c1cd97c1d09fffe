#pragma once
// The answers a front that asks no one gives to the taxon names the taxa database does not
// know, by the mode its user chose: abort (every such name listed), ignore, suggest (the
// family of the first source that gives one) or dictionary (only the database's and the
// taxon dictionary's families); a taxa map answers its names before the mode. Every answer
// is noted as its user reads it: "EPHEMERA DANICA → EPHEMERIDAE (taxon dictionary: Ephemera
// danica)".

#include "input/familyevidence.h"
#include "input/nameresolution.h"
#include "input/taxadatabase.h"
#include "input/taxamap.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

enum class UnknownTaxa { Abort, Ignore, Suggest, Dictionary };

// "abort", "ignore", "suggest", "dictionary", as the record of the names states the mode.
std::string unknownModeName(UnknownTaxa mode);
// The mode of one of those names; none for another text.
std::optional<UnknownTaxa> unknownModeNamed(std::string_view name);

// A name the mode does not decide: the file fails with it.
struct UndecidedName {
    std::string name;     // the upper-cased header cell
    std::string evidence; // what the sources say of it
};

// What the taxa database, the taxon dictionary and the naming rules say of an unknown name.
std::string evidenceText(const FamilyEvidence& e);

// The answers of `mode`; every correction is noted in `corrections`. A name the mode does
// not decide is noted in `undecided` and ignored, and the file then fails. Both lists must
// outlive the handler.
UnknownTaxonHandler unknownModeHandler(UnknownTaxa mode, std::vector<UndecidedName>& undecided,
                                       std::vector<std::string>& corrections);

// The names of the taxa map answered first, each noted in `corrections` (an answer that
// differs from the taxon dictionary's with the dictionary's family); the others go to `next`.
UnknownTaxonHandler taxaMapFirst(const TaxaDatabase& taxa, const TaxaMap& map, UnknownTaxonHandler next,
                                 std::vector<std::string>& corrections);

} // namespace torrentix
