#include "report/formulaguard.h"

#include "base/text.h"

namespace torrentix {

bool readsAsFormula(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos) {
        return false;
    }
    return !isNumeric(text);
}

std::string guardFormula(std::string_view text) {
    return readsAsFormula(text) ? "'" + std::string(text) : std::string(text);
}

} // namespace torrentix
