#include "input/unknownanswers.h"

#include "base/text.h"

namespace torrentix {
namespace {

// A name of the file as UTF-8 text, as its user reads it.
std::string utf8Text(const std::string& text, bool utf8) {
    return utf8 ? text : cp1252ToUtf8(text);
}

// "taxon dictionary: Ephemera danica"; the prefix rule's answer is said to be a guess.
std::string sourceText(const SuggestedFamily& s) {
    return sourceName(s.source) + ": " + s.matched + (s.source == FamilySource::Prefix ? ", a guess" : "");
}

// The source of a family taken for a name; where the dictionary's own entry of the name
// overruled the family named after its genus, that is said too.
std::string takenSourceText(const FamilyEvidence& e, const SuggestedFamily& taken) {
    return sourceText(taken) + (e.overrulesTypeGenus() && taken.source == FamilySource::Dictionary
                                    ? "; its own entry, over the type genus's " + e.typeGenus->family
                                    : "");
}

} // namespace

std::string evidenceText(const FamilyEvidence& e) {
    if (e.disputed()) {
        return "two families: " + e.known->family + " (" + sourceText(*e.known) + ") and " + e.rival->family +
               " (" + sourceText(*e.rival) + ")";
    }
    if (e.higherGroup && !e.known) {
        return higherGroupText(*e.higherGroup);
    }
    if (e.known && e.known->id == 0) {
        return describe(*e.known);
    }
    const auto s = e.suggestion();
    return s ? "suggested family: " + s->family + s->countedAs + " (" + sourceText(*s) + ")"
             : "no family suggested";
}

std::string unknownModeName(UnknownTaxa mode) {
    switch (mode) {
    case UnknownTaxa::Ignore:
        return "ignore";
    case UnknownTaxa::Suggest:
        return "suggest";
    case UnknownTaxa::Dictionary:
        return "dictionary";
    case UnknownTaxa::Abort:
        break;
    }
    return "abort";
}

std::optional<UnknownTaxa> unknownModeNamed(std::string_view name) {
    for (const UnknownTaxa mode :
         {UnknownTaxa::Abort, UnknownTaxa::Ignore, UnknownTaxa::Suggest, UnknownTaxa::Dictionary}) {
        if (unknownModeName(mode) == name) {
            return mode;
        }
    }
    return std::nullopt;
}

UnknownTaxonHandler unknownModeHandler(UnknownTaxa mode, std::vector<UndecidedName>& undecided,
                                       std::vector<std::string>& corrections) {
    return [mode, &undecided, &corrections](const UnknownTaxonQuestion& q) {
        const std::string name = utf8Text(q.name, q.utf8);
        const FamilyEvidence& e = q.evidence;
        const auto taken = mode == UnknownTaxa::Suggest      ? q.suggestion
                           : mode == UnknownTaxa::Dictionary ? e.knownAnswer()
                                                             : std::nullopt;
        // Names known to stand for no family of the database: one the dictionary files under
        // a family the database does not hold, and a group above the family without a row.
        const bool unheld = (e.known && e.known->id == 0 && !e.disputed()) || (e.higherGroup && !e.known);
        if (mode == UnknownTaxa::Abort || (mode != UnknownTaxa::Ignore && e.disputed()) ||
            (mode == UnknownTaxa::Dictionary && !taken && !unheld)) {
            undecided.push_back({q.name, evidenceText(e)});
        } else if (taken) {
            corrections.push_back(name + " → " + taken->family + taken->countedAs + " (" +
                                  takenSourceText(e, *taken) + ")");
            return UnknownTaxonAnswer::family(taken->id, taken->family, answerSourceOf(taken->source),
                                              taken->matched);
        } else {
            corrections.push_back(
                name + " → ignored (" +
                (mode == UnknownTaxa::Ignore ? std::string("--unknown ignore") : evidenceText(e)) + ")");
        }
        return UnknownTaxonAnswer::ignore(AnswerSource::User,
                                          "by --unknown " + unknownModeName(mode) +
                                              (mode == UnknownTaxa::Ignore ? "" : ": " + evidenceText(e)));
    };
}

UnknownTaxonHandler taxaMapFirst(const TaxaDatabase& taxa, const TaxaMap& map, UnknownTaxonHandler next,
                                 std::vector<std::string>& corrections) {
    return taxaMapHandler(
        map, std::move(next), [&taxa, &corrections](const UnknownTaxonQuestion& q, const TaxaMapEntry& e) {
            const auto known = q.evidence.knownAnswer();
            const bool differs = known && known->id != e.familyId;
            const FamilyRecord* family = e.familyId > 0 ? taxa.findById(e.familyId) : nullptr;
            corrections.push_back(
                utf8Text(q.name, q.utf8) + " → " + (e.family.empty() ? "ignored" : e.family) +
                (family ? countedAsText(taxa, *family) : std::string()) + " (taxa map, line " +
                std::to_string(e.line) +
                (differs ? "; the " + sourceName(known->source) + " gives " + known->family : "") + ")");
        });
}

} // namespace torrentix
