#pragma once
// Resolution of the taxon names of a sample file: directly, through a synonym, or by
// asking the user, who is offered the family that the taxon dictionary or the naming rules
// give (familyevidence.h).

#include "input/familyevidence.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// Where an unknown name stands in its file: its column, and its place among the names of
// the file that the taxa database does not know (the k-th of n). 0 where not known.
struct NamePlace {
    int column = 0;
    int unknown = 0;
    int unknownCount = 0;
    const std::vector<std::string>* unknownNames = nullptr; // all of them, upper-cased, in column order
};

struct UnknownTaxonQuestion {
    std::string name;                          // the upper-cased header cell
    std::optional<SuggestedFamily> suggestion; // the family proposed, if any
    const TaxaTree* tree = nullptr;            // the groups and families to choose from
    bool utf8 = false;                         // the name is UTF-8 text (else Windows-1252)
    NamePlace place{};
    FamilyEvidence evidence{}; // what each source says; the suggestion is taken from it
    // The unknown names from this one on that the dictionary (or the database) answers and the
    // user's taxa map does not; counted by the desktop program for its dialog.
    int knownRemaining = 0;
};

// Who gave an unknown name its family (or left it out), as the record of the names says.
enum class AnswerSource { User, TaxaMap, Dictionary, TypeGenus, Prefix, HigherGroup, Database };
// "user's answer", "taxa map", "taxon dictionary", "type-genus rule", "prefix rule (a guess)", ...
std::string answerSourceText(AnswerSource source);
// The answer source of a family a naming source proposed.
AnswerSource answerSourceOf(FamilySource source);

// The user's answer, as the question window holds it when it closes:
// a positive key with the correct-taxon text (a family), key 0 (ignore this taxon), or a
// negative key (abort the read). A group picked after a family keeps the family's text.
// Its source and what the source knew ("Ephemera danica", "line 4") go into the record of
// the names.
struct UnknownTaxonAnswer {
    int selectionKey = 0;
    std::string correctTaxon;
    AnswerSource source = AnswerSource::User;
    std::string evidence;

    static UnknownTaxonAnswer family(int id, std::string name, AnswerSource source = AnswerSource::User,
                                     std::string evidence = {}) {
        return {id, std::move(name), source, std::move(evidence)};
    }
    static UnknownTaxonAnswer ignore(AnswerSource source = AnswerSource::User, std::string evidence = {}) {
        return {0, {}, source, std::move(evidence)};
    }
    static UnknownTaxonAnswer abort() { return {-1, {}, AnswerSource::User, {}}; }
};

using UnknownTaxonHandler = std::function<UnknownTaxonAnswer(const UnknownTaxonQuestion&)>;

struct Resolution {
    enum class Kind { Family, Ignore, Abort };
    Kind kind = Kind::Ignore;
    std::string family;     // the family name when kind is Family
    bool askedUser = false; // the name needed the question (it counts as corrected)
    std::string source;     // "taxa database", "synonym", or the answer's source
    std::string evidence;   // what the source knew
};

// The family that the prefix rule proposes for an unknown name: the first family, in
// record-set order, that starts with the longest prefix of the name, from its length minus
// one down to 6 characters.
std::optional<SuggestedFamily> suggestFamily(const TaxaDatabase& taxa, const std::string& upperName,
                                             bool utf8);

// The family an upper-cased name stands for without asking anyone: the name itself when
// it is a family's, or the family of a synonym.
std::optional<std::string> knownFamily(const TaxaDatabase& taxa, const std::string& upperName);

// Resolves one upper-cased taxon name; `place` goes into the question, if one is asked.
Resolution resolveTaxonName(const TaxaDatabase& taxa, const TaxaTree& tree, const std::string& upperName,
                            bool utf8, const UnknownTaxonHandler& ask, const NamePlace& place = {});

} // namespace torrentix
