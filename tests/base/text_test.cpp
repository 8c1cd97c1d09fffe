#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace torrentix;

TEST(NumericCells, WholeCellMustBeADecimalNumber) {
    EXPECT_EQ(parseNumeric("12"), 12.0);
    EXPECT_EQ(parseNumeric(" 1.5e3 "), 1500.0);
    EXPECT_EQ(parseNumeric(".5"), 0.5);
    EXPECT_EQ(parseNumeric("5."), 5.0);
    EXPECT_EQ(parseNumeric("-2.25"), -2.25);
    EXPECT_EQ(parseNumeric("+3"), 3.0);
    for (const char* bad :
         {"", " ", ".", "-", "1,5", "12a", "1e", "1e+", "nan", "inf", "0x10", "1e999", "N/A", "1 2"}) {
        EXPECT_FALSE(parseNumeric(bad).has_value()) << bad;
    }
}

TEST(AbundanceCells, ReadTheLeadingNumber) {
    EXPECT_EQ(leadingNumber("12abc"), 12.0);
    EXPECT_EQ(leadingNumber("  7.5"), 7.5);
    EXPECT_EQ(leadingNumber("abc"), 0.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("nan"), 0.0);
    EXPECT_EQ(leadingNumber("inf"), 0.0);
    EXPECT_EQ(leadingNumber("0x1A"), 0.0);
    EXPECT_EQ(leadingNumber("2e3x"), 2000.0);
    EXPECT_EQ(leadingNumber("3e"), 3.0);
    EXPECT_EQ(leadingNumber("-4"), -4.0);
    EXPECT_TRUE(std::isinf(leadingNumber("1e999")));
    EXPECT_TRUE(std::isinf(leadingNumber("1.5e999")));
    EXPECT_EQ(leadingNumber("1e-999"), 0.0);
}

TEST(NumericCells, ThirtyTwoBitValuesAreReadDirectly) {
    EXPECT_EQ(parseNumeric32(" 0.1 "), 0.1f);
    EXPECT_EQ(parseNumeric32("+2.5"), 2.5f);
    EXPECT_TRUE(std::isinf(*parseNumeric32("1e39"))); // beyond 32 bits, within 64
    EXPECT_FALSE(parseNumeric32("abc").has_value());
}

TEST(SampleNames, CutOrPadToFifteenCharacters) {
    EXPECT_EQ(fitWidth("Short", 15, false), "Short          ");
    EXPECT_EQ(fitWidth("A very long sample name", 15, false), "A very long sam");
    // UTF-8 names are cut by characters, never inside one.
    const std::string accented = "\xC3\xA9tang du Mo\xC3\xAFn amont"; // "étang du Moïn amont"
    const std::string cut = fitWidth(accented, 15, true);
    EXPECT_EQ(characterCount(cut, true), 15u);
    EXPECT_TRUE(isValidUtf8(cut));
    EXPECT_EQ(cut, "\xC3\xA9tang du Mo\xC3\xAFn a");
}

TEST(Encodings, Utf8DetectionAndWindows1252Conversion) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("r\xC2\xB2"));
    EXPECT_FALSE(isValidUtf8("r\xB2"));
    EXPECT_FALSE(isValidUtf8("\xC3"));         // truncated
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_EQ(cp1252ToUtf8("r\xB2 \x80"), "r\xC2\xB2 \xE2\x82\xAC");
    EXPECT_EQ(utf8ToCp1252("\xC3\xA9t\xC3\xA9"), std::string("\xE9t\xE9"));
    EXPECT_FALSE(utf8ToCp1252("\xE4\xB8\xAD").has_value()); // no single-byte form
}

TEST(Lines, EndAtCrLfLoneCrAndLoneLf) {
    LineReader lines("\xEF\xBB\xBFtitle\r\nheader\rrow1\nrow2\r\n\r\nafter");
    EXPECT_TRUE(lines.hadByteOrderMark());
    std::vector<std::string> got;
    while (auto l = lines.next()) {
        got.emplace_back(*l);
    }
    EXPECT_EQ(got, (std::vector<std::string>{"title", "header", "row1", "row2", "", "after"}));
    LineReader trailing("a\r\nb\r\n");
    EXPECT_EQ(*trailing.next(), "a");
    EXPECT_EQ(*trailing.next(), "b");
    EXPECT_FALSE(trailing.next().has_value());
}

TEST(Cells, SplitAtEveryTab) {
    EXPECT_EQ(splitTabs("a\t\tb\t").size(), 4u);
    EXPECT_EQ(splitTabs("").size(), 1u);
    EXPECT_EQ(trimBlanks("  x y  "), "x y");
    EXPECT_EQ(trimBlanks("\tx\t"), "\tx\t"); // only blanks are trimmed
    EXPECT_EQ(toUpperAscii("Baëtidae"), "BAëTIDAE");
}

TEST(OutputNames, CutAtTheLastDotOfTheFileNameOnly) {
    EXPECT_EQ(replaceExtension("/data/sites.txt", "_OUT.txt"), "/data/sites_OUT.txt");
    EXPECT_EQ(replaceExtension("/data/v1.2/sites", "_OUT.txt"), "/data/v1.2/sites_OUT.txt");
    EXPECT_EQ(replaceExtension("/data/a.b.txt", "_adj.txt"), "/data/a.b_adj.txt");
    EXPECT_EQ(replaceExtension("sites", "_adj.txt"), "sites_adj.txt");
    EXPECT_EQ(folderOf("/data/rivers/sites.txt"), "/data/rivers/");
    EXPECT_EQ(fileNameOf("/data/rivers/sites.txt"), "sites.txt");
    EXPECT_EQ(folderOf("sites.txt"), "");
}
