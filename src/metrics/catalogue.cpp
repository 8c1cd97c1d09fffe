#include "metrics/catalogue.h"

#include "base/text.h"

namespace torrentix {
namespace {

constexpr std::string_view starDescription =
    "1. ASPT: AverageScorePerTaxon (weight: 0.334)\r\n\r\n"
    "2. EPT_N: Number of Ephemeroptera, Plecoptera, Trichoptera families (weight: 0.083)\r\n\r\n"
    "3. 1-GOLD: 1-[abundance of Gastropoda, OLigochaeta, Diptera families/total abundance](weight: "
    "0.067)\r\n\r\n"
    "4. SHANNON: Shannon diversity index (weight: 0.083)\r\n\r\n"
    "5. LogSelEPTD: log[abundance of selected Ephemeroptera, Plecoptera, Trichoptera, Diptera families+1] "
    "(weight: 0.266)\r\n\r\n"
    "6. TAXA_N: Number of Families (weight: 0.167)";

const std::array<GigInfo, gigCount> gigs = {{
    {"Alpine",
     2,
     {"small to medium high altitude calcareous", "small to medium high altitude siliceous"},
     "1. IASPT: Iberian AverageScorePerTaxon (weight: 0.25)\r\n\r\n"
     "2. %EPT_N: Number of Ephemeroptera, Plecoptera, Trichoptera families/Total Number of families "
     "(weight: 0.25)\r\n\r\n"
     "3. SelSens_N: Number of selected Sensitive families ( weight: 0.25)\r\n\r\n"
     "4. TAXA_N: Number of Families (weight: 0.25)"},
    {"Central / Baltic",
     5,
     {"small lowland siliceous rock", "small mid-altitude siliceous", "medium lowland mixed",
      "large lowland mixed", "small lowland calcareous"},
     starDescription},
    {"Eastern continental",
     6,
     {"Carpathians: small to medium, mid-altitude", "Plains: medium-sized, lowland",
      "Plains: large and very large, lowland ", "Plains: medium-sized, mid-altitude",
      "Balkans: medium-sized, mid-altitude", "Danube River:  middle and downstream"},
     "1. ASPT: AverageScorePerTaxon (weight: 0.25)\r\n\r\n"
     "2. %EPT_A: Abundance of Ephemeroptera, Plecoptera, Trichoptera families/Total Abundance "
     "(weight: 0.25)\r\n\r\n"
     "3. DInd: Degradations Index (weight: 0.25)\r\n\r\n"
     "4. TAXA_N; Number of Families (weight: 0.25)"},
    {"Mediterranean",
     5,
     {"small mid-altitude", "medium lowland", "large lowland", "small/medium mediterranean mountains",
      "small mediterranean temporary"},
     "1. IASPT: Iberian AverageScorePerTaxon (weight: 0.34)\r\n\r\n"
     "2. EPT_N: Number of Ephemeroptera, Plecoptera, Trichoptera families (weight: 0.18)\r\n\r\n"
     "3. %SelETD_N: Number of selected Ephemeroptera, Trichoptera, Diptera/Total Number of families "
     "(weight:0.2)\r\n\r\n"
     "4. TAXA_N: Number of Families (weight: 0.28)"},
    {"Northern",
     8,
     {"small lowland siliceous moderate alcalinity", "small lowland siliceous", "small lowland organic",
      "medium/large lowland siliceous moderate alcalinity", "small mid-altitude siliceous",
      "mid-altitude siliceous", "small higland siliceous", "small highland organic"},
     starDescription},
}};

} // namespace

const GigInfo& gigInfo(int gigindex) {
    return gigs.at(static_cast<std::size_t>(gigindex));
}

std::string typeCode(int gigindex, int typeindex) {
    return std::string("R-") + gigInitial(gigindex) + std::to_string(typeindex + 1);
}

std::string typeCaption(int gigindex, int typeindex) {
    return typeCode(gigindex, typeindex) + " (" +
           std::string(gigInfo(gigindex).typedesc.at(static_cast<std::size_t>(typeindex))) + ")";
}

std::optional<int> parseGig(std::string_view text) {
    std::string upper = toUpperAscii(trimBlanks(text));
    for (int g = 0; g < gigCount; ++g) {
        std::string caption = toUpperAscii(gigInfo(g).caption);
        if (upper == caption || upper == caption.substr(0, 3) || upper == std::to_string(g)) {
            return g;
        }
    }
    return std::nullopt;
}

std::optional<int> parseTypeCode(int gigindex, std::string_view code) {
    std::string upper = toUpperAscii(trimBlanks(code));
    for (int t = 0; t < gigInfo(gigindex).ntypes; ++t) {
        if (upper == typeCode(gigindex, t)) {
            return t;
        }
    }
    return std::nullopt;
}

} // namespace torrentix
