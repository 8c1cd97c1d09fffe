#pragma once
// How the reader takes the cells of a sample file as spreadsheets export them: quotes
// around a cell are removed, and numbers written with a decimal comma are told apart
// from plain numbers and from cells whose decimal mark cannot be told.

#include <string>
#include <string_view>

namespace torrentix {

// The cell without the double quotes a spreadsheet wraps around it ("" inside stands for
// one quote). `storage` holds the text when a quote inside had to be undone, so the
// result lives as long as both the cell and `storage`.
std::string_view unquoteCell(std::string_view cell, std::string& storage);

// A number written with a decimal comma: optional sign, digits, one comma, digits, blanks
// around allowed ("12,5", " -0,873 ").
bool isDecimalCommaNumber(std::string_view cell);
// The same number with a decimal point and without the blanks ("12,5" gives "12.5").
std::string decimalPointTwin(std::string_view cell);
// A number-like cell (sign, digits, "." and ",") holding both "." and ",": whether it
// means 1234.5 or 1.2345 cannot be told.
bool isAmbiguousNumber(std::string_view cell);

} // namespace torrentix
