#pragma once
// Least-squares line of an index (y) against a test variable (x), with the band that the
// scatter plot draws around it.

#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// Where the search for the smallest x of a regression starts.
inline constexpr double regressionXminStart = 1000.0;

struct Regression {
    bool ok = false; // false when it could not be computed (fewer than 3 pairs, all x
                     // equal or all y equal); then no value below is meaningful
    int n = 0;       // pairs with a numeric x
    double m = 0.0;  // slope
    double b = 0.0;  // intercept
    double r2 = 0.0; // coefficient of determination
    // Left end of the drawn line: the smallest x - 0.2, not below 0. The search for the
    // smallest x starts at 1000, so a line whose x values all exceed 1000 starts at 1000 (test
    // values are normalised, mostly within 0..1, so this is rare; the method draws it so).
    double xmin = regressionXminStart;
    int bandPoints = 0;                 // band points at x = 0.1, 0.2, ... 0.1 x bandPoints
    std::vector<double> bandHalfWidths; // half-widths of the band at those points
};

// The message shown when a regression cannot be computed.
inline const std::string regressionErrorMessage =
    "An error occurred. Please check your data. (Proc. regrlin)";

// Regresses y on x over the samples whose x is numeric.
Regression fitLine(const std::vector<std::optional<double>>& x, const std::vector<double>& y);
// The same with x given as texts ("N/A" and other non-numeric texts take no part).
Regression fitLine(const std::vector<std::string>& x, const std::vector<double>& y);

} // namespace torrentix
