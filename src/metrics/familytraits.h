#pragma once
// What the metric passes need to know of each family of a sample table, looked up once
// per run: its record in the taxa database and its membership of the fixed selections.
// A family split off after the score tables and family lists were written is seen as the
// family it was split from ("counted as"), and the families of a table counted as one
// family count once in a sample, as that family would.

#include "input/sampletable.h"
#include "input/taxadatabase.h"

#include <vector>

namespace torrentix {

struct FamilyTraits {
    bool found = false; // the family is in the taxa database
    int id = 0;         // the family as the metrics count it (its counted-as family, if any)
    int idgroup = 0;
    int bmwp = 0;
    int bmwpe = 0; // its own Iberian score where the Iberian table holds it, else the counted family's
    int structind = 0;
    int bmwpGroup = -1;     // families scored once per sample for the ASPT, -1 when it stands alone
    int iberianGroup = -1;  // families scored once per sample for the Iberian ASPT, -1 when alone
    int countedFamily = 0;  // index of the family as counted among the table's counted families
    bool selEptd = false;   // one of the SelEPTD families
    bool selEtd = false;    // one of the SelETD families
    bool sensitive = false; // its id is one of the Alpine selected sensitive families
};

// The families of a sample table as the metrics count them.
struct CountedFamilies {
    std::vector<FamilyTraits> traits; // per family of the table
    int countedCount = 0;             // families as counted: fewer than traits when some count as one
    int bmwpGroupCount = 0;           // the bmwpGroup indexes in use are below this
    int iberianGroupCount = 0;        // the iberianGroup indexes in use are below this
    bool merges() const { return countedCount < static_cast<int>(traits.size()); }
};

// The fixed family lists as database family ids, every name looked up as a sample file's
// column name is: a family of the database, else a synonym of one.
struct FamilySelections {
    std::vector<std::vector<int>> bmwpGroups; // per BMWP composite group
    std::vector<int> selEptd;
    std::vector<int> selEtd;
};

FamilySelections resolveFamilySelections(const TaxaDatabase& taxa);

CountedFamilies resolveFamilyTraits(const SampleTable& table, const TaxaDatabase& taxa);

} // namespace torrentix
