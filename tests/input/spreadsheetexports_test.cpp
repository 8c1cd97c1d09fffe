// Files as spreadsheets export them: every cell the reader takes otherwise than its user
// may have meant is named, and files that are not tab-separated text say what they are.

#include "input/samplereader.h"
#include "support/samplefile.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <algorithm>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

struct SpreadsheetExport : ::testing::Test {
    TempDir dir;
    std::vector<std::string> asked;

    ReadResult read(const std::string& content, ReadOptions options = {}) {
        writeFile(dir.file("s.txt"), content);
        return readSampleFile(
            dir.file("s.txt"), realTaxa(), realTree(),
            [this](const UnknownTaxonQuestion& q) {
                asked.push_back(q.name);
                return UnknownTaxonAnswer::ignore();
            },
            options);
    }
    std::string failure(const std::string& content, ReadOptions options = {}) {
        return errorOf([&] { read(content, options); });
    }
};

} // namespace

TEST_F(SpreadsheetExport, DecimalCommasStopTheReadUnlessAskedAndThenMatchTheirTwin) {
    SampleFile points = SampleFile::typical();
    points.cell(4, 8) = "12.5";
    points.cell(6, 8) = "12,"; // a number followed by a comma: no decimal comma
    SampleFile commas = points;
    for (auto& row : commas.rows) {
        std::replace(row[3].begin(), row[3].end(), '.', ','); // EQR: 0,9 0,8 ...
    }
    commas.cell(4, 8) = " 12,5 "; // file line 7, LEUCTRIDAE
    try {
        read(commas.text());
        ADD_FAILURE() << "read without the option";
    } catch (const DecimalCommaError& e) {
        EXPECT_EQ(e.count(), 15);
        EXPECT_THAT(e.what(), Mentions("decimal comma", "\"0,9\" in line 3, column 4 (EQR)", "15 cells"));
    }
    EXPECT_TRUE(asked.empty());
    const SampleTable withOption = read(commas.text(), {.decimalComma = true}).table;
    const SampleTable twin = read(points.text()).table;
    EXPECT_EQ(withOption.abundances, twin.abundances);
    EXPECT_EQ(withOption.samples[2].testValueTexts, twin.samples[2].testValueTexts);
    EXPECT_EQ(withOption.numericTestValueCounts, twin.numericTestValueCounts);

    // With decimal commas, "1.394" may be 1394 or a decimal: such cells stop the read.
    SampleFile dotted = commas;
    dotted.cell(5, 5) = "1.394"; // file line 8, ALT
    dotted.cell(9, 7) = "2.5";
    EXPECT_THAT(failure(dotted.text(), {.decimalComma = true}),
                Mentions("\"1.394\" in line 8, column 6 (ALT); 2 cells", "thousands"));
    commas.cell(5, 9) = "1.234,5";
    EXPECT_THAT(failure(commas.text(), {.decimalComma = true}),
                Mentions("\"1.234,5\" in line 8, column 10 (CHIRONOMIDAE)", "both"));
}

TEST_F(SpreadsheetExport, CellsThatAreNotPlainNumbersAreReadAsBeforeAndListed) {
    SampleFile f = SampleFile::typical();
    const std::vector<std::string> marks = {"NA", "+",  "x",  ">100", "12abc", "4x",
                                            "NA", "NA", "NA", "NA",   "NA",    "7 "};
    for (std::size_t i = 0; i < marks.size(); ++i) {
        f.cell(i, 7) = marks[i];
    }
    const ReadResult r = read(f.text());
    EXPECT_EQ(r.doubtfulCount, 11); // "7 " is a plain number once its blanks are gone
    ASSERT_EQ(r.doubtfulCells.size(), doubtfulCellsListed);
    const DoubtfulCell& fifth = r.doubtfulCells[4];
    EXPECT_EQ(std::tuple(fifth.line, fifth.column, fifth.family, fifth.value),
              std::tuple(7, 8, std::string("HEPTAGENIIDAE"), 12.0));
    EXPECT_EQ(r.table.abundance(4, 1), 12.0);
    EXPECT_THAT(doubtfulCellsText(r),
                Mentions("11 abundance cells", "line 6, column 8 (HEPTAGENIIDAE): \">100\" read as 0",
                         "... and 1 more"));
}

TEST_F(SpreadsheetExport, Utf16QuotedCellsAndTrailingTabsReadLikeThePlainFile) {
    const SampleFile plain = SampleFile::typical();
    SampleFile exported = plain;
    exported.cell(0, 1) = "\"Site \"\"one\"\"\"";
    exported.cell(0, 6) = "\"5\"";
    exported.header.push_back("");
    for (auto& row : exported.rows) {
        row.push_back("");
    }
    const SampleTable a = read(plain.text()).table;
    const SampleTable b = read(exported.text()).table;
    EXPECT_EQ(b.familyNames, a.familyNames);
    EXPECT_EQ(b.samples[0].name.substr(0, 10), "Site \"one\"");
    EXPECT_EQ(b.abundance(0, 0), 5.0);

    std::string utf16 = "\xFF\xFE";
    for (char c : plain.text()) {
        utf16 += c;
        utf16 += '\0';
    }
    const SampleTable c = read(utf16).table;
    EXPECT_TRUE(c.utf8);
    EXPECT_EQ(c.abundances, a.abundances);
}

TEST_F(SpreadsheetExport, DroppedSamplesMergedColumnsAndAnEarlyEndAreNoted) {
    SampleFile f = SampleFile::typical(SampleFile::defaultClasses(), {"BAETIDAE", "Baetidae", "GAMMARIDAE"});
    for (std::size_t c = 6; c < 9; ++c) {
        f.cell(1, c) = "0";
    }
    f.rows.insert(f.rows.begin() + 10, std::vector<std::string>{""});
    const ReadResult r = read(f.text());
    EXPECT_EQ(r.table.nsamp(), 9);
    ASSERT_EQ(r.notes.size(), 3u);
    EXPECT_THAT(r.notes[0], Mentions("blank line 13", "4 non-blank lines"));
    EXPECT_THAT(r.notes[1], HasSubstr("BAETIDAE (columns 7 8)"));
    EXPECT_THAT(r.notes[2], Mentions("1 sample", "file line 4"));
}
