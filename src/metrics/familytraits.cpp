#include "metrics/familytraits.h"

#include "base/text.h"
#include "metrics/familylists.h"

#include <algorithm>

namespace torrentix {
namespace {

int bmwpGroupOf(const std::string& name) {
    const auto& groups = bmwpFamilyGroups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (std::find(groups[g].begin(), groups[g].end(), name) != groups[g].end()) {
            return static_cast<int>(g);
        }
    }
    return -1;
}

} // namespace

std::vector<FamilyTraits> resolveFamilyTraits(const SampleTable& table, const TaxaDatabase& taxa) {
    std::vector<FamilyTraits> traits;
    traits.reserve(table.famnames.size());
    for (const std::string& name : table.famnames) {
        const std::string upper = toUpperAscii(name);
        FamilyTraits t;
        // The selections match by plain substring search of the upper-case name.
        t.selEptd = selEptdText.find(upper) != std::string_view::npos;
        t.selEtd = selEtdText.find(upper) != std::string_view::npos;
        t.bmwpGroup = bmwpGroupOf(name);
        if (const FamilyRecord* record = taxa.findByName(upper)) {
            t.found = true;
            t.id = record->id;
            t.idgroup = record->idgroup;
            t.bmwp = record->bmwp;
            t.bmwpe = record->bmwpe;
            t.structind = record->structind;
            t.sensitive = std::find(sensitiveFamilyIds.begin(), sensitiveFamilyIds.end(), record->id) !=
                          sensitiveFamilyIds.end();
        }
        traits.push_back(t);
    }
    return traits;
}

} // namespace torrentix
