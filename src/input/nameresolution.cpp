#include "input/nameresolution.h"

#include "base/text.h"

#include <algorithm>

namespace torrentix {

std::optional<SuggestedFamily> suggestFamily(const TaxaDatabase& taxa, const std::string& upperName,
                                             bool utf8) {
    return prefixFamily(taxa, upperName, utf8);
}

std::optional<std::string> knownFamily(const TaxaDatabase& taxa, const std::string& upperName) {
    if (const FamilyRecord* family = taxa.findFamily(upperName)) {
        return family->family;
    }
    return std::nullopt;
}

Resolution resolveTaxonName(const TaxaDatabase& taxa, const TaxaTree& tree, const std::string& upperName,
                            bool utf8, const UnknownTaxonHandler& ask, const NamePlace& place) {
    if (auto family = knownFamily(taxa, upperName)) {
        return {Resolution::Kind::Family, std::move(*family), false};
    }
    FamilyEvidence evidence = familyEvidence(taxa, upperName, utf8);
    UnknownTaxonQuestion question{upperName, evidence.suggestion(), &tree, utf8, place, std::move(evidence)};
    UnknownTaxonAnswer answer = ask ? ask(question) : UnknownTaxonAnswer::abort();
    if (answer.selectionKey < 0) {
        return {Resolution::Kind::Abort, {}, true};
    }
    // A positive key with no family text (only group nodes picked) names no family:
    // the column is ignored rather than taken as a family without a name.
    if (answer.selectionKey == 0 || answer.correctTaxon.empty()) {
        return {Resolution::Kind::Ignore, {}, true};
    }
    return {Resolution::Kind::Family, answer.correctTaxon, true};
}

} // namespace torrentix
