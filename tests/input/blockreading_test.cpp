// A file is read in blocks of lines, parsed on several threads and joined in file order:
// however it is cut and however many threads parse it, the read gives what one pass over
// the whole file gives, errors included.

#include "input/correctedfile.h"
#include "input/samplereader.h"
#include "support/samplefile.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <map>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

const std::string header = "CODE\tSAMPLE\tCLASS\tIdx\tPress\tAlt\tBAETIDAE\tCAENIDAE\tBaetidae\tMYSTERY";

std::string joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string out;
    for (const auto& line : lines) {
        out += line + end;
    }
    return out;
}

// Everything a read gives, as text: equal texts are equal reads.
std::string outcome(const std::string& path, const ReadOptions& options) {
    try {
        const ReadResult r = readSampleFile(
            path, realTaxa(), realTree(),
            [](const UnknownTaxonQuestion&) { return UnknownTaxonAnswer::ignore(); }, options);
        const SampleTable& t = r.table;
        std::string out = correctedFileText(t) + "|" + std::to_string(t.ignoredColumns.size()) + "|" +
                          (t.utf8 ? "utf8" : "cp1252") + "|";
        for (const Sample& s : t.samples) {
            out += s.fullName + "|";
        }
        for (const int count : t.numericTestValueCounts) {
            out += std::to_string(count) + "|";
        }
        for (const double a : t.abundances.dense(t.familyNames.size())) {
            char exact[40];
            std::snprintf(exact, sizeof exact, "%a ", a); // every bit of every abundance
            out += exact;
        }
        for (const auto& note : r.notes) {
            out += note + "|";
        }
        return out + doubtfulCellsText(r);
    } catch (const std::exception& e) {
        return std::string("error: ") + e.what();
    }
}

std::vector<std::pair<std::string, std::string>> trickyFiles() {
    std::vector<std::string> rows;
    for (int i = 1; i <= 40; ++i) {
        const std::string n = std::to_string(i);
        // Decimals that need their digits, values kept whole, zeros, text, quotes, merged columns.
        rows.push_back(n + "\tSite " + n + "\t" + std::to_string(i % 7) + "\t0." + n + "\t" + n + "\tx\t" +
                       (i % 5 == 0 ? "0" : n + ".25") + "\t" + (i % 3 == 0 ? "1e3" : "0.1") + "\t" +
                       (i % 4 == 0 ? "\"7\"" : "33.333333333") + "\t" + (i % 6 == 0 ? "4 ind." : "5000"));
    }
    std::vector<std::string> zeroRows = rows;
    for (int i = 0; i < 12; i += 2) {
        zeroRows[static_cast<std::size_t>(i)] = "z\tzero\t6\t1\t1\t1\t0\t0\t\t0";
    }
    std::vector<std::string> withEnd = rows;
    withEnd.insert(withEnd.begin() + 25, "   ");
    withEnd.insert(withEnd.begin() + 30, "broken\trow");
    std::vector<std::string> faultLate = zeroRows;
    faultLate[35] += "\t9";
    std::vector<std::string> negativeLate = zeroRows;
    negativeLate[33] = "n\tneg\t6\t1\t1\t1\t1\t-2\t1\t1";
    std::vector<std::string> commas = rows;
    commas[17] = "c\tcomma\t6\t0,5\t1\t1\t1,5\t2\t3\t4";
    commas[29] = "d\tcomma\t6\t1\t1\t1\t2,25\t2\t3\t4";
    std::vector<std::string> utf8Late = rows;
    utf8Late[38] = "u\t\xC3\xA9tang de la For\xC3\xAAt\t6\t1\t1\t1\t1\t2\t3\t4";
    std::vector<std::string> cp1252Late = utf8Late;
    cp1252Late[39] = "w\tFor\xEAt\t6\t1\t1\t1\t1\t2\t3\t4";
    std::vector<std::string> trailingTabs;
    for (const auto& row : rows) {
        trailingTabs.push_back(row + "\t");
    }
    const std::string longRow = "L\t" + std::string(3000, 'x') + "\t6\t1\t1\t1\t1\t2\t3\t4";
    const std::string t = "River survey";
    const auto crlf = [&](const std::vector<std::string>& lines) {
        return joined({t, header}, "\r\n") + joined(lines, "\r\n");
    };
    return {
        {"CR LF", crlf(rows)},
        {"LF without a last line end",
         joined({t, header}, "\n") + joined(rows, "\n") + "9\tlast\t6\t1\t1\t1\t1\t1\t1\t1"},
        {"CR alone", joined({t, header}, "\r") + joined(rows, "\r")},
        {"byte-order mark", "\xEF\xBB\xBF" + joined({t, header}, "\n") + joined(rows, "\n")},
        {"dropped samples", crlf(zeroRows)},
        {"end at a blank line", crlf(withEnd)},
        {"too many cells late", crlf(faultLate)},
        {"negative abundance late", crlf(negativeLate)},
        {"decimal commas", crlf(commas)},
        {"UTF-8 name late", crlf(utf8Late)},
        {"Windows-1252 name late", crlf(cp1252Late)},
        {"trailing TAB on every line", joined({t, header + "\t"}, "\r\n") + joined(trailingTabs, "\r\n")},
        {"row longer than a block", joined({t, header}, "\n") + longRow + "\n" + joined(rows, "\n")},
        {"NUL after a header fault", joined({t, "CODE,SAMPLE,CLASS,A,B,C,BAETIDAE"}, "\r\n") +
                                         joined(rows, "\r\n") + std::string(1, '\0')},
        {"NUL after a row fault", crlf(faultLate) + std::string(1, '\0')},
        {"no data line", joined({t, header, "", "1\ta\t6\t1\t1\t1\t1\t1\t1\t1"}, "\r\n")},
        // Two exports joined: the second one's byte-order mark follows a line end.
        {"byte-order mark after a line end", crlf(rows) + "\xEF\xBB\xBF" + joined({t, header}, "\r\n")},
        {"byte-order mark before lone CRs",
         "Valid samleCs\r\nODE\tSAMPLE\tCLASS\tEQR\tUR>BAN\tAL08\t1\r\xEF\xBB\xBF\r\r\x0E\t-1\r\n"},
    };
}

} // namespace

TEST(BlockReading, AnyCutAndAnyNumberOfThreadsReadsLikeOnePass) {
    const TempDir dir;
    for (const auto& [what, text] : trickyFiles()) {
        const std::string path = dir.file("s.txt");
        writeFile(path, text);
        const std::string expected = outcome(path, {.threads = 1});
        for (const std::size_t blockBytes : std::initializer_list<std::size_t>{1, 2, 7, 64, 333}) {
            for (const int threads : {1, 2, 3}) {
                EXPECT_EQ(outcome(path, {.threads = threads, .blockBytes = blockBytes}), expected)
                    << what << ", blocks of " << blockBytes << " bytes, " << threads << " threads";
            }
        }
        EXPECT_EQ(outcome(path, {.decimalComma = true, .threads = 2, .blockBytes = 5}),
                  outcome(path, {.decimalComma = true, .threads = 1}))
            << what << ", decimal commas";
        EXPECT_EQ(outcome(path, {.readPastBlankLines = true, .threads = 3, .blockBytes = 7}),
                  outcome(path, {.readPastBlankLines = true, .threads = 1}))
            << what << ", read past blank lines";
    }
}

// What the cases above are about is what the read reports.
TEST(BlockReading, TrickyFilesReadAsTheirUsersMeantThem) {
    const TempDir dir;
    std::map<std::string, std::string> outcomes;
    for (const auto& [what, text] : trickyFiles()) {
        writeFile(dir.file("s.txt"), text);
        outcomes[what] = outcome(dir.file("s.txt"), ReadOptions{.blockBytes = 3});
    }
    const std::string path = dir.file("s.txt");
    EXPECT_THAT(outcomes["too many cells late"],
                Mentions("Too many columns in row 30 (file: " + path, "File line 38 holds 11 cells"));
    EXPECT_THAT(outcomes["negative abundance late"], Mentions("\"-2\" in row 28, taxon column 2"));
    EXPECT_THAT(outcomes["end at a blank line"],
                Mentions("The data end at the blank line 28: 16 non-blank lines"));
    // Read past, the lines after the blank line are rows like any other: a broken one fails.
    const auto files = trickyFiles();
    writeFile(path, std::find_if(files.begin(), files.end(), [](const auto& f) {
                        return f.first == "end at a blank line";
                    })->second);
    EXPECT_THAT(outcome(path, ReadOptions{.readPastBlankLines = true, .blockBytes = 3}),
                Mentions("error: ", "Too few columns", "File line 33 holds 2 cells"));
    EXPECT_THAT(outcomes["dropped samples"], Mentions("6 samples with a total abundance of 0 were left out "
                                                      "(file lines 3, 5, 7, 9, 11, 13)"));
    EXPECT_THAT(outcomes["decimal commas"], Mentions("\"0,5\" in line 20, column 4 (Idx); 3 cells"));
    EXPECT_THAT(outcomes["UTF-8 name late"], Mentions("|utf8|"));
    EXPECT_THAT(outcomes["Windows-1252 name late"], Mentions("|cp1252|"));
    EXPECT_THAT(outcomes["NUL after a header fault"], Mentions("is not a text file: byte"));
    EXPECT_THAT(outcomes["NUL after a row fault"], Mentions("is not a text file: byte"));
    EXPECT_THAT(outcomes["no data line"], Mentions("has no data line"));
    EXPECT_THAT(outcomes["CR alone"], Mentions("4 ind.", "Columns of one family were added together, "
                                                         "1 family: BAETIDAE (columns 7 9)."));
}

// Taxon columns are numbered in 16 bits: a file with more is refused, not misread.
TEST(BlockReading, MoreTaxonColumnsThanCanBeNumberedAreRefused) {
    const TempDir dir;
    std::string headerLine = "CODE\tSAMPLE\tCLASS\tIdx\tPress\tAlt";
    std::string row = "1\ta\t6\t1\t1\t1";
    for (std::size_t c = 0; c <= maxTaxonColumns; ++c) {
        headerLine += "\tBAETIDAE";
        row += "\t1";
    }
    writeFile(dir.file("wide.txt"), joined({"t", headerLine, row}, "\r\n"));
    EXPECT_THAT(outcome(dir.file("wide.txt"), {}), Mentions("error: The file " + dir.file("wide.txt"),
                                                            "has 65536 taxon columns; at most 65535"));
}
