#pragma once
// The abundances of a sample table, held the way a sample holds them: only the families
// present, as (family, abundance) pairs in family order, row by row (compressed sparse
// rows). A sample holds a few dozen of several hundred families, so this takes a small
// part of the memory of a samples x families matrix, and the metric passes walk only what
// is there.
//
// An abundance whose digits, read as a whole number, are at most 4095 (a count, or a
// decimal with up to 14 decimals) is stored in 16 bits as its digits and number of
// decimals: their quotient is exactly the double the written number reads as. Any other
// value is kept whole in a side list, in the order of the pairs. The rows are held in
// blocks, one per block of the file the reader parsed, so that joining the blocks never
// copies them.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace torrentix {

// The 16-bit form of an abundance: number of decimals in the top 4 bits, digits below;
// 15 decimals mark a value kept in the side list.
using AbundanceCode = std::uint16_t;
inline constexpr unsigned decimalsShift = 12;
inline constexpr AbundanceCode digitsMask = (AbundanceCode{1} << decimalsShift) - 1;
inline constexpr AbundanceCode otherMark = 15;
inline constexpr double powersOfTen[15] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6, 1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14};

// Digits and decimals of an abundance written as a plain decimal number ("12", "1.33"):
// its code, or nullopt when the digits do not fit. Such a number reads as the double
// nearest to digits / 10^decimals; both are exact doubles here, and a quotient of doubles
// is rounded to the nearest, so the code reads back as that very double.
inline std::optional<AbundanceCode> decimalCode(std::uint32_t digits, int decimals) {
    if (digits > digitsMask || decimals < 0 || decimals >= static_cast<int>(otherMark)) {
        return std::nullopt;
    }
    return static_cast<AbundanceCode>(static_cast<unsigned>(decimals) << decimalsShift | digits);
}
inline bool isOther(AbundanceCode code) {
    return (code >> decimalsShift) == otherMark;
}
// The value of a code that is not a side-list mark.
inline double codeValue(AbundanceCode code) {
    const unsigned digits = code & digitsMask;
    const unsigned decimals = static_cast<unsigned>(code >> decimalsShift);
    return decimals == 0 ? digits : digits / powersOfTen[decimals];
}
// The value of a pair whose side-list value, if it has one, is `otherValue`.
inline double pairValue(AbundanceCode code, double otherValue) {
    return isOther(code) ? otherValue : codeValue(code);
}

// Rows of (key, abundance) pairs with positive abundances, keys ascending within a row
// once the reader has merged its columns into families. Keys are taxon columns while a
// file is parsed and family indices afterwards.
class AbundanceRows {
  public:
    // Adds a pair to the row being built; values of 0 are not stored.
    void add(std::uint16_t key, double value);
    void addCode(std::uint16_t key, AbundanceCode code) {
        if ((code & digitsMask) != 0) {
            keys_.push_back(key);
            codes_.push_back(code);
        }
    }
    void endRow() {
        rowEnd_.push_back(static_cast<std::uint32_t>(keys_.size()));
        rowOthers_.push_back(static_cast<std::uint32_t>(others_.size()));
    }

    std::size_t rows() const { return rowEnd_.size(); }
    std::size_t entries() const { return keys_.size(); }
    std::size_t begin(std::size_t row) const { return row == 0 ? 0 : rowEnd_[row - 1]; }
    std::size_t end(std::size_t row) const { return rowEnd_[row]; }
    // The side-list place of the row's first value kept there.
    std::size_t firstOther(std::size_t row) const { return row == 0 ? 0 : rowOthers_[row - 1]; }
    int key(std::size_t entry) const { return keys_[entry]; }
    AbundanceCode code(std::size_t entry) const { return codes_[entry]; }
    double other(std::size_t place) const { return others_[place]; }

    // Rebuilds the rows: keys become family indices by `familyOfKey` (-1 drops the pair),
    // pairs of one family are summed in key order, rows not in `keep` are dropped.
    void mergeInto(const std::vector<int>& familyOfKey, std::size_t families, const std::vector<bool>& keep);

    std::size_t bytes() const;
    // Makes room for this many pairs; gives back what the rows do not hold.
    void reserve(std::size_t pairs);
    void shrink();

  private:
    void addOther(std::uint16_t key, double value);
    void mergeAdjacent(const std::vector<int>& familyOfKey, const std::vector<bool>& keep);
    // The side-list values and row ends of the rows as parsed, taken out for a merge that
    // writes the rows anew.
    struct ColumnRows {
        std::vector<double> others;
        std::vector<std::uint32_t> rowEnd;
    };
    ColumnRows takeColumnRows();

    std::vector<std::uint32_t> rowEnd_;
    std::vector<std::uint32_t> rowOthers_; // side-list values up to the end of each row
    std::vector<std::uint16_t> keys_;
    std::vector<AbundanceCode> codes_;
    std::vector<double> others_; // values without a 32-bit code
};

// The abundances of a whole table: blocks of rows, one after the other. The rows never
// change once read, so copies of a table share them.
class Abundances {
  public:
    // One present family of a sample and its abundance.
    struct Present {
        int family;
        double abundance;
    };
    // The present families of one sample, in family order.
    class Row {
      public:
        class Iterator {
          public:
            Iterator(const AbundanceRows* rows, std::size_t entry, std::size_t other)
                : rows_(rows), entry_(entry), other_(other) {}
            Present operator*() const {
                const AbundanceCode code = rows_->code(entry_);
                return {rows_->key(entry_), isOther(code) ? rows_->other(other_) : codeValue(code)};
            }
            Iterator& operator++() {
                other_ += isOther(rows_->code(entry_)) ? 1 : 0;
                ++entry_;
                return *this;
            }
            bool operator!=(const Iterator& other) const { return entry_ != other.entry_; }

          private:
            const AbundanceRows* rows_;
            std::size_t entry_;
            std::size_t other_;
        };
        Row(const AbundanceRows* rows, std::size_t row) : rows_(rows), row_(row) {}
        Iterator begin() const { return {rows_, rows_->begin(row_), rows_->firstOther(row_)}; }
        Iterator end() const { return {rows_, rows_->end(row_), 0}; }
        std::size_t size() const { return rows_->end(row_) - rows_->begin(row_); }

      private:
        const AbundanceRows* rows_;
        std::size_t row_;
    };

    void appendBlock(AbundanceRows block);
    // Appends one sample from a row of abundances by family.
    void appendRow(const std::vector<double>& byFamily);

    std::size_t samples() const { return samplesUpTo_.empty() ? 0 : samplesUpTo_.back(); }
    Row row(std::size_t sample) const;
    // Abundance of a family in a sample, 0 when absent.
    double at(std::size_t sample, int family) const;
    // The samples x families matrix, row by row (for checks and small tables).
    std::vector<double> dense(std::size_t families) const;
    // Bytes held by the rows.
    std::size_t bytes() const;

    bool operator==(const Abundances& other) const;

  private:
    std::vector<std::shared_ptr<const AbundanceRows>> blocks_;
    std::vector<std::size_t> samplesUpTo_; // samples in blocks 0..k
};

} // namespace torrentix
