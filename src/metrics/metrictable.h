#pragma once
// The per-sample metrics of one computation run: raw after the metric passes,
// normalised in place afterwards. Arrays a GIG does not use stay empty.

#include <vector>

namespace torrentix {

struct MetricTable {
    // STAR_ICMi metrics, every GIG.
    std::vector<double> aspt;       // average BMWP score per scored family
    std::vector<double> eptn;       // number of EPT families
    std::vector<double> gold;       // 1 - GOLD abundance share
    std::vector<double> shannon;    // Shannon diversity
    std::vector<double> logseleptd; // log10(selected EPTD abundance + 1)
    std::vector<double> taxan;      // number of families
    // GIG metrics.
    std::vector<double> iaspt;    // Iberian ASPT (Eastern continental: a copy of ASPT)
    std::vector<double> gigept;   // Alpine: EPT families / families
    std::vector<double> selsens;  // Alpine: selected sensitive families
    std::vector<double> seletd;   // Mediterranean: selected ETD families / families
    std::vector<double> eptabund; // Eastern continental: EPT abundance / total abundance
    std::vector<double> dind;     // Eastern continental: Degradations Index
    std::vector<double> gigtaxan; // copy of the number of families for the GIG index
};

} // namespace torrentix
