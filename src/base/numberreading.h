#pragma once
// Reading decimal numbers: the text of a number, already checked to be one (an optional
// sign, digits, a fraction, an exponent), as the nearest 64- or 32-bit value, whatever the
// user's locale says about the decimal separator. A value beyond the range of the type
// comes back as an infinity, and a vanishingly small one as 0.

#include <string_view>

namespace torrentix {

double readDecimal(std::string_view number);
float readDecimal32(std::string_view number);

} // namespace torrentix
