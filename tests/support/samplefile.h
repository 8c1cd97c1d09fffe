#pragma once
// Sample files as users write them, for every test that reads one: a title line, the
// header (three sample labels, three test variables, one family per further column) and
// one row of cells per sample. `typical` fills the rows so that a run over them succeeds:
// better classes hold more families, the test variables are numeric in every row. A test
// then changes whatever cells, names or line ends it is about.

#include <array>
#include <string>
#include <vector>

namespace torrentix::testing {

struct SampleFile {
    std::string title = "River survey";
    std::vector<std::string> header;             // every header cell
    std::vector<std::vector<std::string>> rows;  // every cell of each data row
    std::string lineEnd = "\r\n";

    // Column of the first family in header and rows.
    static constexpr std::size_t firstFamily = 6;

    static std::vector<std::string> defaultFamilies() {
        return {"BAETIDAE", "HEPTAGENIIDAE", "LEUCTRIDAE", "CHIRONOMIDAE",
                "NAIDIDAE", "GAMMARIDAE",    "ELMIDAE",    "SIMULIIDAE"};
    }
    // 7 Reference samples, then High to Bad and one not classified.
    static std::vector<int> defaultClasses() { return {6, 6, 6, 6, 6, 6, 6, 5, 5, 4, 3, 2, 1, 0}; }
    // `reference` Reference samples, then High, Good, Moderate, Poor and Bad ones.
    static std::vector<int> classes(int reference, int high, int good = 0, int moderate = 0, int poor = 0,
                                    int bad = 0) {
        std::vector<int> out;
        const int counts[] = {reference, high, good, moderate, poor, bad};
        for (int slot = 0; slot < 6; ++slot) {
            out.insert(out.end(), static_cast<std::size_t>(counts[slot]), 6 - slot);
        }
        return out;
    }

    static SampleFile typical(const std::vector<int>& classes = defaultClasses(),
                              const std::vector<std::string>& families = defaultFamilies(),
                              const std::array<std::string, 3>& testNames = {"EQR", "URBAN", "ALT"}) {
        SampleFile f;
        f.header = {"CODE", "SAMPLE", "CLASS", testNames[0], testNames[1], testNames[2]};
        f.header.insert(f.header.end(), families.begin(), families.end());
        for (std::size_t i = 0; i < classes.size(); ++i) {
            const int c = classes[i];
            std::vector<std::string> row = {"S" + std::to_string(i + 1), "Site " + std::to_string(i + 1),
                                            std::to_string(c), "0." + std::to_string(9 - i % 9),
                                            std::to_string(i * 3 + 1), std::to_string(300 + i * 10)};
            for (std::size_t j = 0; j < families.size(); ++j) {
                const bool present = c > 4 || j == 0 || (c + static_cast<int>(j)) % 3 != 0;
                row.push_back(present ? std::to_string((i + 1) * (j + 3) % 17 + 1) : "0");
            }
            f.rows.push_back(std::move(row));
        }
        return f;
    }

    // Cell `column` (0-based, as in the header) of data row `row` (0-based).
    std::string& cell(std::size_t row, std::size_t column) { return rows.at(row).at(column); }
    // Empties test variable k (0-based) from data row `from` on.
    SampleFile& emptyTestValuesFrom(std::size_t k, std::size_t from) {
        for (std::size_t i = from; i < rows.size(); ++i) {
            rows[i][3 + k] = "";
        }
        return *this;
    }

    std::string text() const {
        std::string out = title + lineEnd + joined(header) + lineEnd;
        for (const auto& row : rows) {
            out += joined(row) + lineEnd;
        }
        return out;
    }

  private:
    static std::string joined(const std::vector<std::string>& cells) {
        std::string out;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            out += (c == 0 ? "" : "\t") + cells[c];
        }
        return out;
    }
};

} // namespace torrentix::testing
