#pragma once
// The opened sample file in memory: samples by families, with per-sample code, name,
// quality class and three test-variable texts. Indices are 0-based here; sample i of
// the method is samples[i - 1].

#include "input/abundances.h"

#include <array>
#include <string>
#include <vector>

namespace torrentix {

// Width of the sample names everywhere they are written.
inline constexpr std::size_t sampleNameWidth = 15;

struct Sample {
    std::string code;                          // data cell 1, verbatim
    std::string name;                          // data cell 2 cut or padded to 15 characters
    int qualityClass = 0;                      // 6 Reference .. 1 Bad; anything else Not Classified
    std::array<std::string, 3> testValueTexts; // data cells 4-6, "N/A" when not numeric
    std::string fullName;                      // data cell 2 whole, for the tables of other programs
    int line = 0;                              // its line in the file, 0 where it has none
};

// How the name of a taxon column was read, for the record of the names.
struct NameDecision {
    int column = 0;       // 1-based, as the file's user counts columns
    std::string name;     // the header cell as written
    std::string family;   // empty when the column was left out
    std::string source;   // "taxa database", "synonym", "taxa map", "taxon dictionary", ...
    std::string evidence; // what the source knew: the dictionary's name, the taxa map's line
};

struct SampleTable {
    std::string sourcePath;
    std::string title;
    std::array<std::string, 3> headerlabel;       // header cells 1-3
    std::array<std::string, 3> testVariableNames; // header cells 4-6 without surrounding blanks
    std::array<int, 3> numericTestValueCounts{};  // data rows whose test cell k is numeric
    std::vector<std::string> familyNames;         // resolved family names, first appearance order
    std::vector<Sample> samples;
    Abundances abundances;                   // the families present in each sample
    std::vector<std::string> ignoredColumns; // the header cells of the columns ignored
    std::vector<NameDecision> nameDecisions; // one per taxon column, in column order
    // Class cells that name a class in words ("Reference", "High"), which count as Not
    // Classified: how many, and the first with its place ("Reference" in line 3).
    int classWordCount = 0;
    std::string firstClassWord;
    bool namesCorrected = false;
    bool utf8 = false; // the file's text is UTF-8 (not Windows-1252)

    int nsamp() const { return static_cast<int>(samples.size()); }
    int nfam() const { return static_cast<int>(familyNames.size()); }
    // Abundance of family j in sample i (both 0-based), 0 when absent.
    double abundance(int i, int j) const { return abundances.at(static_cast<std::size_t>(i), j); }
    // The families present in sample i with their abundances, in family order.
    Abundances::Row present(int i) const { return abundances.row(static_cast<std::size_t>(i)); }
};

// Test variables that take part in normalisation and regression: at least 6 numeric values.
inline constexpr int minimumTestValues = 6;
inline bool isUsableTestVariable(const std::array<int, 3>& numericValueCounts, int k) {
    return numericValueCounts[static_cast<std::size_t>(k)] >= minimumTestValues;
}
inline bool isUsableTestVariable(const SampleTable& table, int k) {
    return isUsableTestVariable(table.numericTestValueCounts, k);
}
// The first usable test variable (0-based), -1 when there is none.
inline int firstUsableTestVariable(const std::array<int, 3>& numericValueCounts) {
    for (int k = 0; k < 3; ++k) {
        if (isUsableTestVariable(numericValueCounts, k)) {
            return k;
        }
    }
    return -1;
}

} // namespace torrentix
