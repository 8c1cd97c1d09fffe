#include "input/samplereader.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>
#include <map>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

const std::string header = "CODE\tSAMPLE\tCLASS\tIdx\tPress\tAlt";

struct ReadFixture : ::testing::Test {
    TempDir dir;
    std::vector<std::string> asked;
    UnknownTaxonAnswer answer = UnknownTaxonAnswer::ignore();
    std::map<std::string, UnknownTaxonAnswer> answerFor; // answers by name, else `answer`
    const TaxaTree tree = albero(realTaxa().records());

    ReadResult read(const std::string& content, const std::string& name = "s.txt") {
        writeFile(dir.file(name), content);
        return inputtxt(dir.file(name), realTaxa(), tree, [this](const UnknownTaxonQuestion& q) {
            asked.push_back(q.name);
            auto it = answerFor.find(q.name);
            return it == answerFor.end() ? answer : it->second;
        });
    }
    std::string errorOf(const std::string& content) {
        try {
            read(content);
        } catch (const Error& e) {
            return e.what();
        }
        return "no error";
    }
};

} // namespace

TEST_F(ReadFixture, MergesColumnsOfOneFamilyAndKeepsIgnoredColumnsInTheTotal) {
    auto r = read(crlfLines(
        {"My title", header + "\tBaetidae\tGAMMARIDAE\tBAETIDAE\tRHYACHOPHILIDAE\tMYSTERY",
         "1\tSite one\t6\t0.5\t12\t300\t1\t2\t3\t4\t0", "2\tSite two\t5\t0.6\t\tabc\t0\t0\t0\t0\t9"}));
    const SampleTable& t = r.table;
    EXPECT_EQ(t.titleline, "My title");
    EXPECT_EQ(t.famnames, (std::vector<std::string>{"BAETIDAE", "GAMMARIDAE", "RHYACOPHILIDAE"}));
    ASSERT_EQ(t.nsamp(), 2); // sample 2 only has the ignored column, but it counts in the total
    EXPECT_EQ(t.abundance(0, 0), 4.0);
    EXPECT_EQ(t.abundance(0, 1), 2.0);
    EXPECT_EQ(t.abundance(0, 2), 4.0);
    EXPECT_EQ(t.abundance(1, 0) + t.abundance(1, 1) + t.abundance(1, 2), 0.0);
    EXPECT_EQ(t.ignoredtaxa, "\r\nMYSTERY");
    EXPECT_EQ(asked, (std::vector<std::string>{"MYSTERY"}));
    EXPECT_TRUE(t.namesfixed);
    EXPECT_EQ(t.testcount, (std::array<int, 3>{2, 1, 1}));
    EXPECT_EQ(t.samples[1].testval[1], "N/A");
    EXPECT_EQ(t.samples[1].testval[2], "N/A");
    EXPECT_EQ(t.samples[0].name, "Site one       ");
}

TEST_F(ReadFixture, DropsEmptySamplesSkipsTabRowsAndStopsAtTheFirstBlankLine) {
    auto r = read(crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t1\t1\t1\t0", "\t\t\t",
                             "2\tb\t6\t2\t2\t2\t5", "   ", "3\tc\t6\t3\t3\t3\t5"}));
    ASSERT_EQ(r.table.nsamp(), 1);
    EXPECT_EQ(r.table.samples[0].code, "2");
    EXPECT_EQ(r.table.testcount[0], 2); // the dropped row's test value still counts
    EXPECT_FALSE(r.table.namesfixed);
    EXPECT_TRUE(r.correctedPath.empty());
}

TEST_F(ReadFixture, ClassRuleRoundsHalvesToEven) {
    auto r = read(crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6.6\t1\t1\t1\t1", "2\tb\t0.4\t1\t1\t1\t1",
                             "3\tc\tgood\t1\t1\t1\t1", "4\td\t-1\t1\t1\t1\t1", "5\te\t2.5\t1\t1\t1\t1",
                             "6\tf\t5.5\t1\t1\t1\t1", "7\tg\t7\t1\t1\t1\t1"}));
    std::vector<int> classes;
    for (const auto& s : r.table.samples) {
        classes.push_back(s.sampclass);
    }
    EXPECT_EQ(classes, (std::vector<int>{7, 0, 0, 0, 2, 6, 0}));
}

TEST_F(ReadFixture, TestCellsMustBeWholeNumbers) {
    auto r =
        read(crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t12\t1.5e3\t 7 \t1", "2\tb\t6\t12x\t1,5\t\t1"}));
    EXPECT_EQ(r.table.testcount, (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(r.table.samples[0].testval[2], " 7 "); // kept as written
    EXPECT_EQ(r.table.samples[1].testval[0], "N/A");
}

TEST_F(ReadFixture, ColumnCountErrorsNameTheSampleOrdinal) {
    // Two kept samples, a dropped one and a blank row precede the faulty row: it is row 3.
    const std::string content =
        crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t1\t1\t1\t1", "\t", "2\tb\t6\t1\t1\t1\t0",
                   "3\tc\t6\t1\t1\t1\t1", "4\td\t6\t1\t1\t1\t1\textra"});
    EXPECT_EQ(errorOf(content),
              "Error #1. Too many columns in row 3 (file: " + dir.file("s.txt") + "). Process aborted.");
    EXPECT_EQ(errorOf(crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t1\t1\t1"})),
              "Error #1. Too few columns in row 1 (file: " + dir.file("s.txt") + "). Process aborted.");
}

TEST_F(ReadFixture, UnusableFilesAreRefusedBeforeAnyQuestion) {
    EXPECT_NE(errorOf(crlfLines({"t", header, "1\ta\t6\t1\t1\t1"})).find("no taxon column"),
              std::string::npos);
    EXPECT_NE(errorOf(crlfLines({"t", header + "\tMYSTERY"})).find("no data line"), std::string::npos);
    EXPECT_NE(errorOf(""), "no error");
    EXPECT_TRUE(asked.empty());
    EXPECT_NE(errorOf(crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t1\t1\t1\t0"})).find("no sample"),
              std::string::npos);
    EXPECT_EQ(errorOf("x"), "The file " + dir.file("s.txt") +
                                " has no taxon column (a family name is expected from column 7 on).");
    try {
        inputtxt(dir.file("absent.txt"), realTaxa(), tree, {});
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "File not found.");
    }
}

TEST_F(ReadFixture, NegativeOrInfiniteAbundancesStopTheRead) {
    const std::string neg =
        errorOf(crlfLines({"t", header + "\tBAETIDAE\tCAENIDAE", "1\ta\t6\t1\t1\t1\t1\t-3"}));
    EXPECT_NE(neg.find("row 1"), std::string::npos) << neg;
    EXPECT_NE(neg.find("taxon column 2"), std::string::npos) << neg;
    EXPECT_NE(errorOf(crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t1\t1\t1\t1e999"})).find("1e999"),
              std::string::npos);
    // Two huge abundances of one sample add up beyond any number.
    EXPECT_NE(errorOf(crlfLines({"t", header + "\tBAETIDAE\tCAENIDAE", "1\ta\t6\t1\t1\t1\t1e308\t1e308"}))
                  .find("row 1"),
              std::string::npos);
    auto ok = read(crlfLines({"t", header + "\tBAETIDAE\tCAENIDAE", "1\ta\t6\t1\t1\t1\t1e308\tnan"}));
    EXPECT_EQ(ok.table.abundance(0, 0), 1e308);
    EXPECT_EQ(ok.table.abundance(0, 1), 0.0);
}

TEST_F(ReadFixture, LineEndsByteOrderMarkAndUtf8Names) {
    auto lf = read("\xEF\xBB\xBFt\nCODE\tSAMPLE\tCLASS\tA\tB\tC\tBAETIDAE\n1\t\xC3\xA9tang de la For\xC3\xAA"
                   "t\t6\t1\t1\t1\t2\n");
    EXPECT_TRUE(lf.table.utf8);
    EXPECT_EQ(lf.table.titleline, "t");
    EXPECT_EQ(lf.table.samples[0].name, "\xC3\xA9tang de la For");
    auto cr = read("t\rCODE\tSAMPLE\tCLASS\tA\tB\tC\tBAETIDAE\r1\ta\t6\t1\t1\t1\t2\r2\tb\t6\t1\t1\t1\t2");
    EXPECT_EQ(cr.table.nsamp(), 2);
    EXPECT_FALSE(cr.table.utf8);
}

TEST_F(ReadFixture, AbortStopsTheReadAndWritesNothing) {
    answer = UnknownTaxonAnswer::abort();
    auto r = read(crlfLines({"t", header + "\tMYSTERY\tOTHER", "1\ta\t6\t1\t1\t1\t1\t1"}));
    EXPECT_EQ(r.status, ReadResult::Status::Aborted);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_FALSE(fileExists(dir.file("s_adj.txt")));
}

TEST_F(ReadFixture, CorrectedFileHasTheShapeOfASampleFile) {
    answerFor["BETIDAE"] = UnknownTaxonAnswer::family(5, "BAETIDAE");
    std::filesystem::create_directory(dir.file("data.v1"));
    auto r =
        read(crlfLines({"Title line", "C\tS\tK\t Idx \tPress\tAlt\tBETIDAE\tGAMMARIDAE\tBAETIDAE\tMYSTERY",
                        "A1\tA very long sample name\tx\t0.5\t\t3\t1.5\t0.00001\t2\t0",
                        "A2\tzero\t6\t1\t1\t1\t0\t0\t0\t0", "A3\tb\t5\t1\t1\t1\t1e20\t0\t0\t0"}),
             "data.v1/sites");
    const std::string expected = crlfLines({"Title line", "C\tS\tK\tIdx\tPress\tAlt\tBAETIDAE\tGAMMARIDAE",
                                            "A1\tA very long sam\t0\t0.5\tN/A\t3\t3.5\t1E-05",
                                            "A3\tb              \t5\t1\t1\t1\t1E+20\t0"});
    EXPECT_EQ(r.correctedPath, dir.file("data.v1/sites_adj.txt"));
    EXPECT_EQ(readFile(r.correctedPath), expected);
    EXPECT_EQ(r.notice, "The corrected file has been saved as " + r.correctedPath +
                            "\r\n\r\nThe following taxa were ignored:\r\nMYSTERY");
    // The corrected file reads back as the same table, without any question.
    asked.clear();
    auto again = inputtxt(r.correctedPath, realTaxa(), tree, {});
    EXPECT_EQ(again.table.famnames, r.table.famnames);
    EXPECT_EQ(again.table.abund, r.table.abund);
    EXPECT_FALSE(again.table.namesfixed);
}

TEST_F(ReadFixture, CorrectedFileWriteFailureIsReportedAndTheReadGoesOn) {
    answer = UnknownTaxonAnswer::family(5, "BAETIDAE");
    std::filesystem::create_directory(dir.file("s_adj.txt")); // a folder stands where the file would go
    auto r = read(crlfLines({"t", header + "\tBETIDAE", "1\ta\t6\t1\t1\t1\t1"}));
    EXPECT_EQ(r.status, ReadResult::Status::Ok);
    EXPECT_NE(r.correctedFileError.find(dir.file("s_adj.txt")), std::string::npos) << r.correctedFileError;
    EXPECT_TRUE(r.correctedPath.empty());
}
