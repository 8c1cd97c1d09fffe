#include "base/text.h"
#include "input/samenames.h"
#include "input/samplereader.h"
#include "support/samplefile.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

const std::string header = "CODE\tSAMPLE\tCLASS\tIdx\tPress\tAlt";

struct ReadFixture : ::testing::Test {
    TempDir dir;
    std::vector<std::string> asked;
    std::map<std::string, UnknownTaxonAnswer> answers; // by name; any other unknown name is ignored

    ReadResult read(const std::string& content, const std::string& name = "s.txt", ReadOptions options = {}) {
        writeFile(dir.file(name), content);
        return readSampleFileSavingCorrections(
            dir.file(name), realTaxa(), realTree(),
            [this](const UnknownTaxonQuestion& q) {
                asked.push_back(q.name);
                return answers.contains(q.name) ? answers[q.name] : UnknownTaxonAnswer::ignore();
            },
            options);
    }
};

} // namespace

// Rows up to the first blank line; rows of tabs are skipped, rows without any abundance
// dropped, though their test values still count; a row with abundance only in an ignored
// column is kept.
TEST_F(ReadFixture, MergesColumnsOfOneFamilyAndKeepsRowsUpToTheFirstBlankLine) {
    auto r =
        read(crlfLines({"My title", header + "\tBaetidae\tGAMMARIDAE\tBAETIDAE\tRHYACHOPHILIDAE\tMYSTERY",
                        "1\tSite one\t6\t0.5\t12\t300\t1\t2\t3\tnan\t0", "\t\t\t",
                        "2\tSite two\t5\t0.6\t\tabc\t0\t0\t0\t0\t9", "3\tc\t6\t3\t3\t3\t0\t0\t0\t0\t0", "   ",
                        "4\td\t6\t4\t4\t4\t1\t1\t1\t1\t1"}));
    const SampleTable& t = r.table;
    EXPECT_EQ(t.title, "My title");
    EXPECT_EQ(t.familyNames, (std::vector<std::string>{"BAETIDAE", "GAMMARIDAE", "RHYACOPHILIDAE"}));
    EXPECT_EQ(t.abundances.dense(3), (std::vector<double>{4, 2, 0, 0, 0, 0})); // text reads as 0
    EXPECT_EQ(t.ignoredColumns, std::vector<std::string>{"MYSTERY"});
    EXPECT_EQ(asked, (std::vector<std::string>{"MYSTERY"}));
    EXPECT_TRUE(t.namesCorrected);
    EXPECT_EQ(t.numericTestValueCounts, (std::array<int, 3>{3, 2, 2}));
    EXPECT_EQ(t.samples[1].testValueTexts, (std::array<std::string, 3>{"0.6", "N/A", "N/A"}));
    EXPECT_EQ(t.samples[0].name, "Site one       ");
}

// A text from another source than a file (another program's table) is read as the file
// holding it, given again when the reader needs it anew (the empty last column); on request
// every taxon column stays as written, a synonym and a genus not merged nor asked about.
TEST_F(ReadFixture, ATextOfAnySourceReadsAsItsFileAndColumnsCanStayAsWritten) {
    const std::string text =
        "t\n" + header + "\tBaetidae\tBAETIDAE\tEphemera danica\t\n1\ta\t6\t1\t2\t3\t1\t2\t3\t\n";
    const OpenSampleText open = [&text](std::size_t blockBytes, bool&) {
        auto offset = std::make_shared<std::size_t>(0);
        return TextBlocks(
            [&text, offset](std::string& into, std::size_t most) {
                const std::size_t n = std::min(most, text.size() - *offset);
                into.append(text, *offset, n);
                *offset += n;
                return n;
            },
            std::string(), blockBytes);
    };
    const auto fromText = [&](ReadOptions options) {
        return readSampleText(
                   "table", open, realTaxa(), realTree(),
                   [](const UnknownTaxonQuestion&) { return UnknownTaxonAnswer::ignore(); }, options)
            .table;
    };
    const SampleTable file = read(text).table, merged = fromText({});
    EXPECT_EQ(merged.familyNames, file.familyNames);
    EXPECT_EQ(merged.abundances, file.abundances);
    const SampleTable asWritten = fromText({.columnsAsWritten = true});
    EXPECT_EQ(asWritten.familyNames, (std::vector<std::string>{"Baetidae", "BAETIDAE", "Ephemera danica"}));
    EXPECT_EQ(asWritten.abundances.dense(3), (std::vector<double>{1, 2, 3}));
}

// A read kept before its unknown names are answered completes, for each answer and as often
// as asked, as a whole read with that answer does, its file gone meanwhile; a file of known
// names only is complete at once.
TEST_F(ReadFixture, AReadKeptBeforeItsNamesIsCompletedByEachAnswerWithoutItsFile) {
    const std::string text = crlfLines({"t", header + "\tBAETIDAE\tMYSTERY\tGAMMARIDAE",
                                        "1\ta\t6\t1\t2\t3\t1\t2\t0", "2\tb\t5\t1\t2\t3\t0\t4\t0"});
    answers["MYSTERY"] = UnknownTaxonAnswer::family(realTaxa().findByName("GAMMARIDAE")->id, "GAMMARIDAE");
    const ReadResult whole = read(text);
    const ReadBeforeNames kept(dir.file("s.txt"), realTaxa(), realTree(), {});
    std::filesystem::remove(dir.file("s.txt"));
    const ReadResult ignored =
        kept.answered([](const UnknownTaxonQuestion&) { return UnknownTaxonAnswer::ignore(); });
    EXPECT_EQ(ignored.table.abundances.dense(2), (std::vector<double>{1, 0, 0, 0}));
    EXPECT_EQ(ignored.table.ignoredColumns, std::vector<std::string>{"MYSTERY"});
    for (int k = 0; k < 2; ++k) {
        const ReadResult r =
            kept.answered([this](const UnknownTaxonQuestion&) { return answers["MYSTERY"]; });
        EXPECT_EQ(r.table.familyNames, whole.table.familyNames);
        EXPECT_EQ(r.table.abundances, whole.table.abundances);
        EXPECT_EQ(r.notes, whole.notes);
        EXPECT_TRUE(r.table.namesCorrected && r.table.sourcePath == dir.file("s.txt"));
    }
    // A file of known names, a doubtful cell and a line after the blank line that ends the data.
    const ReadResult known =
        read(crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t1\t2\t3\t5", "2\tb\t6\t1\t2\t3\t4x", "", "3"}),
             "k.txt");
    const ReadBeforeNames keptKnown(dir.file("k.txt"), realTaxa(), realTree(), {});
    const ReadResult again = keptKnown.answered(nullptr); // nothing to ask
    EXPECT_EQ(again.table.abundances, known.table.abundances);
    EXPECT_EQ(again.table.samples[0].name, known.table.samples[0].name);
    EXPECT_TRUE(again.doubtfulCount == 1 && again.unread && again.unread->lines == 1);
    EXPECT_EQ(errorOf([&] { ReadBeforeNames(dir.file("absent.txt"), realTaxa(), realTree(), {}); }),
              "File not found.");
}

TEST_F(ReadFixture, ClassesRoundHalvesToEvenAndTestCellsMustBeWholeNumbers) {
    const std::vector<std::string> classTexts{"6.6", "0.4", "good", "-1", "2.5", "5.5", "7"};
    const std::vector<std::string> testTexts{"1.5e3", " 7 ", "12x", "\"4\"", "", "0x10", ".5"};
    SampleFile f = SampleFile::typical(std::vector<int>(classTexts.size(), 6), {"BAETIDAE"});
    for (std::size_t i = 0; i < classTexts.size(); ++i) {
        f.cell(i, 2) = classTexts[i];
        f.cell(i, 3) = testTexts[i];
    }
    std::vector<int> classes;
    std::vector<std::string> testValues;
    for (const Sample& s : read(f.text()).table.samples) {
        classes.push_back(s.qualityClass);
        testValues.push_back(s.testValueTexts[0]);
    }
    EXPECT_EQ(classes, (std::vector<int>{7, 0, 0, 0, 2, 6, 0}));
    EXPECT_EQ(testValues, (std::vector<std::string>{"1.5e3", " 7 ", "N/A", "4", "N/A", "N/A", ".5"}));
}

TEST_F(ReadFixture, UnusableFilesAreErrorsNamingWhereTheFaultIs) {
    // Two kept samples, a dropped one and a blank row precede the faulty row: it is row 3.
    const std::string tooMany =
        crlfLines({"t", header + "\tBAETIDAE", "1\ta\t6\t1\t1\t1\t1", "\t", "2\tb\t6\t1\t1\t1\t0",
                   "3\tc\t6\t1\t1\t1\t1", "4\td\t6\t1\t1\t1\t1\tx"});
    const std::string taxa = header + "\tBAETIDAE\tCAENIDAE";
    SampleFile noTitle = SampleFile::typical();
    noTitle.header = noTitle.rows[0];
    const std::pair<std::string, const char*> cases[] = {
        {tooMany, "Too many columns in row 3 (file: "},
        {tooMany, "Process aborted. File line 7 holds 8 cells; the header has 7."},
        {crlfLines({"t", taxa, "1\ta\t6\t1\t1\t1\t1"}), "Too few columns in row 1"},
        {crlfLines({"t", taxa + "\t\tGAMMARIDAE\t", "1\ta\t6\t1\t1\t1\t1\t1\t1\t1\t1"}),
         "empty column names in columns 9, 11"},
        {crlfLines({"t", "CODE,SAMPLE,CLASS,A,B,C,BAETIDAE"}), "looks comma-separated"},
        {crlfLines({"t", "CODE;SAMPLE;CLASS;A;B;C,D;BAETIDAE"}), "looks semicolon-separated"},
        {std::string("PK\x03\x04", 4) + "xl/workbook.xml", "spreadsheet workbook"},
        {std::string("t\r\nCODE\t\0\r\n", 11), "not a text file: byte 9"},
        {noTitle.text(), "title line"},
        {crlfLines({"t", taxa, "1\ta\t6\t1\t1\t1\t1\t-3"}), "row 1, taxon column 2"},
        {crlfLines({"t", taxa, "1\ta\t6\t1\t1\t1\t1e999\t1"}), "\"1e999\" in row 1"},
        {crlfLines({"t", taxa, "1\ta\t6\t1\t1\t1\t1e308\t1e308"}), "row 1 add up"},
        {crlfLines({"t", taxa, "1\ta\t6\t1\t1\t1\t0\t0"}), "no sample"},
        {crlfLines({"t", header, "1\ta\t6\t1\t1\t1"}),
         "no taxon column (a family name is expected from column 7"},
        {"x", "no taxon column"},
        {crlfLines({"t", header + "\tMYSTERY"}), "no data line"},
        {"", "is empty"}};
    for (const auto& [content, fact] : cases) {
        EXPECT_THAT(errorOf([&, &content = content] { read(content); }), Mentions(dir.file("s.txt"), fact))
            << content;
    }
    EXPECT_TRUE(asked.empty()); // refused before any question
    EXPECT_EQ(
        errorOf([&] { readSampleFileSavingCorrections(dir.file("absent.txt"), realTaxa(), realTree(), {}); }),
        "File not found.");
}

TEST_F(ReadFixture, LineEndsByteOrderMarkAndUtf8Names) {
    auto lf = read("\xEF\xBB\xBFt\nCODE\tSAMPLE\tCLASS\tA\tB\tC\tBAETIDAE\n1\t\xC3\xA9tang de la For\xC3\xAA"
                   "t\t6\t1\t1\t1\t2\n");
    EXPECT_TRUE(lf.table.utf8);
    EXPECT_EQ(lf.table.title, "t");
    EXPECT_EQ(lf.table.samples[0].name, "\xC3\xA9tang de la For");
}

// Abort stops the read and writes nothing; a corrected file that cannot be written is
// reported and the read goes on.
TEST_F(ReadFixture, AbortWritesNothingAndAnUnwritableCorrectedFileIsReported) {
    answers["MYSTERY"] = UnknownTaxonAnswer::abort();
    auto r = read(crlfLines({"t", header + "\tMYSTERY\tOTHER", "1\ta\t6\t1\t1\t1\t1\t1"}));
    EXPECT_EQ(r.status, ReadResult::Status::Aborted);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_FALSE(fileExists(dir.file("s_adj.txt")));
    answers["BETIDAE"] = UnknownTaxonAnswer::family(5, "BAETIDAE");
    std::filesystem::create_directory(dir.file("s_adj.txt")); // a folder stands where the file would go
    r = read(crlfLines({"t", header + "\tBETIDAE", "1\ta\t6\t1\t1\t1\t1"}));
    EXPECT_EQ(r.status, ReadResult::Status::Ok);
    EXPECT_THAT(r.correctedFileError, HasSubstr(dir.file("s_adj.txt")));
    EXPECT_TRUE(r.correctedPath.empty());
}

// Progress rises to the whole file (where the read stops is told in tests/run).
TEST_F(ReadFixture, ProgressRisesToTheWholeFile) {
    std::string content = "t\n" + header + "\tBETIDAE\n";
    for (int i = 1; i <= 200; ++i) {
        content += std::to_string(i) + "\ta\t6\t1\t1\t1\t3\n";
    }
    std::vector<double> seen;
    ReadOptions options{.threads = 1, .blockBytes = 512};
    options.progress = [&](double f) { seen.push_back(f); };
    answers["BETIDAE"] = UnknownTaxonAnswer::family(5, "BAETIDAE");
    EXPECT_EQ(read(content, "s.txt", options).table.nsamp(), 200);
    EXPECT_GT(seen.size(), 4u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_DOUBLE_EQ(seen.back(), 1.0);
}

TEST_F(ReadFixture, CorrectedFileHasTheShapeOfASampleFileAndReadsBackUnasked) {
    answers["BETIDAE"] = UnknownTaxonAnswer::family(5, "BAETIDAE");
    std::filesystem::create_directory(dir.file("data.v1"));
    auto r =
        read(crlfLines({"Title line", "C\tS\tK\t Idx \tPress\tAlt\tBETIDAE\tGAMMARIDAE\tBAETIDAE\tMYSTERY",
                        "A1\tA very long sample name\tx\t0.5\t\t3\t1.5\t0.00001\t2\t0",
                        "A2\tzero\t6\t1\t1\t1\t0\t0\t0\t0", "A3\tb\t5\t1\t1\t1\t1e20\t0\t0\t0"}),
             "data.v1/sites");
    EXPECT_EQ(r.correctedPath, dir.file("data.v1/sites_adj.txt"));
    EXPECT_EQ(readFile(r.correctedPath),
              crlfLines({"Title line", "C\tS\tK\tIdx\tPress\tAlt\tBAETIDAE\tGAMMARIDAE",
                         "A1\tA very long sam\t0\t0.5\tN/A\t3\t3.5\t1E-05",
                         "A3\tb              \t5\t1\t1\t1\t1E+20\t0"}));
    EXPECT_THAT(r.notice, Mentions(r.correctedPath, "ignored:\r\nMYSTERY"));
    auto again = readSampleFileSavingCorrections(r.correctedPath, realTaxa(), realTree(), {});
    EXPECT_EQ(again.table.familyNames, r.table.familyNames);
    EXPECT_EQ(again.table.abundances, r.table.abundances);
    EXPECT_FALSE(again.table.namesCorrected);
}

// Names the outputs cannot tell apart: a code held five times, names equal once cut to the 15
// characters the results file keeps (said with the names as written), test-variable names
// equal in their 8-character form. Samples without a name and names that differ are not.
TEST(SameNames, NamesThatPrintAlikeAreListedWithTheirLines) {
    SampleTable t;
    t.testVariableNames = {"Nitrate_2019", "Nitrate", "Nitrate_2020"};
    for (const auto& [code, name, line] : {std::tuple{"A1", "Upper Tiber at Sansepolcro", 3},
                                           {"A2", "Upper Tiber at Citta di Castello", 4},
                                           {"A1", "", 5},
                                           {"A1", "", 6},
                                           {"A1", "Arno", 7},
                                           {"A1", "Arno Valley", 8}}) {
        Sample s;
        s.code = code;
        s.fullName = name;
        s.name = fitWidth(name, sampleNameWidth, false);
        s.line = line;
        t.samples.push_back(s);
    }
    EXPECT_EQ(sameNames(t),
              (std::vector<std::string>{
                  "sample code \"A1\" in lines 3, 5, 6, 7, 8",
                  "sample name \"Upper Tiber at\" (written \"Upper Tiber at Sansepolcro\", \"Upper Tiber at "
                  "Citta di Castello\") in lines 3, 4",
                  "test variables \"Nitrate_2019\" and \"Nitrate_2020\" (columns 4 and 6) both print as "
                  "\"Nitrate_\""}));
}
