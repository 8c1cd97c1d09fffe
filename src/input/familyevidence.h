#pragma once
// What the taxa database, its taxon dictionary and two naming rules say about a taxon name
// that is neither a family nor a synonym, as national data write genera and species
// ("Ephemera danica", "Baetis sp.", "Elmis", "Polycelis nigra agg."). The sources are asked
// in order: the name with its qualifiers set aside as a family or synonym of the database, as
// a group above the family ("Ephemeroptera": never guessed into a family), or as a name of the
// taxon dictionary (a species it lacks falls back on its genus); the family named after the
// name's genus ("Baetis" -> BAETIDAE), where that names exactly one family; and, when neither
// answers, the family sharing the longest leading part with the name. A pair of names
// ("Baetis/Centroptilum") is the family both name, or a question when they name two.

#include "input/taxadatabase.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

enum class FamilySource {
    Database,    // the name without its qualifiers is a family or a synonym
    Dictionary,  // the taxon dictionary knows the name, or its genus
    TypeGenus,   // the family named after the genus: its stem + "IDAE"
    Prefix,      // the family that starts with the longest leading part of the name: a guess
    HigherGroup, // the name is a group above the family that a row of the database stands for
};

struct SuggestedFamily {
    int id = 0;         // the family's id; 0 where the dictionary's family is not in the database
    std::string family; // the family of the database (else the dictionary's family, as it writes it)
    FamilySource source = FamilySource::Prefix;
    std::string matched; // what the source knew: the dictionary's name, the name read, the genus, the prefix
    // " (counted as HYDROBIIDAE by the method's scores and lists)" for a family split off after
    // the score tables and family lists were written; empty otherwise.
    std::string countedAs;
};

struct FamilyEvidence {
    std::optional<SuggestedFamily> known;     // from the database or the taxon dictionary
    std::optional<SuggestedFamily> typeGenus; // from the family named after the genus
    std::optional<SuggestedFamily> prefix;    // only asked when neither of the two answers
    // A second family as well founded as `known`: the type genus's, where the dictionary holds
    // only the name's genus, or the other name's of a pair "x/y".
    std::optional<SuggestedFamily> rival;
    std::optional<HigherGroup> higherGroup; // the name is a group above the family
    bool exactEntry = false;                // the dictionary holds the name itself, not only its genus

    // Two families are named and neither source overrules the other: nothing is proposed,
    // the user decides.
    bool disputed() const { return known.has_value() && rival.has_value(); }
    // The dictionary's own entry of the name decided against the family named after its genus
    // ("Hydrobius fuscipes", a beetle: HYDROPHILIDAE, not HYDROBIIDAE).
    bool overrulesTypeGenus() const;
    // The family proposed: the first source that names one of the database, unless disputed.
    std::optional<SuggestedFamily> suggestion() const;
    // The proposal when it is the database's or the dictionary's, the sources that know the
    // name rather than guess from its spelling.
    std::optional<SuggestedFamily> knownAnswer() const;
};

FamilyEvidence familyEvidence(const TaxaDatabase& taxa, const std::string& upperName, bool utf8);

// The names looked up for a name, in order: qualifiers ("sp.", "spp.", "Gen. sp.", "cf.") and
// an author with year in parentheses set aside, "agg." and "Gr." read as "group"; then without
// "group", without a subgenus or author in parentheses, as a species (its first two words) and
// as a genus (its first word).
std::vector<std::string> lookupNames(std::string_view upperName);

// The one family of the database named after a genus, if exactly one is.
std::optional<SuggestedFamily> typeGenusFamily(const TaxaDatabase& taxa, std::string_view upperGenus);

// The prefix rule: the first family, in record-set order, that starts with the longest
// prefix of the name, from its length minus one down to 6 characters.
std::optional<SuggestedFamily> prefixFamily(const TaxaDatabase& taxa, const std::string& upperName,
                                            bool utf8);

// "taxon dictionary", "taxa database", "type genus", "leading letters", "higher group".
std::string sourceName(FamilySource source);
// "taxon dictionary: Ephemera danica → EPHEMERIDAE"; a family the database does not hold is
// said as such, a family counted as another by the metrics too.
std::string describe(const SuggestedFamily& s);
// " (counted as HYDROBIIDAE by the method's scores and lists)" for a family the metrics count
// as an older one, with the Iberian score's family where that is a third one; else empty.
std::string countedAsText(const TaxaDatabase& taxa, const FamilyRecord& family);
// What the sources say of an unknown name, as the question to the user shows it: the family
// proposed and where it comes from, the two families of a dispute, the dictionary's family
// that the database does not hold, or that the name is a group above the family.
std::string questionEvidenceText(const FamilyEvidence& e);
// "EPHEMEROPTERA is a higher group (Order), not a family".
std::string higherGroupText(const HigherGroup& group);

} // namespace torrentix
