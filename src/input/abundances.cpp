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

// A number written as digits with `decimals` decimals reads as the double nearest to
// digits / 10^decimals; both are exact doubles here, and a quotient of doubles is
// rounded to the nearest, so the code reads back as that very double.
std::optional<AbundanceCode> decimalCode(std::uint32_t digits, int decimals) {
    if (digits > digitsMask || decimals < 0 || decimals >= static_cast<int>(otherMark)) {
        return std::nullopt;
    }
    return static_cast<AbundanceCode>(static_cast<unsigned>(decimals) << decimalsShift | digits);
}

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

void AbundanceRows::addCode(std::uint16_t key, AbundanceCode code) {
    if ((code & digitsMask) != 0) {
        keys_.push_back(key);
        codes_.push_back(code);
    }
}

void AbundanceRows::addOther(std::uint16_t key, double value) {
    keys_.push_back(key);
    codes_.push_back(static_cast<AbundanceCode>(otherMark << decimalsShift));
    others_.push_back(value);
}

void AbundanceRows::mergeInto(const std::vector<int>& familyOfKey, std::size_t families,
                              const std::vector<bool>& keep) {
    std::vector<double> sum(families, 0.0);
    std::vector<int> columns(families, 0);
    std::vector<AbundanceCode> firstCode(families, 0);
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
            const double value = isOther(code) ? columnOthers[other++] : codeValue(code);
            const int f = familyOfKey[keys_[e]];
            if (!keep[r] || f < 0) {
                continue;
            }
            const auto fs = static_cast<std::size_t>(f);
            if (columns[fs]++ == 0) {
                present.push_back(f);
                firstCode[fs] = code;
            }
            sum[fs] += value;
        }
        first = last;
        if (!keep[r]) {
            continue;
        }
        std::sort(present.begin(), present.end());
        for (int f : present) {
            const auto fs = static_cast<std::size_t>(f);
            const bool sameCode = columns[fs] == 1 && !isOther(firstCode[fs]);
            const auto code = sameCode ? std::optional<AbundanceCode>(firstCode[fs]) : codeOf(sum[fs]);
            keys_[out] = static_cast<std::uint16_t>(f);
            codes_[out++] = code ? *code : static_cast<AbundanceCode>(otherMark << decimalsShift);
            if (!code) {
                others_.push_back(sum[fs]);
            }
            sum[fs] = 0.0;
            columns[fs] = 0;
        }
        rowEnd_.push_back(static_cast<std::uint32_t>(out));
        rowOthers_.push_back(static_cast<std::uint32_t>(others_.size()));
    }
    keys_.resize(out);
    codes_.resize(out);
    shrink();
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
