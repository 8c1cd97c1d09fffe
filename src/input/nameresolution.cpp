#include "input/nameresolution.h"

#include "base/text.h"

#include <algorithm>

namespace torrentix {

std::optional<SuggestedFamily> suggestFamily(const TaxaDatabase& taxa, const std::string& upperName,
                                             bool utf8) {
    constexpr std::size_t shortest = 6;
    auto length = characterCount(upperName, utf8);
    // A prefix longer than every family name cannot match: start at most there.
    std::size_t start = std::min(length > 0 ? length - 1 : 0, taxa.longestName());
    for (std::size_t k = start; k >= shortest; --k) {
        if (const auto* record = taxa.findByPrefix(firstCharacters(upperName, k, utf8))) {
            return SuggestedFamily{record->id, record->family};
        }
    }
    return std::nullopt;
}

std::optional<std::string> knownFamily(const TaxaDatabase& taxa, const std::string& upperName) {
    if (const FamilyRecord* family = taxa.findFamily(upperName)) {
        return family->family;
    }
    return std::nullopt;
}

Resolution cercafam(const TaxaDatabase& taxa, const TaxaTree& tree, const std::string& upperName, bool utf8,
                    const UnknownTaxonHandler& ask, const NamePlace& place) {
    if (auto family = knownFamily(taxa, upperName)) {
        return {Resolution::Kind::Family, std::move(*family), false};
    }
    UnknownTaxonQuestion question{upperName, suggestFamily(taxa, upperName, utf8), &tree, utf8, place};
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
