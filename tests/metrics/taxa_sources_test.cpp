// The taxa database built from data/taxa against what the metrics rely on: group codes, the
// fixed family selections and their spellings, the ids of the Alpine sensitive families and
// the score ranges. (The builder itself refuses incomplete rows, repeated ids or names,
// unknown groups and synonyms that point nowhere.)

#include "metrics/familylists.h"
#include "metrics/familytraits.h"
#include "support/taxa.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace torrentix;
using torrentix::testing::realTaxa;

namespace {

// Older spellings in the fixed lists, which count their family through a synonym.
const std::map<std::string_view, std::string> historicalSpellings = {{"RHYACHOPHILIDAE", "RHYACOPHILIDAE"},
                                                                     {"STRATYOMIDAE", "STRATIOMYIDAE"}};

const FamilyRecord* resolve(std::string_view name) {
    return realTaxa().findFamily(name);
}

template <typename List, typename Item> bool contains(const List& list, const Item& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

// Names are matched letter for letter against sample files and the selection texts, so a
// lower-case letter, a blank or an accent would silently keep a family from being counted.
TEST(TaxaSources, NamesAreCapitalsScoresInRangeAndGroupCodesFixed) {
    std::map<int, std::string> groups;
    for (const FamilyRecord& r : realTaxa().records()) {
        for (const std::string& name : {r.family, r.taxagroup}) {
            EXPECT_TRUE(!name.empty() &&
                        std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
                << "'" << name << "'";
        }
        for (int score : {r.bmwp, r.bmwpe}) {
            EXPECT_TRUE(score >= 0 && score <= 10) << r.family << " scores " << score;
        }
        groups.emplace(r.idgroup, r.taxagroup);
    }
    EXPECT_EQ((std::vector{groups[groupGastropoda], groups[groupOligochaeta], groups[groupDiptera],
                           groups[groupEphemeroptera], groups[groupPlecoptera], groups[groupTrichoptera]}),
              (std::vector<std::string>{"GASTROPODA", "OLIGOCHAETA", "DIPTERA", "EPHEMEROPTERA", "PLECOPTERA",
                                        "TRICHOPTERA"}));
}

// Every name of every list stands for a family of the database, directly or through a
// synonym: a name that resolves to nothing would silently never count.
TEST(TaxaSources, EveryListNameResolvesToAFamilyOfTheDatabase) {
    std::vector<std::string_view> listed(selEptdFamilies.begin(), selEptdFamilies.end());
    listed.insert(listed.end(), selEtdFamilies.begin(), selEtdFamilies.end());
    for (const auto& composite : bmwpFamilyGroups()) {
        listed.insert(listed.end(), composite.begin(), composite.end());
    }
    for (std::string_view name : listed) {
        ASSERT_NE(resolve(name), nullptr) << name << " is neither a family nor a synonym";
        const auto historical = historicalSpellings.find(name);
        EXPECT_EQ(resolve(name)->family, historical == historicalSpellings.end() ? name : historical->second);
    }
    for (const auto& [spelling, family] : historicalSpellings) {
        EXPECT_TRUE(contains(listed, spelling)) << spelling;
    }
    const FamilySelections selections = resolveFamilySelections(realTaxa());
    EXPECT_EQ(selections.selEptd.size(), selEptdFamilies.size());
    EXPECT_EQ(selections.selEtd.size(), selEtdFamilies.size());
    for (std::size_t g = 0; g < bmwpFamilyGroups().size(); ++g) {
        EXPECT_EQ(selections.bmwpGroups[g].size(), bmwpFamilyGroups()[g].size());
    }
}

// The members of a BMWP composite count once per sample, so they carry one common score, and
// a score of at least 1 so that the composite counts at all.
TEST(TaxaSources, CompositeFamiliesShareOneBmwpScore) {
    for (const auto& composite : bmwpFamilyGroups()) {
        for (std::string_view member : composite) {
            EXPECT_GE(resolve(member)->bmwp, 1) << member; // every member resolves, as tested above
            EXPECT_EQ(resolve(member)->bmwp, resolve(composite.front())->bmwp)
                << member << " vs " << composite.front();
        }
    }
}

// The sensitive families are counted by id, so the ids must be those of the selected families.
TEST(TaxaSources, SensitiveFamilyIdsAreThoseOfTheSelectedFamilies) {
    const std::set<std::string> sensitive = {
        "APHELOCHEIRIDAE", "ATHERICIDAE",      "BERAEIDAE",      "BLEPHARICERIDAE", "BRACHYCENTRIDAE",
        "CAPNIIDAE",       "CHLOROPERLIDAE",   "EPHEMERELLIDAE", "EPHEMERIDAE",     "GOERIDAE",
        "HEPTAGENIIDAE",   "LEPIDOSTOMATIDAE", "LEPTOCERIDAE",   "LEPTOPHLEBIIDAE", "LEUCTRIDAE",
        "MOLANNIDAE",      "ODONTOCERIDAE",    "PERLIDAE",       "PERLODIDAE",      "PHRYGANEIDAE",
        "POTAMANTHIDAE",   "SERICOSTOMATIDAE", "SIPHLONURIDAE",  "TAENIOPTERYGIDAE"};
    std::set<std::string> withSensitiveId;
    for (const FamilyRecord& r : realTaxa().records()) {
        if (contains(sensitiveFamilyIds, r.id)) {
            withSensitiveId.insert(r.family);
        }
    }
    EXPECT_EQ(withSensitiveId, sensitive);
}
