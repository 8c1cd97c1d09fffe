#include "input/familyevidence.h"

#include "base/text.h"

#include <algorithm>
#include <array>
#include <set>

namespace torrentix {
namespace {

// Words that qualify a name without naming a taxon.
bool isQualifier(std::string_view word) {
    static constexpr std::array<std::string_view, 13> words = {"SP.",  "SP",   "SPP.",  "SPP",    "CF.",
                                                               "CF",   "GEN.", "GEN",   "INDET.", "SP.INDET.",
                                                               "AFF.", "S.L.", "S.STR."};
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
            return SuggestedFamily{record->id, record->family, FamilySource::Prefix, prefix};
        }
    }
    return std::nullopt;
}

std::vector<std::string> lookupNames(std::string_view upperName) {
    std::vector<Word> words;
    bool group = false;
    for (Word& w : wordsOf(upperName)) {
        if (isGroupWord(w.text)) {
            group = true;
        } else if (w.parenthesised || !isQualifier(w.text)) {
            words.push_back(std::move(w));
        }
    }
    std::vector<std::string> names;
    const auto add = [&names](std::string name) {
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    };
    const std::string full = joined(words, words.size(), true);
    if (group) {
        add(full + " GROUP");
    }
    add(full);
    add(joined(words, words.size(), false));
    add(joined(words, 2, false));
    add(joined(words, 1, false));
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
        found = SuggestedFamily{record->id, record->family, FamilySource::TypeGenus, std::string(upperGenus)};
    }
    return found;
}

FamilyEvidence familyEvidence(const TaxaDatabase& taxa, const std::string& upperName, bool utf8) {
    FamilyEvidence evidence;
    const std::vector<std::string> names = lookupNames(upperName);
    for (const std::string& name : names) {
        if (const FamilyRecord* record = taxa.findFamily(name)) {
            evidence.known = SuggestedFamily{record->id, record->family, FamilySource::Database, name};
            return evidence; // a family needs no rule
        }
        if (const DictionaryEntry* entry = taxa.findInDictionary(name)) {
            const FamilyRecord* record = entry->familyId > 0 ? taxa.findById(entry->familyId) : nullptr;
            evidence.known =
                record ? SuggestedFamily{record->id, record->family, FamilySource::Dictionary, entry->taxon}
                       : SuggestedFamily{0, entry->family, FamilySource::Dictionary, entry->taxon};
            break;
        }
    }
    if (!names.empty()) {
        evidence.typeGenus = typeGenusFamily(taxa, names.back().substr(0, names.back().find(' ')));
    }
    if (!evidence.known && !evidence.typeGenus) {
        evidence.prefix = prefixFamily(taxa, upperName, utf8);
    }
    return evidence;
}

bool FamilyEvidence::disputed() const {
    return known && typeGenus && known->source == FamilySource::Dictionary && known->id != typeGenus->id;
}

std::optional<SuggestedFamily> FamilyEvidence::suggestion() const {
    if (disputed()) {
        return std::nullopt;
    }
    if (known) {
        return known->id > 0 ? known : std::nullopt;
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
    case FamilySource::Prefix:
        break;
    }
    return "leading letters";
}

std::string describe(const SuggestedFamily& s) {
    return sourceName(s.source) + ": " + s.matched + " → " + s.family +
           (s.id == 0 ? ", a family the taxa database does not hold" : "") +
           (s.source == FamilySource::Prefix ? " (a guess)" : "");
}

} // namespace torrentix
