// Checks the text sources of the taxa database (data/taxa/*.tsv) against what the metrics rely on:
// group codes, the fixed family selections, the ids of the Alpine sensitive families and the
// score ranges. The sources are read here directly, independently of the database builder.

#include "metrics/familylists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifndef TAXA_SOURCE_DIR
#error "TAXA_SOURCE_DIR must name the folder holding the taxa sources"
#endif

namespace {

struct Group {
    std::string where; // file:line, for failure messages
    int id = 0;
    std::string name;
};

struct Family {
    std::string where;
    int id = 0;
    std::string name;
    int group = 0;
    int bmwp = 0;
    int bmwpe = 0;
    int structind = 0;
};

struct Synonym {
    std::string where;
    std::string name;
    std::string family;
};

struct Sources {
    std::vector<Group> groups;
    std::vector<Family> families;
    std::vector<Synonym> synonyms;
    std::vector<std::string> problems; // rows that could not be read
};

struct Row {
    std::string where;
    std::vector<std::string> fields;
};

std::vector<Row> readRows(const std::string& fileName, std::vector<std::string>& problems) {
    const std::string path = std::string(TAXA_SOURCE_DIR) + "/" + fileName;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        problems.push_back(path + ": cannot be read");
    std::vector<Row> rows;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (number == 1 || text.empty()) // header line, blank lines
            continue;
        Row row{fileName + ":" + std::to_string(number), {}};
        std::size_t start = 0;
        for (std::size_t tab; (tab = text.find('\t', start)) != std::string::npos; start = tab + 1)
            row.fields.push_back(text.substr(start, tab - start));
        row.fields.push_back(text.substr(start));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<int> toInt(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Reads the integer columns of a row; records a problem and returns false when one is not an integer.
bool readInts(const Row& row, std::initializer_list<std::pair<std::size_t, int*>> columns,
              std::vector<std::string>& problems) {
    bool ok = true;
    for (auto [column, target] : columns) {
        if (auto value = toInt(row.fields[column]))
            *target = *value;
        else {
            problems.push_back(row.where + ": not an integer: '" + row.fields[column] + "'");
            ok = false;
        }
    }
    return ok;
}

bool hasColumns(const Row& row, std::size_t minimum, std::size_t maximum,
                std::vector<std::string>& problems) {
    if (row.fields.size() >= minimum && row.fields.size() <= maximum)
        return true;
    problems.push_back(row.where + ": " + std::to_string(row.fields.size()) + " columns");
    return false;
}

Sources load() {
    Sources s;
    for (const Row& row : readRows("groups.tsv", s.problems)) {
        Group g{row.where, 0, ""};
        if (hasColumns(row, 2, 2, s.problems) && readInts(row, {{0, &g.id}}, s.problems)) {
            g.name = row.fields[1];
            s.groups.push_back(g);
        }
    }
    for (const Row& row : readRows("families.tsv", s.problems)) {
        Family f{row.where, 0, "", 0, 0, 0, 0};
        if (hasColumns(row, 6, 7, s.problems) && // the seventh column, the note, may be left off
            readInts(row, {{0, &f.id}, {2, &f.group}, {3, &f.bmwp}, {4, &f.bmwpe}, {5, &f.structind}},
                     s.problems)) {
            f.name = row.fields[1];
            s.families.push_back(f);
        }
    }
    for (const Row& row : readRows("synonyms.tsv", s.problems))
        if (hasColumns(row, 2, 2, s.problems))
            s.synonyms.push_back({row.where, row.fields[0], row.fields[1]});
    return s;
}

const Sources& sources() {
    static const Sources loaded = load();
    return loaded;
}

const Family* findFamily(std::string_view name) {
    for (const Family& f : sources().families)
        if (f.name == name)
            return &f;
    return nullptr;
}

const Synonym* findSynonym(std::string_view name) {
    for (const Synonym& s : sources().synonyms)
        if (s.name == name)
            return &s;
    return nullptr;
}

// The family a name of the fixed lists stands for: the row itself, or the row its synonym points to.
const Family* resolve(std::string_view name) {
    if (const Family* f = findFamily(name))
        return f;
    const Synonym* s = findSynonym(name);
    return s ? findFamily(s->family) : nullptr;
}

// Our Alpine selection of sensitive families, which holds the ids the metric counts.
const std::set<std::string> sensitiveSelection = {
    "APHELOCHEIRIDAE", "ATHERICIDAE",      "BERAEIDAE",      "BLEPHARICERIDAE", "BRACHYCENTRIDAE",
    "CAPNIIDAE",       "CHLOROPERLIDAE",   "EPHEMERELLIDAE", "EPHEMERIDAE",     "GOERIDAE",
    "HEPTAGENIIDAE",   "LEPIDOSTOMATIDAE", "LEPTOCERIDAE",   "LEPTOPHLEBIIDAE", "LEUCTRIDAE",
    "MOLANNIDAE",      "ODONTOCERIDAE",    "PERLIDAE",       "PERLODIDAE",      "PHRYGANEIDAE",
    "POTAMANTHIDAE",   "SERICOSTOMATIDAE", "SIPHLONURIDAE",  "TAENIOPTERYGIDAE"};

// Spellings of the fixed lists that are kept on purpose and resolve through a synonym.
const std::map<std::string, std::string> historicalSpellings = {{"RHYACHOPHILIDAE", "RHYACOPHILIDAE"},
                                                                {"STRATYOMIDAE", "STRATIOMYIDAE"}};

std::vector<std::string_view> fixedListFamilies() {
    std::vector<std::string_view> names;
    for (const auto& group : torrentix::bmwpFamilyGroups())
        names.insert(names.end(), group.begin(), group.end());
    names.insert(names.end(), torrentix::selEptdFamilies.begin(), torrentix::selEptdFamilies.end());
    names.insert(names.end(), torrentix::selEtdFamilies.begin(), torrentix::selEtdFamilies.end());
    return names;
}

TEST(TaxaSources, EveryRowIsComplete) {
    for (const std::string& problem : sources().problems)
        ADD_FAILURE() << problem;
    EXPECT_GE(sources().families.size(), 230u);
    EXPECT_FALSE(sources().groups.empty());
    EXPECT_FALSE(sources().synonyms.empty());
}

TEST(TaxaSources, IdsAndNamesAreUnique) {
    std::map<int, std::string> groupIds, familyIds;
    std::map<std::string, std::string> groupNames, familyNames, synonymNames;
    for (const Group& g : sources().groups) {
        EXPECT_GT(g.id, 0) << g.where;
        EXPECT_TRUE(groupIds.emplace(g.id, g.where).second)
            << g.where << ": id " << g.id << " also on " << groupIds[g.id];
        EXPECT_TRUE(groupNames.emplace(g.name, g.where).second)
            << g.where << ": " << g.name << " also on " << groupNames[g.name];
    }
    for (const Family& f : sources().families) {
        EXPECT_GT(f.id, 0) << f.where;
        EXPECT_TRUE(familyIds.emplace(f.id, f.where).second)
            << f.where << ": id " << f.id << " also on " << familyIds[f.id];
        EXPECT_TRUE(familyNames.emplace(f.name, f.where).second)
            << f.where << ": " << f.name << " also on " << familyNames[f.name];
    }
    for (const Synonym& s : sources().synonyms)
        EXPECT_TRUE(synonymNames.emplace(s.name, s.where).second)
            << s.where << ": " << s.name << " also on " << synonymNames[s.name];
}

// Names are matched letter for letter against sample files and the fixed lists, so a lower-case
// letter, a blank or an accent would silently keep a family from being found.
TEST(TaxaSources, NamesAreUpperCaseLetters) {
    auto check = [](const std::string& name, const std::string& where) {
        bool letters = !name.empty() &&
                       std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
        EXPECT_TRUE(letters) << where << ": '" << name << "'";
    };
    for (const Group& g : sources().groups)
        check(g.name, g.where);
    for (const Family& f : sources().families)
        check(f.name, f.where);
    for (const Synonym& s : sources().synonyms) {
        check(s.name, s.where);
        check(s.family, s.where);
    }
}

TEST(TaxaSources, GroupsOfTheMetricsHaveTheirCodes) {
    const std::map<int, std::string> required = {
        {torrentix::groupGastropoda, "GASTROPODA"}, {torrentix::groupOligochaeta, "OLIGOCHAETA"},
        {torrentix::groupDiptera, "DIPTERA"},       {torrentix::groupEphemeroptera, "EPHEMEROPTERA"},
        {torrentix::groupPlecoptera, "PLECOPTERA"}, {torrentix::groupTrichoptera, "TRICHOPTERA"}};
    for (const auto& [code, name] : required) {
        auto g = std::find_if(sources().groups.begin(), sources().groups.end(),
                              [&](const Group& candidate) { return candidate.id == code; });
        ASSERT_NE(g, sources().groups.end()) << "no group " << code;
        EXPECT_EQ(g->name, name) << g->where;
    }
}

TEST(TaxaSources, EveryFamilyBelongsToAGroup) {
    std::set<int> codes;
    for (const Group& g : sources().groups)
        codes.insert(g.id);
    for (const Family& f : sources().families)
        EXPECT_TRUE(codes.contains(f.group)) << f.where << ": " << f.name << " in unknown group " << f.group;
}

TEST(TaxaSources, SynonymsPointToFamiliesAndAreNoFamilies) {
    for (const Synonym& s : sources().synonyms) {
        EXPECT_NE(findFamily(s.family), nullptr)
            << s.where << ": " << s.name << " points to unknown " << s.family;
        EXPECT_EQ(findFamily(s.name), nullptr) << s.where << ": " << s.name << " is also a family";
    }
}

TEST(TaxaSources, SensitiveIdsHoldTheSensitiveSelectionOnly) {
    const std::set<int> ids(torrentix::sensitiveFamilyIds.begin(), torrentix::sensitiveFamilyIds.end());
    ASSERT_EQ(ids.size(), sensitiveSelection.size());
    std::set<std::string> holders;
    for (const Family& f : sources().families) {
        const bool reserved = ids.contains(f.id);
        const bool selected = sensitiveSelection.contains(f.name);
        EXPECT_EQ(reserved, selected) << f.where << ": " << f.name << " has id " << f.id;
        if (reserved)
            holders.insert(f.name);
    }
    EXPECT_EQ(holders, sensitiveSelection);
}

TEST(TaxaSources, ScoresAreZeroOrInTheirPublishedRange) {
    auto scoreOk = [](int score) { return score == 0 || (score >= 1 && score <= 10); };
    for (const Family& f : sources().families) {
        EXPECT_TRUE(scoreOk(f.bmwp)) << f.where << ": " << f.name << " bmwp " << f.bmwp;
        EXPECT_TRUE(scoreOk(f.bmwpe)) << f.where << ": " << f.name << " bmwpe " << f.bmwpe;
    }
}

TEST(TaxaSources, FixedListFamiliesAreRowsWithTheirExactSpelling) {
    for (std::string_view name : fixedListFamilies()) {
        if (historicalSpellings.contains(std::string(name)))
            continue;
        EXPECT_NE(findFamily(name), nullptr) << name << " is named by a fixed list but is no family row";
    }
}

TEST(TaxaSources, HistoricalSpellingsAreSynonymsOnly) {
    const auto listed = fixedListFamilies();
    for (const auto& [spelling, family] : historicalSpellings) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), spelling), listed.end()) << spelling;
        EXPECT_EQ(findFamily(spelling), nullptr) << spelling << " must not be a family row";
        const Synonym* s = findSynonym(spelling);
        ASSERT_NE(s, nullptr) << spelling << " is no synonym";
        EXPECT_EQ(s->family, family) << s->where;
    }
}

// The members of a BMWP composite count once per sample, so they must carry one common score,
// and a score of at least 1 so that the composite is counted at all.
TEST(TaxaSources, CompositeFamiliesShareOneBmwpScore) {
    for (const auto& composite : torrentix::bmwpFamilyGroups()) {
        const Family* first = resolve(composite.front());
        ASSERT_NE(first, nullptr) << composite.front();
        EXPECT_GE(first->bmwp, 1) << first->where << ": " << first->name;
        for (std::string_view member : composite) {
            const Family* f = resolve(member);
            ASSERT_NE(f, nullptr) << member;
            EXPECT_EQ(f->bmwp, first->bmwp) << f->where << ": " << f->name << " vs " << first->name;
        }
    }
}

// The selections match a family when its name occurs anywhere in the selection text; no family
// outside a selection may occur there by accident, e.g. as part of a longer name or across two names.
TEST(TaxaSources, OnlySelectedFamiliesOccurInTheSelectionTexts) {
    auto selected = [](const auto& list, std::string_view name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (const Family& f : sources().families) {
        EXPECT_EQ(torrentix::selEptdText.find(f.name) != std::string_view::npos,
                  selected(torrentix::selEptdFamilies, f.name))
            << f.where << ": " << f.name;
        EXPECT_EQ(torrentix::selEtdText.find(f.name) != std::string_view::npos,
                  selected(torrentix::selEtdFamilies, f.name))
            << f.where << ": " << f.name;
    }
}

} // namespace
