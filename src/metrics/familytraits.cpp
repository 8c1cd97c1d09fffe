#include "metrics/familytraits.h"

#include "base/text.h"
#include "metrics/familylists.h"

#include <algorithm>
#include <map>
#include <utility>

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

// What makes families one taxon for a count: a composite group, or a family of the database,
// or (for a family the database does not know) the column family alone.
enum class KeyKind { Composite, Family, Unknown };
using CountingKey = std::pair<KeyKind, int>;

// Gives the keys held by two or more families of the table consecutive group numbers, in
// the order they first appear; a key held by one family gets -1: it needs no merging.
std::vector<int> sharedKeyGroups(const std::vector<CountingKey>& keys, int& groupCount) {
    std::map<CountingKey, int> uses;
    for (const CountingKey& key : keys) {
        ++uses[key];
    }
    std::map<CountingKey, int> groupOf;
    std::vector<int> groups;
    for (const CountingKey& key : keys) {
        if (uses[key] < 2) {
            groups.push_back(-1);
            continue;
        }
        const auto [it, isNew] = groupOf.try_emplace(key, static_cast<int>(groupOf.size()));
        groups.push_back(it->second);
    }
    groupCount = static_cast<int>(groupOf.size());
    return groups;
}

// The index of each key among the distinct keys, in the order they first appear.
std::vector<int> firstAppearanceIndexes(const std::vector<CountingKey>& keys, int& distinct) {
    std::map<CountingKey, int> indexOf;
    std::vector<int> indexes;
    for (const CountingKey& key : keys) {
        indexes.push_back(indexOf.try_emplace(key, static_cast<int>(indexOf.size())).first->second);
    }
    distinct = static_cast<int>(indexOf.size());
    return indexes;
}

struct TableKeys {
    std::vector<CountingKey> counted, bmwp, iberian;
};

FamilyTraits traitsOf(const TaxaDatabase& taxa, const FamilyRecord& own, const FamilySelections& selections,
                      int& compositeGroup) {
    const FamilyRecord& counted = taxa.countedFamily(own);
    FamilyTraits t;
    t.found = true;
    t.id = counted.id;
    t.idgroup = counted.idgroup;
    t.bmwp = taxa.scoredFamily(own, &FamilyRecord::bmwp).bmwp;
    t.bmwpe = taxa.scoredFamily(own, &FamilyRecord::bmwpe).bmwpe;
    t.structind = counted.structind;
    const auto& groups = selections.bmwpGroups;
    const auto group = std::find_if(groups.begin(), groups.end(),
                                    [&](const std::vector<int>& ids) { return contains(ids, counted.id); });
    compositeGroup = group == groups.end() ? -1 : static_cast<int>(group - groups.begin());
    t.selEptd = contains(selections.selEptd, counted.id);
    t.selEtd = contains(selections.selEtd, counted.id);
    t.sensitive = std::find(sensitiveFamilyIds.begin(), sensitiveFamilyIds.end(), counted.id) !=
                  sensitiveFamilyIds.end();
    return t;
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

CountedFamilies resolveFamilyTraits(const SampleTable& table, const TaxaDatabase& taxa) {
    const FamilySelections selections = resolveFamilySelections(taxa);
    CountedFamilies families;
    families.traits.reserve(table.familyNames.size());
    TableKeys keys;
    for (std::size_t i = 0; i < table.familyNames.size(); ++i) {
        const FamilyRecord* record = taxa.findByName(toUpperAscii(table.familyNames[i]));
        if (record == nullptr) {
            const CountingKey alone{KeyKind::Unknown, static_cast<int>(i)};
            families.traits.emplace_back();
            keys.counted.push_back(alone);
            keys.bmwp.push_back(alone);
            keys.iberian.push_back(alone);
            continue;
        }
        int composite = -1;
        families.traits.push_back(traitsOf(taxa, *record, selections, composite));
        const int counted = families.traits.back().id;
        keys.counted.push_back({KeyKind::Family, counted});
        keys.bmwp.push_back(composite >= 0 ? CountingKey{KeyKind::Composite, composite}
                                           : CountingKey{KeyKind::Family, counted});
        // The Iberian table holds some families the BMWP table counts as an older one
        // (Limoniidae, Helophoridae): those keep their own score and count as themselves there.
        keys.iberian.push_back({KeyKind::Family, taxa.scoredFamily(*record, &FamilyRecord::bmwpe).id});
    }
    const std::vector<int> countedIndexes = firstAppearanceIndexes(keys.counted, families.countedCount);
    const std::vector<int> bmwpGroups = sharedKeyGroups(keys.bmwp, families.bmwpGroupCount);
    const std::vector<int> iberianGroups = sharedKeyGroups(keys.iberian, families.iberianGroupCount);
    for (std::size_t i = 0; i < families.traits.size(); ++i) {
        families.traits[i].countedFamily = countedIndexes[i];
        families.traits[i].bmwpGroup = bmwpGroups[i];
        families.traits[i].iberianGroup = iberianGroups[i];
    }
    return families;
}

} // namespace torrentix
