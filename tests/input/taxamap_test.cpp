#include "input/taxamap.h"
#include "support/taxa.h"
#include "support/testsupport.h"

using namespace torrentix;
using namespace torrentix::testing;

TEST(TaxaMap, FamiliesSynonymsAndIgnoresWhateverTheCaseAndEncoding) {
    const TaxaMap map =
        TaxaMap::parse("name\tfamily\r\n# survey\r\n\r\nEphemera\tephemeridae\r\nMYSTERY \t IGNORE \t\t\r\n"
                       "Elmis\tELMINTHIDAE\r\nGu\xE9rin\tBAETIDAE\r\nA\tBAETIDAE\r\na\tbaetidae",
                       "m.tsv", realTaxa());
    const std::vector<std::tuple<std::string, bool, std::string, int>> cases = {
        {"EPHEMERA", true, "EPHEMERIDAE", 4},
        {"MYSTERY", true, "", 5},
        {"ELMIS", true, "ELMIDAE", 6}, // a synonym stands for its family
        {"GU\xE9RIN", false, "BAETIDAE", 7},
        {"GU\xC3\xA9RIN", true, "BAETIDAE", 7}};
    for (const auto& [name, utf8, family, line] : cases) {
        const TaxaMapEntry* entry = map.find(name, utf8);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(std::tuple(entry->family, entry->familyId == 0, entry->line),
                  std::tuple(family, family.empty(), line));
    }
    const std::vector<std::pair<std::string, std::string>> faults = {
        {"A\tBAETIDAE\nB\tNOTAFAMILYIDAE\n",
         "line 2: the family \"NOTAFAMILYIDAE\" is not in the taxa database"},
        {"A\tBAETIDAE\nB\n", "line 2: expected a name, a TAB and a family"},
        {"A\tBAETIDAE\tCAENIDAE\n", "line 1: expected"},
        {"\tBAETIDAE\n", "line 1: expected"},
        {"A\tBAETIDAE\n a\tIGNORE\n", "line 2: \"a\" is already mapped to BAETIDAE on line 1"}};
    for (const auto& [text, fact] : faults) {
        EXPECT_THAT(errorOf([&, text = text] { TaxaMap::parse(text, "m.tsv", realTaxa()); }),
                    HasSubstr("m.tsv, " + fact));
    }
}
