#include "metrics/familytraits.h"

#include "base/text.h"
#include "metrics/familylists.h"

#include <algorithm>

namespace torrentix {
namespace {

// The database ids of the families a list names; a name the database does not know
// selects nothing (no column of a sample file can stand for it either).
template <class Names> std::vector<int> familyIdsOf(const Names& names, const TaxaDatabase& taxa) {
    std::vector<int> ids;
    for (std::string_view name : names) {
        if (const FamilyRecord* family = taxa.findFamily(name)) {
            ids.push_back(family->id);
        }
    }
    return ids;
}

bool contains(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

FamilySelections resolveFamilySelections(const TaxaDatabase& taxa) {
    FamilySelections selections;
    for (const auto& group : bmwpFamilyGroups()) {
        selections.bmwpGroups.push_back(familyIdsOf(group, taxa));
    }
    selections.selEptd = familyIdsOf(selEptdFamilies, taxa);
    selections.selEtd = familyIdsOf(selEtdFamilies, taxa);
    return selections;
}

std::vector<FamilyTraits> resolveFamilyTraits(const SampleTable& table, const TaxaDatabase& taxa) {
    const FamilySelections selections = resolveFamilySelections(taxa);
    std::vector<FamilyTraits> traits;
    traits.reserve(table.familyNames.size());
    for (const std::string& name : table.familyNames) {
        FamilyTraits t;
        if (const FamilyRecord* record = taxa.findByName(toUpperAscii(name))) {
            t.found = true;
            t.id = record->id;
            t.idgroup = record->idgroup;
            t.bmwp = record->bmwp;
            t.bmwpe = record->bmwpe;
            t.structind = record->structind;
            const auto& groups = selections.bmwpGroups;
            const auto group = std::find_if(groups.begin(), groups.end(), [&](const std::vector<int>& ids) {
                return contains(ids, record->id);
            });
            t.bmwpGroup = group == groups.end() ? -1 : static_cast<int>(group - groups.begin());
            t.selEptd = contains(selections.selEptd, record->id);
            t.selEtd = contains(selections.selEtd, record->id);
            t.sensitive = std::find(sensitiveFamilyIds.begin(), sensitiveFamilyIds.end(), record->id) !=
                          sensitiveFamilyIds.end();
        }
        traits.push_back(t);
    }
    return traits;
}

} // namespace torrentix
