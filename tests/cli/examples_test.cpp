// The five example files through the batch command, as the examples' README runs them with
// the table and the bootstrap intervals: every file written is compared byte for byte with
// its golden copy. The table and the intervals hold every number at full precision, so they
// pin the order of every sum and the samples every replicate draws.
// TORRENTIX_UPDATE_GOLDEN=1 writes the golden copies anew.

#include "cli/batch.h"
#include "support/testsupport.h"

#include <algorithm>
#include <sstream>

using namespace torrentix;
using namespace torrentix::testing;
namespace fs = std::filesystem;

namespace {

struct Example {
    std::string name, gig, type;
};

void PrintTo(const Example& e, std::ostream* os) {
    *os << e.name;
}

class ExampleFiles : public ::testing::TestWithParam<Example> {};

} // namespace

TEST_P(ExampleFiles, ResultsTableAndIntervalsMatchTheirGoldenCopies) {
    const Example& e = GetParam();
    TempDir dir;
    const std::string input = dir.file(e.name + ".txt");
    writeFile(input, readFile(std::string(EXAMPLES_DIR) + "/" + e.name + ".txt"));
    std::ostringstream out, err;
    const cli::BatchEnvironment env{fs::path(TAXA_DB_PATH).parent_path().string(), "06/12/2026", "10:00"};
    ASSERT_EQ(cli::runBatch({"--gig", e.gig, "--type", e.type, "--bio", "1", "--table", "--bootstrap", "1000",
                             "--seed", "1", input},
                            env, out, err),
              0)
        << err.str();
    for (const std::string suffix : {"_OUT.txt", "_table.tsv", "_ci.tsv", "_ci_regressions.tsv"}) {
        expectGoldenCopy(readFile(dir.file(e.name + suffix)), dir.path(),
                         std::string(TEST_DATA_DIR) + "/golden/examples/" + e.name + suffix);
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleFiles,
                         ::testing::Values(Example{"alpine", "Alpine", "R-A2"},
                                           Example{"central-baltic", "Central / Baltic", "R-C3"},
                                           Example{"eastern-continental", "Eastern continental", "R-E4"},
                                           Example{"mediterranean", "Mediterranean", "R-M1"},
                                           Example{"northern", "Northern", "R-N2"}),
                         [](const auto& param) {
                             std::string n = param.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

// The Mediterranean example with its families named by genera and species as field sheets write
// them (qualifiers, a pair, split-off families among them) gives the family-named example's
// results: its table and intervals are the golden copies of that example, and its results file
// differs only in the title and name of the file.
TEST(ExampleFiles, GenusAndSpeciesNamesGiveTheResultsOfTheFamilyNames) {
    TempDir dir;
    const std::string input = dir.file("mediterranean-genera.txt");
    writeFile(input, readFile(std::string(EXAMPLES_DIR) + "/mediterranean-genera.txt"));
    std::ostringstream out, err;
    const cli::BatchEnvironment env{fs::path(TAXA_DB_PATH).parent_path().string(), "06/12/2026", "10:00"};
    ASSERT_EQ(cli::runBatch({"--gig", "Mediterranean", "--type", "R-M1", "--bio", "1", "--table", "--bootstrap",
                             "1000", "--seed", "1", "--unknown", "dictionary", input},
                            env, out, err),
              0)
        << err.str();
    const std::string golden = std::string(TEST_DATA_DIR) + "/golden/examples/mediterranean";
    for (const std::string suffix : {"_table.tsv", "_ci.tsv", "_ci_regressions.tsv"}) {
        EXPECT_TRUE(readFile(dir.file("mediterranean-genera" + suffix)) == readFile(golden + suffix)) << suffix;
    }
    std::string results = readFile(dir.file("mediterranean-genera_OUT.txt"));
    for (const auto& [from, to] : {std::pair<std::string, std::string>{dir.path(), "FOLDER"},
                                   {"mediterranean-genera.txt", "mediterranean.txt"},
                                   {", named by genus and species as field sheets write them", ""}}) {
        results.replace(results.find(from), from.size(), to);
    }
    EXPECT_EQ(results, readFile(golden + "_OUT.txt"));
}
