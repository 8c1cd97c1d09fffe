#pragma once
// What the metric passes need to know of each family of a sample table, looked up once
// per run: its record in the taxa database and its membership of the fixed selections.

#include "input/sampletable.h"
#include "input/taxadatabase.h"

#include <vector>

namespace torrentix {

struct FamilyTraits {
    bool found = false; // the family is in the taxa database
    int id = 0;
    int idgroup = 0;
    int bmwp = 0;
    int bmwpe = 0;
    int structind = 0;
    int bmwpGroup = -1;     // index of its BMWP composite group, -1 when none
    bool selEptd = false;   // one of the SelEPTD families
    bool selEtd = false;    // one of the SelETD families
    bool sensitive = false; // its id is one of the Alpine selected sensitive families
};

// The fixed family lists as database family ids, every name looked up as a sample file's
// column name is: a family of the database, else a synonym of one.
struct FamilySelections {
    std::vector<std::vector<int>> bmwpGroups; // per BMWP composite group
    std::vector<int> selEptd;
    std::vector<int> selEtd;
};

FamilySelections resolveFamilySelections(const TaxaDatabase& taxa);

std::vector<FamilyTraits> resolveFamilyTraits(const SampleTable& table, const TaxaDatabase& taxa);

} // namespace torrentix
