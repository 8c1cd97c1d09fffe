#include "input/familyevidence.h"

#include "base/text.h"

#include <algorithm>
#include <array>
#include <set>

namespace torrentix {
namespace {

// Words that qualify a name without naming a taxon: open nomenclature ("sp.", "cf.", "cfr.",
// "Gen. sp.") and the life stage ("Ad.", "Lv.", "juv."), wherever they stand in the name.
bool isQualifier(std::string_view word) {
    static constexpr std::array<std::string_view, 26> words = {
        "SP.",   "SP",      "SPP.",   "SPP",       "CF.",    "CF",   "CFR.",   "CFR",  "GEN.",
        "GEN",   "GEN.SP.", "INDET.", "SP.INDET.", "AFF.",   "S.L.", "S.STR.", "AD.",  "AD",
        "ADULT", "LV.",     "LV",     "LARVA",     "LARVAE", "JUV.", "JUV",    "JUV.S"};
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool isGroupWord(std::string_view word) {
    return word == "AGG." || word == "AGG" || word == "GR." || word == "GR" || word == "GROUP";
}

struct Word {
    std::string text;
    bool parenthesised = false; // a subgenus, or an author without a year
};

// The words of a name; a part in parentheses is one word, left out when it holds a year or
// punctuation (an author: "(Linnaeus, 1758)", "(L.)").
std::vector<Word> wordsOf(std::string_view name) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < name.size()) {
        if (name[i] == ' ' || name[i] == '\t') {
            ++i;
            continue;
        }
        if (name[i] == '(') {
            const std::size_t close = name.find(')', i);
            const std::size_t end = close == std::string_view::npos ? name.size() : close + 1;
            const std::string_view part = name.substr(i, end - i);
            const bool author = close == std::string_view::npos ||
                                part.find_first_of("0123456789,.&") != std::string_view::npos ||
                                part.find(' ') != std::string_view::npos;
            if (!author) {
                words.push_back({std::string(part), true});
            }
            i = end;
            continue;
        }
        const std::size_t end = std::min(name.find_first_of(" \t(", i), name.size());
        words.push_back({std::string(name.substr(i, end - i)), false});
        i = end;
    }
    return words;
}

std::string joined(const std::vector<Word>& words, std::size_t count, bool withParentheses) {
    std::string text;
    std::size_t taken = 0;
    for (const Word& w : words) {
        if (taken == count) {
            break;
        }
        if (w.parenthesised && !withParentheses) {
            continue;
        }
        text += (text.empty() ? "" : " ") + w.text;
        ++taken;
    }
    return text;
}

// The stems a family may be named on: the genus itself (Coenagrion), without its ending
// (Baetis, Leuctra, Simulium, Potamon), and the stem of the Latin genitive (Sericostoma -> SERICOSTOMAT,
// Polycentropus -> POLYCENTROPOD, Calamoceras -> CALAMOCERAT, Calopteryx -> CALOPTERYG, Platycnemis ->
// PLATYCNEMID, Unio -> UNION, Hirudo -> HIRUDIN).
std::set<std::string> familyStems(const std::string& genus) {
    std::set<std::string> stems{genus};
    const auto ends = [&](std::string_view end) {
        return genus.size() > end.size() + 2 && genus.ends_with(end);
    };
    for (std::string_view end : {"US", "UM", "IS", "ES", "OS", "AS", "ON", "A", "E", "O", "S"}) {
        if (ends(end)) {
            stems.insert(genus.substr(0, genus.size() - end.size()));
        }
    }
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> genitives = {
        {{"IS", "ID"},
         {"MA", "MAT"},
         {"AS", "AT"},
         {"PUS", "POD"},
         {"EX", "IC"},
         {"IX", "IC"},
         {"YX", "YG"},
         {"YX", "YCT"},
         {"O", "ON"},
         {"O", "IN"}}};
    for (const auto& [end, stem] : genitives) {
        if (ends(end)) {
            stems.insert(genus.substr(0, genus.size() - end.size()) + std::string(stem));
        }
    }
    return stems;
}

bool lettersOnly(std::string_view word) {
    return !word.empty() &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// A family of the database as a source names it, with the family the metrics count it as.
SuggestedFamily suggested(const TaxaDatabase& taxa, const FamilyRecord& family, FamilySource source,
                          std::string matched) {
    return {family.id, family.family, source, std::move(matched), countedAsText(taxa, family)};
}

// A name to look up, and whether it keeps every word of the name (else it is the name's species
// or genus only).
struct LookupForm {
    std::string name;
    bool whole = false;
};

std::vector<LookupForm> lookupForms(std::string_view upperName) {
    std::vector<Word> words;
    bool group = false;
    for (Word& w : wordsOf(upperName)) {
        if (isGroupWord(w.text)) {
            group = true;
        } else if (w.parenthesised || !isQualifier(w.text)) {
            words.push_back(std::move(w));
        }
    }
    std::vector<LookupForm> forms;
    const auto add = [&forms](std::string name, bool whole) {
        const bool known =
            std::any_of(forms.begin(), forms.end(), [&](const LookupForm& f) { return f.name == name; });
        if (!name.empty() && !known) {
            forms.push_back({std::move(name), whole});
        }
    };
    const std::string full = joined(words, words.size(), true);
    if (group) {
        add(full + " GROUP", true);
    }
    add(full, true);
    add(joined(words, words.size(), false), true);
    add(joined(words, 2, false), false);
    add(joined(words, 1, false), false);
    return forms;
}

// What the sources say of one name (not a pair).
FamilyEvidence nameEvidence(const TaxaDatabase& taxa, const std::string& upperName, bool utf8) {
    FamilyEvidence evidence;
    const std::vector<LookupForm> forms = lookupForms(upperName);
    for (const LookupForm& form : forms) {
        if (const FamilyRecord* record = taxa.findFamily(form.name)) {
            evidence.known = suggested(taxa, *record, FamilySource::Database, form.name);
            return evidence; // a family needs no rule
        }
        if (const HigherGroup* group = taxa.findHigherGroup(form.name)) {
            evidence.higherGroup = *group;
            if (const FamilyRecord* row = group->familyId > 0 ? taxa.findById(group->familyId) : nullptr) {
                evidence.known = suggested(taxa, *row, FamilySource::HigherGroup, group->name);
            }
            return evidence; // never guessed into a family from its spelling
        }
        if (const DictionaryEntry* entry = taxa.findInDictionary(form.name)) {
            const FamilyRecord* record = entry->familyId > 0 ? taxa.findById(entry->familyId) : nullptr;
            evidence.known =
                record ? suggested(taxa, *record, FamilySource::Dictionary, entry->taxon)
                       : SuggestedFamily{0, entry->family, FamilySource::Dictionary, entry->taxon, {}};
            evidence.exactEntry = form.whole;
            break;
        }
    }
    if (!forms.empty()) {
        const std::string& genusForm = forms.back().name;
        evidence.typeGenus = typeGenusFamily(taxa, genusForm.substr(0, genusForm.find(' ')));
    }
    if (evidence.known && evidence.typeGenus && evidence.known->id != evidence.typeGenus->id &&
        !evidence.exactEntry) {
        evidence.rival = evidence.typeGenus;
    }
    if (!evidence.known && !evidence.typeGenus) {
        evidence.prefix = prefixFamily(taxa, upperName, utf8);
    }
    return evidence;
}

// The two names of a pair "x/y" ("BAETIS/CENTROPTILUM SP.", "BAETIS RHODANI/VERNUS"): the name
// with the paired word replaced by each of its two parts. None when the name holds no pair.
std::optional<std::pair<std::string, std::string>> pairedNames(std::string name) {
    for (std::size_t at;
         (at = name.find(" /")) != std::string::npos || (at = name.find("/ ")) != std::string::npos;) {
        name.erase(name[at] == ' ' ? at : at + 1, 1);
    }
    const std::size_t slash = name.find('/');
    if (slash == std::string::npos || name.find('/', slash + 1) != std::string::npos) {
        return std::nullopt;
    }
    const std::size_t start =
        name.find_last_of(" (", slash) == std::string::npos ? 0 : name.find_last_of(" (", slash) + 1;
    const std::size_t end = std::min(name.find_first_of(" )", slash), name.size());
    const std::string left = name.substr(start, slash - start),
                      right = name.substr(slash + 1, end - slash - 1);
    if (left.empty() || right.empty()) {
        return std::nullopt;
    }
    return std::pair{name.substr(0, start) + left + name.substr(end),
                     name.substr(0, start) + right + name.substr(end)};
}

// The two names of a pair, both known: one family, or two for the user to choose from.
FamilyEvidence pairEvidence(const SuggestedFamily& first, const SuggestedFamily& second) {
    FamilyEvidence evidence;
    evidence.known.emplace(first);
    if (first.id == second.id) {
        evidence.known->matched += " / " + second.matched;
    } else {
        evidence.rival.emplace(second);
    }
    return evidence;
}

} // namespace

std::optional<SuggestedFamily> prefixFamily(const TaxaDatabase& taxa, const std::string& upperName,
                                            bool utf8) {
    constexpr std::size_t shortest = 6;
    auto length = characterCount(upperName, utf8);
    // A prefix longer than every family name cannot match: start at most there.
    std::size_t start = std::min(length > 0 ? length - 1 : 0, taxa.longestName());
    for (std::size_t k = start; k >= shortest; --k) {
        const std::string prefix(firstCharacters(upperName, k, utf8));
        if (const auto* record = taxa.findByPrefix(prefix)) {
            return suggested(taxa, *record, FamilySource::Prefix, prefix);
        }
    }
    return std::nullopt;
}

std::vector<std::string> lookupNames(std::string_view upperName) {
    std::vector<std::string> names;
    for (LookupForm& form : lookupForms(upperName)) {
        names.push_back(std::move(form.name));
    }
    return names;
}

std::optional<SuggestedFamily> typeGenusFamily(const TaxaDatabase& taxa, std::string_view upperGenus) {
    if (!lettersOnly(upperGenus) || upperGenus.size() < 3) {
        return std::nullopt;
    }
    std::optional<SuggestedFamily> found;
    for (const std::string& stem : familyStems(std::string(upperGenus))) {
        const FamilyRecord* record = taxa.findByName(stem + "IDAE");
        if (record == nullptr || (found && found->id == record->id)) {
            continue;
        }
        if (found) {
            return std::nullopt; // two families: the rule decides nothing
        }
        found = suggested(taxa, *record, FamilySource::TypeGenus, std::string(upperGenus));
    }
    return found;
}

FamilyEvidence familyEvidence(const TaxaDatabase& taxa, const std::string& upperName, bool utf8) {
    if (const auto names = pairedNames(upperName)) {
        const auto first = nameEvidence(taxa, names->first, utf8).knownAnswer();
        const auto second = nameEvidence(taxa, names->second, utf8).knownAnswer();
        if (first && second) {
            return pairEvidence(*first, *second);
        }
    }
    return nameEvidence(taxa, upperName, utf8);
}

bool FamilyEvidence::overrulesTypeGenus() const {
    return known && typeGenus && exactEntry && !rival && known->source == FamilySource::Dictionary &&
           known->id != typeGenus->id;
}

std::optional<SuggestedFamily> FamilyEvidence::suggestion() const {
    if (disputed()) {
        return std::nullopt;
    }
    if (known) {
        return known->id > 0 ? known : std::nullopt;
    }
    if (higherGroup) {
        return std::nullopt;
    }
    return typeGenus ? typeGenus : prefix;
}

std::optional<SuggestedFamily> FamilyEvidence::knownAnswer() const {
    return known && known->id > 0 && !disputed() ? known : std::nullopt;
}

std::string sourceName(FamilySource source) {
    switch (source) {
    case FamilySource::Database:
        return "taxa database";
    case FamilySource::Dictionary:
        return "taxon dictionary";
    case FamilySource::TypeGenus:
        return "type genus";
    case FamilySource::HigherGroup:
        return "higher group";
    case FamilySource::Prefix:
        break;
    }
    return "leading letters";
}

std::string countedAsText(const TaxaDatabase& taxa, const FamilyRecord& family) {
    const FamilyRecord& counted = taxa.countedFamily(family);
    if (&counted == &family) {
        return {};
    }
    const FamilyRecord& iberian = taxa.scoredFamily(family, &FamilyRecord::bmwpe);
    return " (counted as " + counted.family + " by the method's scores and lists" +
           (&iberian != &family && &iberian != &counted ? "; as " + iberian.family + " by the Iberian score"
                                                        : "") +
           ")";
}

std::string describe(const SuggestedFamily& s) {
    return sourceName(s.source) + ": " + s.matched + " → " + s.family +
           (s.id == 0 ? ", a family the taxa database does not hold" : "") +
           (s.source == FamilySource::Prefix ? " (a guess)" : "") + s.countedAs;
}

std::string higherGroupText(const HigherGroup& group) {
    return group.name + " is a higher group (" + group.rank + "), not a family";
}

std::string questionEvidenceText(const FamilyEvidence& e) {
    if (e.disputed()) {
        return describe(*e.known) + "; " + describe(*e.rival) + ". They disagree: choose the family.";
    }
    if (e.higherGroup && !e.known) {
        return higherGroupText(*e.higherGroup) + ": choose a family, or ignore it.";
    }
    if (e.overrulesTypeGenus()) {
        return describe(*e.known) + " (its own entry; the type genus gives " + e.typeGenus->family + ")";
    }
    if (e.known && e.known->id == 0) {
        return describe(*e.known) + ".";
    }
    const auto s = e.suggestion();
    return s ? describe(*s) : std::string();
}

} // namespace torrentix
