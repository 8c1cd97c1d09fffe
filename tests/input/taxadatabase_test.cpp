#include "input/taxadatabase.h"
#include "input/taxatree.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <algorithm>
#include <sqlite3.h>
#include <tuple>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

FamilyRecord record(int id, std::string family, int group, std::string groupName) {
    return FamilyRecord{id, std::move(family), group, std::move(groupName), 0, 0, 0};
}

// A database file holding only the given tables.
void writeDatabase(const std::string& path, const char* schema) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, schema, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

TEST(TaxaDatabaseFile, LoadsEveryFamilyWithItsGroupInGroupThenFamilyOrder) {
    const auto& records = realTaxa().records();
    EXPECT_GE(records.size(), 230u);
    const FamilyRecord* gammaridae = realTaxa().findByName("GAMMARIDAE");
    ASSERT_NE(gammaridae, nullptr);
    EXPECT_EQ(std::pair(gammaridae->taxagroup, gammaridae->bmwp), std::pair(std::string("CRUSTACEA"), 6));
    EXPECT_TRUE(std::is_sorted(records.begin(), records.end(), [](const auto& a, const auto& b) {
        return std::tie(a.taxagroup, a.family) < std::tie(b.taxagroup, b.family);
    }));
}

// The database opens through a URI, where "%", "?" and "#" mean something and "//" starts a
// host name; its messages name the path as given.
TEST(TaxaDatabaseFile, OpensWhateverCharactersItsPathHoldsAndFaultsNameThePath) {
    TempDir dir;
    // "?" is not allowed in a Windows file name, nor a path that starts "/C:".
    const std::string folder = dir.file(posixSystem ? "taxa %25 ?mode=rw #1/" : "taxa %25 mode=rw #1/");
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(TAXA_DB_PATH, folder + "ICMTAXA.db");
    for (const std::string& path :
         {folder + "ICMTAXA.db", (posixSystem ? "/" : "") + folder + "ICMTAXA.db"}) {
        EXPECT_EQ(TaxaDatabase::open(path).recordCount(), realTaxa().recordCount()) << path;
    }
    writeFile(folder + "empty.db", "");
    writeFile(folder + "text.db", "not a database at all");
    writeDatabase(folder + "other.db", "CREATE TABLE other(x);");
    writeDatabase(folder + "nofamily.db",
                  "CREATE TABLE TaxaGroup(ID_GC, TaxaGroup); CREATE TABLE syn(family, id_tax);"
                  "CREATE TABLE Family(id, family, idgroup, bmwp, bmwpe, structind, counted_as);");
    for (auto [name, reason] : {std::pair{"missing.db", "no such file"},
                                {"empty.db", "no such table"},
                                {"text.db", "not a database"},
                                {"other.db", "no such table"},
                                {"nofamily.db", "no family"}}) {
        EXPECT_THAT(errorOf([&, name = name] { TaxaDatabase::open(folder + name); }),
                    Mentions(folder + name, reason));
    }
}

TEST(TaxaDatabaseFile, InstalledProgramLooksBesideItselfThenInTheSharedFolder) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("bin"));
    std::filesystem::create_directories(dir.file("share/torrentix"));
    const std::string beside = forwardSlashes(dir.file("bin/ICMTAXA.db")),
                      shared = forwardSlashes(dir.file("bin/../share/torrentix/ICMTAXA.db"));
    const auto found = [&] {
        return std::vector{forwardSlashes(defaultTaxaDatabasePath(dir.file("bin"))),
                           forwardSlashes(defaultTaxaDatabasePath(dir.file("bin/")))};
    };
    EXPECT_EQ(found(), std::vector({beside, beside})); // neither exists
    writeFile(shared, "");
    EXPECT_EQ(found(), std::vector({shared, shared}));
    writeFile(beside, "");
    EXPECT_EQ(found(), std::vector({beside, beside}));
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

TEST(TaxaTreeModel, GroupsAndFamiliesWithTheirKeysTagsAndParents) {
    // A family named like its group gets no node of its own, nor does a family repeated in a row
    // or a repeated id; two groups of one name are merged under the first one's node.
    const TaxaTree tree = buildTaxaTree(
        {record(1, "OLIGOCHAETA", 11, "OLIGOCHAETA"), record(2, "LUMBRICIDAE", 11, "OLIGOCHAETA"),
         record(3, "LUMBRICIDAE", 11, "OLIGOCHAETA"), record(4, "BAETIDAE", 15, "EPHEMEROPTERA"),
         record(5, "CAENIDAE", 16, "EPHEMEROPTERA"), record(5, "CLOEONIDAE", 16, "EPHEMEROPTERA")});
    std::string nodes;
    for (const auto& n : tree.nodes()) {
        nodes += n.key + " " + n.text + " " + n.tag + " " + std::to_string(n.parent) + "; ";
    }
    EXPECT_EQ(nodes, "x TAXA  -1; G_11 OLIGOCHAETA G11 0; F_2 LUMBRICIDAE F2 1; G_15 EPHEMEROPTERA G15 0; "
                     "F_4 BAETIDAE F4 3; F_5 CAENIDAE F5 3; ");
    EXPECT_EQ(tree.findByTag("F5"), 5);
    EXPECT_EQ(tree.findByTag("F1"), -1);
    EXPECT_EQ(TaxaTree::tagNumber("F215"), 215);
}
