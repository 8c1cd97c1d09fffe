#pragma once
// Fixed family selections of the common metrics, in the method's own spellings. Each name
// is looked up in the taxa database as a sample file's column name is (a family, else a
// synonym of one), so that an older spelling ("RHYACHOPHILIDAE", "STRATYOMIDAE") counts
// the family the database holds under its current name.

#include <array>
#include <string_view>
#include <vector>

namespace torrentix {

// Families scored together as one taxon per sample for the ASPT (BMWP composite families).
// The score table scores the Oligochaeta as one class: besides the families it names, the
// class row of worms not identified to family and the families of the class it does not name
// (Sparganophilidae, Criodrilidae, Branchiobdellidae) belong to that group.
inline constexpr std::size_t bmwpGroupCount = 9;
inline const std::array<std::vector<std::string_view>, bmwpGroupCount>& bmwpFamilyGroups() {
    static const std::array<std::vector<std::string_view>, bmwpGroupCount> groups = {{
        {"ACROLOXIDAE", "ANCYLIDAE"},
        {"NIPHARGIDAE", "GAMMARIDAE", "CRANGONYCTIDAE"},
        {"BITHYNIIDAE", "HYDROBIIDAE"},
        {"DUGESIIDAE", "PLANARIIDAE"},
        {"DYTISCIDAE", "NOTERIDAE"},
        {"HYDRAENIDAE", "HYDROPHILIDAE"},
        {"ECNOMIDAE", "PSYCHOMYIIDAE"},
        {"RHYACHOPHILIDAE", "GLOSSOSOMATIDAE"},
        {"NAIDIDAE", "OCTOCHAETIDAE", "TUBIFICIDAE", "PROPAPPIDAE", "AEOLOSOMATIDAE", "DORYDRILIDAE",
         "ENCHYTRAEIDAE", "GLOSSOSCOLECIDAE", "HAPLOTAXIDAE", "LUMBRICIDAE", "LUMBRICULIDAE", "OLIGOCHAETA",
         "SPARGANOPHILIDAE", "CRIODRILIDAE", "BRANCHIOBDELLIDAE"},
    }};
    return groups;
}

// Selected Ephemeroptera, Plecoptera, Trichoptera and Diptera families of log(SelEPTD+1).
inline constexpr std::array<std::string_view, 14> selEptdFamilies = {
    "HEPTAGENIIDAE", "LEPTOPHLEBIIDAE", "EPHEMERIDAE",       "BRACHYCENTRIDAE", "NEMOURIDAE",
    "ATHERICIDAE",   "EMPIDIDAE",       "DIXIDAE",           "STRATYOMIDAE",    "DOLICHOPODIDAE",
    "ODONTOCERIDAE", "LIMNEPHILIDAE",   "POLYCENTROPODIDAE", "GOERIDAE"};

// Selected Ephemeroptera, Trichoptera and Diptera families of the Mediterranean %SelETD_N.
inline constexpr std::array<std::string_view, 12> selEtdFamilies = {
    "HEPTAGENIIDAE", "EPHEMERIDAE",    "BRACHYCENTRIDAE", "ATHERICIDAE",   "EMPIDIDAE",         "DIXIDAE",
    "STRATIOMYIDAE", "DOLICHOPODIDAE", "ODONTOCERIDAE",   "LIMNEPHILIDAE", "POLYCENTROPODIDAE", "GOERIDAE"};

// Database ids of the Alpine selected sensitive families. The selection is this project's
// own (no public list was found): every run of the Alpine GIG says so.
inline constexpr std::array<int, 24> sensitiveFamilyIds = {
    12, 17, 21, 25, 29, 32, 39, 44, 70, 71, 74, 83, 85, 84, 94, 97, 110, 115, 150, 157, 158, 164, 200, 215};

// Taxonomic group codes used by the metrics.
inline constexpr int groupGastropoda = 8;
inline constexpr int groupOligochaeta = 11;
inline constexpr int groupDiptera = 24;
inline constexpr int groupEphemeroptera = 15;
inline constexpr int groupPlecoptera = 17;
inline constexpr int groupTrichoptera = 21;

inline bool isGoldGroup(int g) {
    return g == groupGastropoda || g == groupOligochaeta || g == groupDiptera;
}
inline bool isEptGroup(int g) {
    return g == groupEphemeroptera || g == groupPlecoptera || g == groupTrichoptera;
}

} // namespace torrentix
