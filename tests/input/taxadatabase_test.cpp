#include "input/taxadatabase.h"
#include "input/taxatree.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

using namespace torrentix;
using torrentix::testing::realTaxa;

namespace {

FamilyRecord record(int id, std::string family, int group, std::string groupName) {
    return FamilyRecord{id, std::move(family), group, std::move(groupName), 0, 0, 0};
}

} // namespace

TEST(TaxaDatabaseFile, HoldsTheGroupsTheMetricsNeed) {
    const TaxaDatabase& taxa = realTaxa();
    EXPECT_GE(taxa.recordCount(), 230u);
    const std::pair<const char*, int> groups[] = {{"GASTROPODA", 8},  {"OLIGOCHAETA", 11},
                                                  {"DIPTERA", 24},    {"EPHEMEROPTERA", 15},
                                                  {"PLECOPTERA", 17}, {"TRICHOPTERA", 21}};
    for (const auto& [name, code] : groups) {
        bool found = false;
        for (const auto& r : taxa.records()) {
            found = found || (r.idgroup == code && r.taxagroup == name);
        }
        EXPECT_TRUE(found) << name;
    }
    EXPECT_EQ(taxa.findByName("GAMMARIDAE")->bmwp, 6);
}

TEST(TaxaDatabaseFile, RecordsComeInGroupThenFamilyOrder) {
    const auto& records = realTaxa().records();
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto& a = records[i - 1];
        const auto& b = records[i];
        EXPECT_TRUE(a.taxagroup < b.taxagroup || (a.taxagroup == b.taxagroup && a.family <= b.family))
            << a.family << " before " << b.family;
    }
}

TEST(TaxaDatabaseFile, MissingFileIsAClearError) {
    try {
        TaxaDatabase::open("/nonexistent/ICMTAXA.db");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/ICMTAXA.db"), std::string::npos);
    }
    torrentix::testing::TempDir dir;
    torrentix::testing::writeFile(dir.file("ICMTAXA.db"), "not a database at all");
    EXPECT_THROW(TaxaDatabase::open(dir.file("ICMTAXA.db")), Error);
}

TEST(TaxaLookups, FirstMatchInRecordSetOrder) {
    // Two records share an upper-cased name and a prefix: the first in order answers.
    TaxaDatabase taxa({record(5, "BAETIDAE", 15, "EPHEMEROPTERA"), record(9, "Baetidae", 15, "EPHEMEROPTERA"),
                       record(7, "BAETISCIDAE", 15, "EPHEMEROPTERA"),
                       record(3, "CAENIDAE", 15, "EPHEMEROPTERA")},
                      {{"BETIDAE", 5}, {"ORPHAN", 999}});
    EXPECT_EQ(taxa.findByName("BAETIDAE")->id, 5);
    EXPECT_EQ(taxa.findByName("baetidae"), nullptr); // look-ups take the upper-case name
    EXPECT_EQ(taxa.findByPrefix("BAETI")->id, 5);
    EXPECT_EQ(taxa.findByPrefix("BAETIS")->id, 7);
    EXPECT_EQ(taxa.findByPrefix("BAETIDAEX"), nullptr);
    EXPECT_EQ(taxa.findById(3)->family, "CAENIDAE");
    EXPECT_EQ(taxa.synonymTarget("BETIDAE"), 5);
    EXPECT_EQ(taxa.synonymTarget("ORPHAN"), 999); // the caller finds no family for it
    EXPECT_FALSE(taxa.synonymTarget("NOPE").has_value());
}

TEST(TaxaLookups, QuotesAndOtherCharactersAreOnlyData) {
    TaxaDatabase taxa({record(1, "QUOTE\"IDAE", 1, "G")}, {});
    EXPECT_EQ(taxa.findByName("QUOTE\"IDAE")->id, 1);
    EXPECT_EQ(taxa.findByName("\" OR 1=1 --"), nullptr);
    EXPECT_EQ(realTaxa().findByName("GAMMARIDAE\"; DROP TABLE Family; --"), nullptr);
}

TEST(TaxaTreeModel, GroupsAndFamiliesWithTheirKeysAndTags) {
    const TaxaTree tree =
        albero({record(1, "OLIGOCHAETA", 11, "OLIGOCHAETA"), record(2, "LUMBRICIDAE", 11, "OLIGOCHAETA"),
                record(3, "LUMBRICIDAE", 11, "OLIGOCHAETA"), record(4, "BAETIDAE", 15, "EPHEMEROPTERA"),
                record(5, "CAENIDAE", 16, "EPHEMEROPTERA")});
    const auto& n = tree.nodes();
    ASSERT_EQ(n.size(), 6u);
    EXPECT_EQ(n[0].key, "x");
    EXPECT_EQ(n[0].text, "TAXA");
    // A family named like its group gets no node of its own.
    EXPECT_EQ(n[1].key, "G_11");
    EXPECT_EQ(n[1].tag, "G11");
    EXPECT_EQ(n[1].text, "OLIGOCHAETA");
    // A family repeated in a row gets one node.
    EXPECT_EQ(n[2].key, "F_2");
    EXPECT_EQ(n[2].parent, 1);
    EXPECT_EQ(n[3].key, "G_15");
    // Two groups of one name are merged under the first one's node.
    EXPECT_EQ(n[4].key, "F_4");
    EXPECT_EQ(n[5].key, "F_5");
    EXPECT_EQ(n[5].parent, 3);
    EXPECT_EQ(tree.findByTag("F5"), 5);
    EXPECT_EQ(tree.findByTag("F1"), -1);
    EXPECT_EQ(TaxaTree::tagNumber("F215"), 215);
    EXPECT_EQ(TaxaTree::tagNumber("G8"), 8);
}

TEST(TaxaTreeModel, DuplicateIdsDoNotBreakTheTree) {
    const TaxaTree tree = albero({record(1, "AIDAE", 1, "A"), record(1, "BIDAE", 1, "A")});
    EXPECT_EQ(tree.nodes().size(), 3u);
}
