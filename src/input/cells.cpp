#include "input/cells.h"

#include "base/text.h"

#include <algorithm>

namespace torrentix {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view withoutSign(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

std::string_view unquoteCell(std::string_view cell, std::string& storage) {
    if (cell.size() < 2 || cell.front() != '"' || cell.back() != '"') {
        return cell;
    }
    const std::string_view inner = cell.substr(1, cell.size() - 2);
    if (inner.find('"') == std::string_view::npos) {
        return inner;
    }
    storage.clear();
    for (std::size_t i = 0; i < inner.size(); ++i) {
        storage += inner[i];
        if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') {
            ++i;
        }
    }
    return storage;
}

bool isDecimalCommaNumber(std::string_view cell) {
    const std::string_view number = withoutSign(trimBlanks(cell));
    const auto comma = number.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma + 1 == number.size()) {
        return false;
    }
    auto allDigits = [](std::string_view part) { return std::all_of(part.begin(), part.end(), isDigit); };
    return allDigits(number.substr(0, comma)) && allDigits(number.substr(comma + 1));
}

std::string decimalPointTwin(std::string_view cell) {
    std::string twin(trimBlanks(cell));
    std::replace(twin.begin(), twin.end(), ',', '.');
    return twin;
}

bool isAmbiguousNumber(std::string_view cell) {
    const std::string_view number = withoutSign(trimBlanks(cell));
    const bool numberLike = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
        return isDigit(c) || c == '.' || c == ',';
    });
    return numberLike && number.find('.') != std::string_view::npos &&
           number.find(',') != std::string_view::npos;
}

} // namespace torrentix
