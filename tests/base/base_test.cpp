#include "base/files.h"
#include "base/lines.h"
#include "base/numberforms.h"
#include "base/platform.h"
#include "base/text.h"
#include "support/testsupport.h"

#include <limits>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

template <typename T, typename Read>
void expectEach(Read read, std::initializer_list<std::pair<const char*, T>> cases) {
    for (auto [text, value] : cases) {
        EXPECT_EQ(read(text), value) << text;
    }
}

template <typename Form>
void expectTexts(Form form, std::initializer_list<std::pair<double, const char*>> cases) {
    for (auto [value, text] : cases) {
        EXPECT_EQ(form(value), text) << value;
    }
}

} // namespace

TEST(NumberForms, FixedDecimalsRoundHalfAwayFromZeroOnTheExactBinaryValue) {
    // 0.125 and 0.0625 are exact ties; the doubles of 2.675, 1.005 and 1.0005 lie below theirs.
    expectTexts(formatF2, {{0.125, "0.13"}, {-0.125, "-0.13"}, {2.675, "2.67"}, {1.005, "1.00"}});
    expectTexts(formatF2, {{9.999, "10.00"}, {123456.789, "123456.79"}, {-0.001, "0.00"}, {-0.0, "0.00"}});
    expectTexts(formatF3, {{0.0625, "0.063"}, {1.0005, "1.000"}, {-1000.0, "-1000.000"}, {-infinity, "N/A"}});
    expectTexts([](double v) { return formatFixed(v, 1); },
                {{0.25, "0.3"}, {-5.0, "-5.0"}, {notANumber, "N/A"}});
    expectTexts(formatPercent, {{0.25, "25.00%"}, {1.0 / 3.0, "33.33%"}, {1.0, "100.00%"}});
    EXPECT_EQ(formatBound(0.0625, 3) + " " + formatBound(std::nullopt, 3), "0.063 -"); // interval bounds
}

TEST(NumberForms, GeneralFormKeepsFifteenDigitsOrSevenFor32BitValues) {
    expectTexts(formatGeneral,
                {{0.5, "0.5"}, {-7.0, "-7"}, {0.1 + 0.2, "0.3"}, {-0.0, "0"}, {notANumber, "N/A"}});
    expectTexts(formatGeneral, {{1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"}});
    expectTexts(formatGeneral, {{0.0001, "0.0001"}, {0.000015, "1.5E-05"}, {-2.5e-7, "-2.5E-07"}});
    expectTexts(formatGeneral, {{123456789012345.0, "123456789012345"}, {1e15, "1E+15"}, {1e100, "1E+100"}});
    expectTexts(formatGeneral, {{99999999999999.99, "100000000000000"}, {0.95f, "0.949999988079071"}});
    expectTexts(
        [](double v) { return formatGeneral32(static_cast<float>(v)); },
        {{0.95, "0.95"}, {1.0 / 3.0, "0.3333333"}, {1e6, "1000000"}, {-6.5, "-6.5"}, {infinity, "N/A"}});
}

TEST(NumberForms, WholeNumbersRoundHalvesToTheEvenNeighbour) {
    for (auto [value, whole] :
         {std::pair{2.5, 2LL}, {3.5, 4LL}, {22.5, 22LL}, {-2.5, -2LL}, {6.6, 7LL}, {0.4, 0LL}}) {
        EXPECT_EQ(roundHalfEven(value), whole) << value;
    }
}

TEST(NumericCells, WholeCellMustBeAFiniteDecimalNumber) {
    expectEach<double>(parseNumeric, {{"12", 12}, {" 1.5e3 ", 1500}, {".5", 0.5}, {"5.", 5}, {"+3", 3}});
    for (const char* bad :
         {"", " ", ".", "-", "1,5", "12a", "1e", "1e+", "nan", "inf", "0x10", "1e999", "N/A", "1 2"}) {
        EXPECT_FALSE(parseNumeric(bad).has_value()) << bad;
    }
    // 32-bit values are read directly, not through 64 bits.
    EXPECT_EQ(parseNumeric32(" 0.1 "), 0.1f);
    EXPECT_EQ(parseNumeric32("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_FALSE(parseNumeric32("abc").has_value());
}

TEST(AbundanceCells, ReadTheLeadingNumberEvenBeyondEveryRange) {
    expectEach<double>(leadingNumber, {{"12abc", 12}, {"  7.5", 7.5}, {"2e3x", 2000}, {"3e", 3}, {"-4", -4}});
    expectEach<double>(leadingNumber,
                       {{"abc", 0}, {"", 0}, {"nan", 0}, {"inf", 0}, {"0x1A", 0}, {"1e-999", 0}});
    expectEach<double>(leadingNumber, {{"1e999", infinity}, {"1e99999", infinity}, {"-1e99999", -infinity}});
}

TEST(Encodings, Utf8DetectionAndWindows1252Conversion) {
    expectEach<bool>(isValidUtf8, {{"plain", true}, {"r\xC2\xB2", true}, {"\xF0\x9F\x98\x80", true}});
    // Stray, truncated, badly continued, overlong, surrogate and beyond U+10FFFF.
    expectEach<bool>(isValidUtf8, {{"r\xB2", false}, {"\xC3", false}, {"\xC3(", false}, {"\xC0\xAF", false}});
    expectEach<bool>(isValidUtf8, {{"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false}});
    // Whole eight-byte words are checked first, then the bytes left over.
    expectEach<bool>(hasNonAscii,
                     {{"plain ascii text", false}, {"abcdefg\xC3", true}, {"abcdefgh\xC3", true}});
    EXPECT_EQ(cp1252ToUtf8("r\xB2 \x80\x81"), "r\xC2\xB2 \xE2\x82\xAC\xEF\xBF\xBD"); // 0x81 is unassigned
    EXPECT_EQ(utf8ToCp1252("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"), std::string("\xE9t\xE9 \x80"));
    EXPECT_FALSE(utf8ToCp1252("\xE4\xB8\xAD").has_value()); // no single-byte form
    EXPECT_FALSE(utf8ToCp1252("\xC3").has_value());
}

TEST(Lines, EndAtCrLfLoneCrAndLoneLf) {
    LineReader lines(withoutByteOrderMark("\xEF\xBB\xBFtitle\r\nheader\rrow1\nrow2\r\n\r\nafter\r\n"));
    for (const char* line : {"title", "header", "row1", "row2", "", "after"}) {
        EXPECT_EQ(lines.next(), line);
    }
    // A byte-order mark within the text belongs to its line, wherever the text was cut.
    LineReader cut("\xEF\xBB\xBF\rrow");
    EXPECT_EQ(cut.next(), "\xEF\xBB\xBF");
    EXPECT_FALSE(lines.next().has_value()); // the last line end starts no line
}

TEST(Cells, SplitAtTabsTrimOnlyBlanksAndFitNamesToAWidth) {
    EXPECT_EQ(splitTabs("a\t\tb\t"), (std::vector<std::string_view>{"a", "", "b", ""}));
    EXPECT_EQ(splitTabs("").size(), 1u);
    EXPECT_EQ(trimBlanks("  x y  "), "x y");
    EXPECT_EQ(trimBlanks("\tx\t"), "\tx\t");
    EXPECT_EQ(toUpperAscii("Ba\xC3\xABtidae"), "BA\xC3\xABTIDAE");
    EXPECT_EQ(fitWidth("Short", 15, false), "Short          ");
    EXPECT_EQ(fitWidth("A very long sample name", 15, false), "A very long sam");
    // UTF-8 names are cut and padded by characters, never inside one.
    EXPECT_EQ(fitWidth("\xC3\xA9tang du Mo\xC3\xAFn amont", 15, true), "\xC3\xA9tang du Mo\xC3\xAFn a");
    EXPECT_EQ(fitWidth("\xC3\xA9t\xC3\xA9", 5, true), "\xC3\xA9t\xC3\xA9  ");
}

TEST(Files, OutputNamesAndWritesThatReplaceTheWholeFileOrNothing) {
    // Output names cut at the last dot of the file name only.
    EXPECT_EQ(replaceExtension("/data/sites.txt", "_OUT.txt"), "/data/sites_OUT.txt");
    EXPECT_EQ(replaceExtension("/data/v1.2/sites", "_OUT.txt"), "/data/v1.2/sites_OUT.txt");
    EXPECT_EQ(replaceExtension("/data/a.b.txt", "_adj.txt"), "/data/a.b_adj.txt");
    EXPECT_EQ(replaceExtension("sites", "_adj.txt"), "sites_adj.txt");
    EXPECT_EQ(folderOf("/data/rivers/sites.txt"), "/data/rivers/");
    EXPECT_EQ(fileNameOf("/data/rivers/sites.txt"), "sites.txt");
    EXPECT_EQ(folderOf("sites.txt"), "");
    TempDir dir;
    writeFileAtomically(dir.file("out.txt"), "first");
    writeFileAtomically(dir.file("out.txt"), "second, longer");
    EXPECT_EQ(readWholeFile(dir.file("out.txt")), "second, longer");
    EXPECT_THAT(errorOf([&] { writeFileAtomically(dir.file("no/folder/out.txt"), "x"); }),
                Mentions(dir.file("no/folder/out.txt"), "No such file"));
    std::filesystem::create_directories(dir.file("taken/inside"));
    EXPECT_THAT(errorOf([&] { writeFileAtomically(dir.file("taken"), "x"); }), HasSubstr(dir.file("taken")));
    EXPECT_TRUE(fileExists(dir.file("taken/inside")));
    using Folder = std::filesystem::directory_iterator; // no temporary file is left behind
    EXPECT_EQ(std::distance(Folder(dir.path()), Folder()), 2);
    EXPECT_THAT(errorOf([&] { readWholeFile(dir.file("missing.txt")); }), HasSubstr(dir.file("missing.txt")));
    EXPECT_THAT(errorOf([&] { readWholeFile(dir.path()); }), Mentions(dir.path(), "folder"));
}

// Windows separates folders with "\\" too; elsewhere it is part of a name.
TEST(Files, PathsUseTheSystemsSeparators) {
    if (posixSystem) {
        EXPECT_EQ(fileNameOf("rivers\\sites.txt"), "rivers\\sites.txt");
        EXPECT_EQ(pathInFolder("out", "s.txt"), "out/s.txt");
    } else {
        EXPECT_EQ(folderOf("C:\\data\\v1.2\\sites"), "C:\\data\\v1.2\\");
        EXPECT_EQ(fileNameOf("C:\\data/rivers\\sites.txt"), "sites.txt");
        EXPECT_EQ(replaceExtension("C:\\d.v\\sites", "_OUT.txt"), "C:\\d.v\\sites_OUT.txt");
        EXPECT_EQ(pathInFolder("out", "s.txt"), "out\\s.txt");
    }
    EXPECT_EQ(pathInFolder("out/", "s.txt"), "out/s.txt");
    EXPECT_EQ(pathInFolder("", "s.txt"), "s.txt");
}

// Two paths name one file when the file is one, however they are spelt: with "." and
// "..", through a link, in other letter case where the file system ignores case (Windows);
// a path to no file names none, and one file number on two file systems names two files.
TEST(Files, OneFileByItsIdentityNotItsPath) {
    TempDir dir;
    writeFile(dir.file("s.txt"), "x");
    writeFile(dir.file("t.txt"), "x");
    ASSERT_TRUE(platform::createFolders(dir.file("d")));
    if (posixSystem) {
        std::filesystem::create_symlink(dir.file("s.txt"), dir.file("link.txt"));
        std::filesystem::create_hard_link(dir.file("s.txt"), dir.file("hard.txt"));
    }
    const struct {
        std::string other;
        bool same;
    } cases[] = {{dir.file("s.txt"), true},           {dir.file("./s.txt"), true},
                 {dir.file("d/../s.txt"), true},      {dir.file("link.txt"), posixSystem},
                 {dir.file("hard.txt"), posixSystem}, {dir.file("S.TXT"), !posixSystem},
                 {dir.file("t.txt"), false},          {dir.file("missing.txt"), false}};
    for (const auto& c : cases) {
        EXPECT_EQ(platform::sameFile(dir.file("s.txt"), c.other), c.same) << c.other;
    }
    EXPECT_FALSE(platform::sameFile(dir.file("missing.txt"), dir.file("missing.txt")));
    // Linux: inode 1 of two file systems (wine may give both one file index).
    EXPECT_TRUE(!posixSystem || !platform::sameFile("/proc", "/sys"));
}

// A path far beyond Windows' classic 260 characters, in folders with non-ASCII names: the
// bytes written come back unchanged (no line end or end-of-file mark is translated), and a
// second write replaces the first.
TEST(Files, LongPathsAndEveryByteKept) {
    TempDir dir;
    std::string folder = dir.path();
    for (int i = 0; i < 10; ++i) {
        folder += "/rivi\xC3\xA8res du bassin versant num\xC3\xA9ro " + std::to_string(i);
    }
    ASSERT_TRUE(platform::createFolders(folder));
    const std::string path = folder + "/sites_OUT.txt", bytes("a\r\nb\n\x1A\r\r\n\0z", 11);
    ASSERT_GT(path.size(), 400u);
    writeFileAtomically(path, "first");
    writeFileAtomically(path, bytes);
    EXPECT_EQ(readWholeFile(path), bytes);
    EXPECT_TRUE(fileExists(path));
    EXPECT_TRUE(platform::isFolder(folder));
    EXPECT_FALSE(platform::createFolders(path)); // a file stands there
}
