#include "input/samenames.h"

#include "base/text.h"

#include <map>

namespace torrentix {
namespace {

constexpr std::size_t linesListed = 5;  // lines named per name
constexpr std::size_t namesListed = 10; // names listed per kind

std::string linesText(const std::vector<int>& lines) {
    std::string text = " in lines ";
    for (std::size_t k = 0; k < lines.size() && k < linesListed; ++k) {
        text += (k == 0 ? "" : ", ") + std::to_string(lines[k]);
    }
    return lines.size() > linesListed ? text + " and " + std::to_string(lines.size() - linesListed) + " more"
                                      : text;
}

// The samples of each key held by more than one sample, in the order the keys first appear.
template <class Key> std::vector<std::vector<const Sample*>> heldTwice(const SampleTable& table, Key key) {
    std::map<std::string, std::size_t> group;
    std::vector<std::vector<const Sample*>> groups;
    for (const Sample& s : table.samples) {
        const auto [it, isNew] = group.try_emplace(key(s), groups.size());
        if (isNew) {
            groups.emplace_back();
        }
        groups[it->second].push_back(&s);
    }
    std::erase_if(groups, [](const auto& g) { return g.size() < 2; });
    return groups;
}

void addGroups(const std::vector<std::vector<const Sample*>>& groups, const std::string& kind,
               std::string (*describe)(const std::vector<const Sample*>&), std::vector<std::string>& out) {
    for (std::size_t k = 0; k < groups.size() && k < namesListed; ++k) {
        std::vector<int> lines;
        for (const Sample* s : groups[k]) {
            lines.push_back(s->line);
        }
        out.push_back(kind + " " + describe(groups[k]) + linesText(lines));
    }
    if (groups.size() > namesListed) {
        out.push_back("... and " + std::to_string(groups.size() - namesListed) + " more " + kind + "s");
    }
}

std::string codeOf(const std::vector<const Sample*>& samples) {
    return "\"" + samples.front()->code + "\"";
}

// The name as the outputs print it; the names as written where they differ.
std::string nameOf(const std::vector<const Sample*>& samples) {
    std::string text = "\"" + std::string(trimBlanks(samples.front()->name)) + "\"";
    bool differ = false;
    for (const Sample* s : samples) {
        differ = differ || s->fullName != samples.front()->fullName;
    }
    if (differ) {
        text += " (written";
        for (std::size_t k = 0; k < samples.size() && k < linesListed; ++k) {
            text += (k == 0 ? " \"" : ", \"") + samples[k]->fullName + "\"";
        }
        text += ")";
    }
    return text;
}

} // namespace

std::string printedTestVariableName(std::string_view name, std::size_t k, bool utf8) {
    constexpr std::size_t longestName = 8;
    if (trimBlanks(name).empty()) {
        return "VAR" + std::to_string(k + 1);
    }
    if (characterCount(trimBlanks(name), utf8) > longestName) {
        return std::string(firstCharacters(name, longestName, utf8));
    }
    return std::string(name);
}

std::vector<std::string> sameNames(const SampleTable& table) {
    std::vector<std::string> out;
    addGroups(heldTwice(table, [](const Sample& s) { return s.code; }), "sample code", codeOf, out);
    // Samples without a name are not told apart by name: their codes tell them apart.
    auto named = heldTwice(table, [](const Sample& s) { return s.name; });
    std::erase_if(named, [](const auto& g) { return trimBlanks(g.front()->name).empty(); });
    addGroups(named, "sample name", nameOf, out);
    for (std::size_t a = 0; a < 3; ++a) {
        for (std::size_t b = a + 1; b < 3; ++b) {
            const std::string printed = printedTestVariableName(table.testVariableNames[a], a, table.utf8);
            if (printed == printedTestVariableName(table.testVariableNames[b], b, table.utf8)) {
                out.push_back("test variables \"" + table.testVariableNames[a] + "\" and \"" +
                              table.testVariableNames[b] + "\" (columns " + std::to_string(a + 4) + " and " +
                              std::to_string(b + 4) + ") both print as \"" + printed + "\"");
            }
        }
    }
    return out;
}

} // namespace torrentix
