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

std::string answerSourceText(AnswerSource source) {
    switch (source) {
    case AnswerSource::TaxaMap:
        return "taxa map";
    case AnswerSource::Dictionary:
        return "taxon dictionary";
    case AnswerSource::TypeGenus:
        return "type-genus rule";
    case AnswerSource::Prefix:
        return "prefix rule (a guess)";
    case AnswerSource::HigherGroup:
        return "higher group";
    case AnswerSource::Database:
        return "taxa database";
    case AnswerSource::User:
        break;
    }
    return "user's answer";
}

AnswerSource answerSourceOf(FamilySource source) {
    switch (source) {
    case FamilySource::Database:
        return AnswerSource::Database;
    case FamilySource::Dictionary:
        return AnswerSource::Dictionary;
    case FamilySource::TypeGenus:
        return AnswerSource::TypeGenus;
    case FamilySource::HigherGroup:
        return AnswerSource::HigherGroup;
    case FamilySource::Prefix:
        break;
    }
    return AnswerSource::Prefix;
}

Resolution resolveTaxonName(const TaxaDatabase& taxa, const TaxaTree& tree, const std::string& upperName,
                            bool utf8, const UnknownTaxonHandler& ask, const NamePlace& place) {
    if (auto family = knownFamily(taxa, upperName)) {
        const bool synonym = taxa.findByName(upperName) == nullptr;
        return {
            Resolution::Kind::Family, std::move(*family), false, synonym ? "synonym" : "taxa database", {}};
    }
    FamilyEvidence evidence = familyEvidence(taxa, upperName, utf8);
    UnknownTaxonQuestion question{upperName, evidence.suggestion(), &tree, utf8, place, std::move(evidence)};
    UnknownTaxonAnswer answer = ask ? ask(question) : UnknownTaxonAnswer::abort();
    if (answer.selectionKey < 0) {
        return {Resolution::Kind::Abort, {}, true, {}, {}};
    }
    const std::string source = answerSourceText(answer.source);
    // A positive key with no family text (only group nodes picked) names no family:
    // the column is ignored rather than taken as a family without a name.
    if (answer.selectionKey == 0 || answer.correctTaxon.empty()) {
        return {Resolution::Kind::Ignore, {}, true, source, answer.evidence};
    }
    return {Resolution::Kind::Family, answer.correctTaxon, true, source, answer.evidence};
}

} // namespace torrentix
