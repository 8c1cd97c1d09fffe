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

void AbundanceRows::mergeInto(const std::vector<int>& familyOfKey, std::size_t families,
                              const std::vector<bool>& keep) {
    std::vector<int> columnsOfFamily(families, 0);
    for (const int f : familyOfKey) {
        if (f >= 0) {
            ++columnsOfFamily[static_cast<std::size_t>(f)];
        }
    }
    std::vector<double> sum(families, 0.0);
    std::vector<int> columns(families, 0);
    std::vector<AbundanceCode> firstCode(families, 0);
    std::vector<double> firstOther(families, 0.0);
    std::vector<int> present;
    const std::vector<double> columnOthers = std::move(others_);
    const std::vector<std::uint32_t> columnRowEnd = std::move(rowEnd_);
    others_ = {};
    rowEnd_ = {};
    rowOthers_ = {};
    // Written over in place: a merged row never holds more pairs than the row it comes from.
    std::size_t out = 0;
    std::size_t first = 0;
    std::size_t other = 0;
    for (std::size_t r = 0; r < columnRowEnd.size(); ++r) {
        const std::size_t last = columnRowEnd[r];
        present.clear();
        for (std::size_t e = first; e < last; ++e) {
            const AbundanceCode code = codes_[e];
            const double otherValue = isOther(code) ? columnOthers[other++] : 0.0;
            const int f = familyOfKey[keys_[e]];
            if (f < 0 || !keep[r]) {
                continue;
            }
            const auto fs = static_cast<std::size_t>(f);
            if (columns[fs]++ == 0) {
                present.push_back(f);
                firstCode[fs] = code;
                firstOther[fs] = otherValue;
            }
            if (columnsOfFamily[fs] > 1) {
                // Columns of one family are added in the order of the file, from 0.
                sum[fs] += isOther(code) ? otherValue : codeValue(code);
            }
        }
        first = last;
        if (!keep[r]) {
            continue;
        }
        // Families come in the order of their first column: only a family whose first
        // columns are empty in this row arrives late. Insertion sort keeps this cheap.
        for (std::size_t i = 1; i < present.size(); ++i) {
            for (std::size_t j = i; j > 0 && present[j - 1] > present[j]; --j) {
                std::swap(present[j - 1], present[j]);
            }
        }
        for (const int f : present) {
            const auto fs = static_cast<std::size_t>(f);
            keys_[out] = static_cast<std::uint16_t>(f);
            if (columns[fs] == 1) {
                codes_[out] = firstCode[fs];
                if (isOther(firstCode[fs])) {
                    others_.push_back(firstOther[fs]);
                }
            } else if (const auto code = codeOf(sum[fs])) {
                codes_[out] = *code;
            } else {
                codes_[out] = static_cast<AbundanceCode>(otherMark << decimalsShift);
                others_.push_back(sum[fs]);
            }
            ++out;
            sum[fs] = 0.0;
            columns[fs] = 0;
        }
        rowEnd_.push_back(static_cast<std::uint32_t>(out));
        rowOthers_.push_back(static_cast<std::uint32_t>(others_.size()));
    }
    // Kept at their size: a copy to a smaller block would need both at once.
    keys_.resize(out);
    codes_.resize(out);
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
    blocks_.push_back(std::move(block));
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
    return {&blocks_[k], sample - (k == 0 ? 0 : samplesUpTo_[k - 1])};
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
    for (const AbundanceRows& block : blocks_) {
        total += block.bytes();
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
