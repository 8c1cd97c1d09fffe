#pragma once
// Texts of the user's file (codes, sample names, test-variable texts, taxon names) in the
// files people open in spreadsheets: a cell that begins with "=", "+", "-", "@", a TAB or a
// CR is taken for a formula by Excel, LibreOffice and others, so a sample named
// =HYPERLINK("http://…";"click") would become a live link. Such a cell is written with a
// leading apostrophe, which every spreadsheet reads as "this is text". A number ("-0.5",
// "+3") is a value, not a formula, and is never altered.

#include <string>
#include <string_view>

namespace torrentix {

// True when a spreadsheet would evaluate the text as a formula.
bool readsAsFormula(std::string_view text);

// The text, with a leading apostrophe when it reads as a formula. The one guard of every
// output's text cells: the results file, the tables for other programs (through textCell
// of report/tidytable, which also quotes and converts them to UTF-8) and the desktop's
// copies to the clipboard.
std::string guardFormula(std::string_view text);

} // namespace torrentix
