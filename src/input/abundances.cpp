#include "input/abundances.h"

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

// The code of any abundance whose value is some digits divided by a power of ten, checked
// by computing that quotient exactly as it will be read back.
std::optional<AbundanceCode> codeOf(double value) {
    constexpr double limit = static_cast<double>(digitsMask);
    if (!(value >= 0.0 && value <= limit)) {
        return std::nullopt;
    }
    for (unsigned decimals = 0; decimals < otherMark; ++decimals) {
        const double scaled = std::nearbyint(value * powersOfTen[decimals]);
        if (scaled > limit) {
            return std::nullopt;
        }
        const auto digits = static_cast<unsigned>(scaled);
        if (digits / powersOfTen[decimals] == value) {
            return static_cast<AbundanceCode>(decimals << decimalsShift | digits);
        }
    }
    return std::nullopt;
}

} // namespace

void AbundanceRows::add(std::uint16_t key, double value) {
    if (value == 0.0) {
        return;
    }
    if (const auto code = codeOf(value)) {
        addCode(key, *code);
    } else {
        addOther(key, value);
    }
}

void AbundanceRows::addOther(std::uint16_t key, double value) {
    keys_.push_back(key);
    codes_.push_back(static_cast<AbundanceCode>(otherMark << decimalsShift));
    others_.push_back(value);
}

namespace {

// The merged value of a family in a row: its one column's code as read, else the sum of
// its columns as a code, or as an "other" value to keep aside when no code holds it.
using MergedValue = std::pair<AbundanceCode, std::optional<double>>;
MergedValue mergedValue(int columns, AbundanceCode firstCode, double firstOther, double sum) {
    if (columns == 1) {
        return {firstCode, isOther(firstCode) ? std::optional(firstOther) : std::nullopt};
    }
    if (const auto code = codeOf(sum)) {
        return {*code, std::nullopt};
    }
    return {static_cast<AbundanceCode>(otherMark << decimalsShift), sum};
}

// The work arrays of a merge, by family: what the row being merged holds of each.
class FamilyMerge {
  public:
    FamilyMerge(const std::vector<int>& familyOfKey, std::size_t families)
        : columnsOfFamily_(families, 0), sum_(families, 0.0), columns_(families, 0), firstCode_(families, 0),
          firstOther_(families, 0.0) {
        for (const int f : familyOfKey) {
            if (f >= 0) {
                ++columnsOfFamily_[static_cast<std::size_t>(f)];
            }
        }
    }

    // Takes one pair of the row. Columns of one family are added in the order of the file.
    void take(int f, AbundanceCode code, double otherValue) {
        const auto fs = static_cast<std::size_t>(f);
        if (columns_[fs]++ == 0) {
            inOrder_ = inOrder_ && (present_.empty() || present_.back() < f);
            present_.push_back(f);
            firstCode_[fs] = code;
            firstOther_[fs] = otherValue;
        }
        if (columnsOfFamily_[fs] > 1) {
            sum_[fs] += pairValue(code, otherValue);
        }
    }

    // The row's families in family order. They come in the order of their first column, so
    // only a family whose first columns are empty in this row arrives late; then a short
    // row is sorted and a long one read off the families in order, in linear time.
    const std::vector<int>& familiesInOrder() {
        if (!inOrder_) {
            if (present_.size() * 16 < columns_.size()) {
                std::sort(present_.begin(), present_.end());
            } else {
                present_.clear();
                for (std::size_t f = 0; f < columns_.size(); ++f) {
                    if (columns_[f] != 0) {
                        present_.push_back(static_cast<int>(f));
                    }
                }
            }
        }
        return present_;
    }

    // The merged value of family f in the row: its code, or an "other" value to keep aside.
    MergedValue merged(int f) const {
        const auto fs = static_cast<std::size_t>(f);
        return mergedValue(columns_[fs], firstCode_[fs], firstOther_[fs], sum_[fs]);
    }

    void nextRow() {
        for (const int f : present_) {
            sum_[static_cast<std::size_t>(f)] = 0.0;
            columns_[static_cast<std::size_t>(f)] = 0;
        }
        present_.clear();
        inOrder_ = true;
    }

  private:
    std::vector<int> columnsOfFamily_;
    std::vector<double> sum_;
    std::vector<int> columns_; // columns of each family seen in the row
    std::vector<AbundanceCode> firstCode_;
    std::vector<double> firstOther_;
    std::vector<int> present_;
    bool inOrder_ = true;
};

// Whether the columns name their families in family order (a family's columns side by
// side, as most files and every corrected file have them): then a row's pairs come in
// family order, and the columns of one family follow each other.
bool familiesRise(const std::vector<int>& familyOfKey) {
    int last = -1;
    for (const int f : familyOfKey) {
        if (f >= 0) {
            if (f < last) {
                return false;
            }
            last = f;
        }
    }
    return true;
}

// The pairs of one family met in a row, side by side, as they merge.
struct AdjacentRun {
    int family = -1;
    int columns = 0;
    AbundanceCode firstCode = 0;
    double firstOther = 0.0;
    double sum = 0.0;
};

} // namespace

// With the families in rising order a row merges in one pass, each family's columns added
// in file order as FamilyMerge adds them (from 0, which changes no sum): the same rows.
void AbundanceRows::mergeAdjacent(const std::vector<int>& familyOfKey, const std::vector<bool>& keep) {
    const auto [columnOthers, columnRowEnd] = takeColumnRows();
    std::size_t out = 0;
    std::size_t first = 0;
    std::size_t other = 0;
    AdjacentRun run;
    const auto flush = [&] {
        if (run.columns == 0) {
            return;
        }
        const auto [code, aside] = mergedValue(run.columns, run.firstCode, run.firstOther, run.sum);
        keys_[out] = static_cast<std::uint16_t>(run.family);
        codes_[out] = code;
        if (aside) {
            others_.push_back(*aside);
        }
        ++out;
        run = {};
    };
    for (std::size_t r = 0; r < columnRowEnd.size(); ++r) {
        const std::size_t last = columnRowEnd[r];
        if (!keep[r]) {
            for (std::size_t e = first; e < last; ++e) {
                other += isOther(codes_[e]) ? 1 : 0;
            }
            first = last;
            continue;
        }
        for (std::size_t e = first; e < last; ++e) {
            const AbundanceCode code = codes_[e];
            const double otherValue = isOther(code) ? columnOthers[other++] : 0.0;
            const int f = familyOfKey[keys_[e]];
            if (f < 0) {
                continue;
            }
            if (f != run.family) {
                flush();
                run = {f, 1, code, otherValue, 0.0};
                continue;
            }
            // A further column of the family: the sum is begun only now, from 0 and the
            // first column's value, as every merge adds them.
            if (run.columns == 1) {
                run.sum = 0.0 + pairValue(run.firstCode, run.firstOther);
            }
            run.sum += pairValue(code, otherValue);
            ++run.columns;
        }
        first = last;
        flush();
        rowEnd_.push_back(static_cast<std::uint32_t>(out));
        rowOthers_.push_back(static_cast<std::uint32_t>(others_.size()));
    }
    keys_.resize(out);
    codes_.resize(out);
}

void AbundanceRows::mergeInto(const std::vector<int>& familyOfKey, std::size_t families,
                              const std::vector<bool>& keep) {
    if (familiesRise(familyOfKey)) {
        mergeAdjacent(familyOfKey, keep);
        return;
    }
    FamilyMerge merge(familyOfKey, families);
    const auto [columnOthers, columnRowEnd] = takeColumnRows();
    // Written over in place: a merged row never holds more pairs than the row it comes from.
    std::size_t out = 0;
    std::size_t first = 0;
    std::size_t other = 0;
    for (std::size_t r = 0; r < columnRowEnd.size(); ++r) {
        const std::size_t last = columnRowEnd[r];
        for (std::size_t e = first; e < last; ++e) {
            const AbundanceCode code = codes_[e];
            const double otherValue = isOther(code) ? columnOthers[other++] : 0.0;
            const int f = familyOfKey[keys_[e]];
            if (f >= 0 && keep[r]) {
                merge.take(f, code, otherValue);
            }
        }
        first = last;
        if (!keep[r]) {
            continue;
        }
        for (const int f : merge.familiesInOrder()) {
            const auto [code, aside] = merge.merged(f);
            keys_[out] = static_cast<std::uint16_t>(f);
            codes_[out] = code;
            if (aside) {
                others_.push_back(*aside);
            }
            ++out;
        }
        merge.nextRow();
        rowEnd_.push_back(static_cast<std::uint32_t>(out));
        rowOthers_.push_back(static_cast<std::uint32_t>(others_.size()));
    }
    // Kept at their size: a copy to a smaller block would need both at once.
    keys_.resize(out);
    codes_.resize(out);
}

AbundanceRows::ColumnRows AbundanceRows::takeColumnRows() {
    ColumnRows taken{std::move(others_), std::move(rowEnd_)};
    others_ = {};
    rowEnd_ = {};
    rowOthers_ = {};
    return taken;
}

void AbundanceRows::reserve(std::size_t pairs) {
    keys_.reserve(pairs);
    codes_.reserve(pairs);
}

void AbundanceRows::shrink() {
    rowEnd_.shrink_to_fit();
    rowOthers_.shrink_to_fit();
    keys_.shrink_to_fit();
    codes_.shrink_to_fit();
    others_.shrink_to_fit();
}

std::size_t AbundanceRows::bytes() const {
    return (rowEnd_.capacity() + rowOthers_.capacity()) * sizeof(std::uint32_t) +
           keys_.capacity() * sizeof(std::uint16_t) + codes_.capacity() * sizeof(AbundanceCode) +
           others_.capacity() * sizeof(double);
}

void Abundances::appendBlock(AbundanceRows block) {
    samplesUpTo_.push_back(samples() + block.rows());
    blocks_.push_back(std::make_shared<const AbundanceRows>(std::move(block)));
}

void Abundances::appendRow(const std::vector<double>& byFamily) {
    AbundanceRows block;
    for (std::size_t f = 0; f < byFamily.size(); ++f) {
        block.add(static_cast<std::uint16_t>(f), byFamily[f]);
    }
    block.endRow();
    appendBlock(std::move(block));
}

Abundances::Row Abundances::row(std::size_t sample) const {
    const auto block =
        std::upper_bound(samplesUpTo_.begin(), samplesUpTo_.end(), sample) - samplesUpTo_.begin();
    const auto k = static_cast<std::size_t>(block);
    return {blocks_[k].get(), sample - (k == 0 ? 0 : samplesUpTo_[k - 1])};
}

double Abundances::at(std::size_t sample, int family) const {
    for (const Present p : row(sample)) {
        if (p.family == family) {
            return p.abundance;
        }
    }
    return 0.0;
}

std::vector<double> Abundances::dense(std::size_t families) const {
    std::vector<double> matrix(samples() * families, 0.0);
    for (std::size_t i = 0; i < samples(); ++i) {
        for (const Present p : row(i)) {
            matrix[i * families + static_cast<std::size_t>(p.family)] = p.abundance;
        }
    }
    return matrix;
}

std::size_t Abundances::bytes() const {
    std::size_t total = samplesUpTo_.capacity() * sizeof(std::size_t);
    for (const auto& block : blocks_) {
        total += block->bytes();
    }
    return total;
}

bool Abundances::operator==(const Abundances& other) const {
    if (samples() != other.samples()) {
        return false;
    }
    for (std::size_t i = 0; i < samples(); ++i) {
        const Row a = row(i);
        const Row b = other.row(i);
        if (a.size() != b.size()) {
            return false;
        }
        for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y) {
            if ((*x).family != (*y).family || (*x).abundance != (*y).abundance) {
                return false;
            }
        }
    }
    return true;
}

} // namespace torrentix
