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
    bool selEptd = false;   // its name occurs in the SelEPTD text
    bool selEtd = false;    // its name occurs in the SelETD text
    bool sensitive = false; // its id is one of the Alpine selected sensitive families
};

std::vector<FamilyTraits> resolveFamilyTraits(const SampleTable& table, const TaxaDatabase& taxa);

} // namespace torrentix
