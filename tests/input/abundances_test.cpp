#include "input/abundances.h"

#include "base/numberreading.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace torrentix;

namespace {

double read(const std::string& text) {
    return readDecimal(text);
}

// The pairs of one row as (key, value).
std::vector<std::pair<int, double>> pairsOf(const Abundances& a, std::size_t sample) {
    std::vector<std::pair<int, double>> pairs;
    for (const Abundances::Present p : a.row(sample)) {
        pairs.emplace_back(p.family, p.abundance);
    }
    return pairs;
}

} // namespace

// Every abundance reads back as the very double its text reads as: written decimals from
// their digits, and any other value, small code or not, through the side list.
TEST(Abundances, EveryValueReadsBackExactly) {
    std::mt19937 random(5);
    std::vector<std::string> texts = {"1",      "4095",   "4096",
                                      "123456", "0.1",    "0.001",
                                      "40.95",  "409.6",  "3.14159265358979",
                                      "1e300",  "2.5e-7", "0.30000000000000004"};
    for (int i = 0; i < 2000; ++i) {
        const int decimals = static_cast<int>(random() % 7);
        std::string digits = std::to_string(1 + random() % 99999);
        while (static_cast<int>(digits.size()) <= decimals) {
            digits.insert(0, "0");
        }
        texts.push_back(
            decimals == 0 ? digits : digits.insert(digits.size() - static_cast<std::size_t>(decimals), "."));
    }
    AbundanceRows rows;
    for (const auto& text : texts) {
        rows.add(0, read(text));
        rows.endRow();
    }
    Abundances a;
    a.appendBlock(std::move(rows));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(a.at(i, 0), read(texts[i])) << texts[i];
    }
    for (std::uint32_t digits : {1u, 133u, 4095u}) {
        for (int decimals = 0; decimals < 15; ++decimals) {
            const std::string text = std::to_string(digits) + "e-" + std::to_string(decimals);
            EXPECT_EQ(codeValue(*decimalCode(digits, decimals)), read(text)) << text;
        }
    }
    EXPECT_FALSE(decimalCode(4096, 0));
    EXPECT_FALSE(decimalCode(1, 15));
}

namespace {

// Rows of pairs as parsed: one row per line of cells, a pair per column.
AbundanceRows parsedRows(const std::vector<std::vector<double>>& lines) {
    AbundanceRows rows;
    for (const auto& row : lines) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            rows.add(static_cast<std::uint16_t>(c), row[c]);
        }
        rows.endRow();
    }
    return rows;
}

} // namespace

// Columns of one family are added in the order of the file, from 0; ignored columns and
// rows not kept go; families come in family order though a later column names an earlier
// family.
TEST(Abundances, MergingAddsColumnsOfAFamilyInFileOrder) {
    const std::vector<int> familyOfColumn = {0, 1, -1, 0, 2, 1};
    const std::vector<std::vector<double>> columns = {
        {0.1, 0, 7, 0.2, 1, 0}, {0, 0, 3, 0, 0, 0}, {1e300, 2, 0, 1e300, 0, 0.7}, {0, 5, 0, 0, 0, 1.25}};
    AbundanceRows rows = parsedRows(columns);
    rows.mergeInto(familyOfColumn, 3, {true, true, true, true});
    Abundances a;
    a.appendBlock(std::move(rows));
    ASSERT_EQ(a.samples(), 4u);
    using Pairs = std::vector<std::pair<int, double>>;
    EXPECT_EQ(pairsOf(a, 0), (Pairs{{0, 0.1 + 0.2}, {2, 1.0}}));
    EXPECT_TRUE(pairsOf(a, 1).empty()); // only in an ignored column
    EXPECT_EQ(pairsOf(a, 2), (Pairs{{0, 1e300 + 1e300}, {1, 2.0 + 0.7}}));
    EXPECT_EQ(pairsOf(a, 3), (Pairs{{1, 5.0 + 1.25}}));

    // 40 families of two columns each, 0..39 then 0..39 again: a family whose first column
    // is empty arrives late, in a short row and in a long one alike.
    std::vector<int> twice(80);
    for (int c = 0; c < 80; ++c) {
        twice[static_cast<std::size_t>(c)] = c % 40;
    }
    AbundanceRows late;
    late.add(1, 1.0);
    late.add(40, 2.0); // family 0, after family 1
    late.endRow();
    for (std::uint16_t c = 20; c < 60; ++c) { // families 20..39, then 0..19
        late.add(c, c);
    }
    late.endRow();
    late.mergeInto(twice, 40, {true, true});
    Abundances merged;
    merged.appendBlock(std::move(late));
    EXPECT_EQ(pairsOf(merged, 0), (Pairs{{0, 2.0}, {1, 1.0}}));
    const Pairs long_ = pairsOf(merged, 1);
    ASSERT_EQ(long_.size(), 40u);
    for (int f = 0; f < 40; ++f) {
        EXPECT_EQ(long_[static_cast<std::size_t>(f)], (std::pair<int, double>{f, f < 20 ? f + 40 : f}));
    }

    // Columns side by side by family (the usual file) merge in one pass to the same sums;
    // the dropped row's value kept whole is passed over.
    const std::vector<int> sideBySide = {0, 0, 1, -1, 2, 2, 2};
    const std::vector<std::vector<double>> adjacent = {{0.1, 0.2, 0, 9, 1, 0, 2},
                                                       {0, 0, 1e200, 0, 0, 0, 0},
                                                       {1e300, 1e300, 0, 0, 0.7, 0.3, 0},
                                                       {0, 5, 0, 1, 0, 0, 1.25}};
    AbundanceRows rising = parsedRows(adjacent);
    rising.mergeInto(sideBySide, 3, {true, false, true, true});
    Abundances byRows;
    byRows.appendBlock(std::move(rising));
    ASSERT_EQ(byRows.samples(), 3u);
    EXPECT_EQ(pairsOf(byRows, 0), (Pairs{{0, 0.1 + 0.2}, {2, 1.0 + 2.0}}));
    EXPECT_EQ(pairsOf(byRows, 1), (Pairs{{0, 1e300 + 1e300}, {2, 0.7 + 0.3}}));
    EXPECT_EQ(pairsOf(byRows, 2), (Pairs{{0, 5.0}, {2, 1.25}}));

    AbundanceRows dropped;
    for (const double v : {1.0, 2.0, 3.0}) {
        dropped.add(0, v);
        dropped.endRow();
    }
    dropped.mergeInto({0}, 1, {true, false, true});
    Abundances b;
    b.appendBlock(std::move(dropped));
    EXPECT_EQ(b.dense(1), (std::vector<double>{1.0, 3.0}));
}

// Blocks join into one table of samples; a sample is found in whichever block holds it.
TEST(Abundances, BlocksJoinIntoOneTable) {
    Abundances blocks;
    Abundances rows;
    for (int k = 0; k < 3; ++k) {
        AbundanceRows block;
        for (int r = 0; r <= k; ++r) {
            const std::vector<double> byFamily = {static_cast<double>(k), 0.5 * r, 0.0};
            for (std::size_t f = 0; f < byFamily.size(); ++f) {
                block.add(static_cast<std::uint16_t>(f), byFamily[f]);
            }
            block.endRow();
            rows.appendRow(byFamily);
        }
        blocks.appendBlock(std::move(block));
    }
    EXPECT_EQ(blocks, rows);
    EXPECT_EQ(blocks.dense(3),
              (std::vector<double>{0, 0, 0, 1, 0, 0, 1, 0.5, 0, 2, 0, 0, 2, 0.5, 0, 2, 1, 0}));
    EXPECT_EQ(blocks.at(4, 1), 0.5);
    EXPECT_EQ(blocks.at(4, 2), 0.0);
    EXPECT_FALSE(blocks == Abundances());
}
