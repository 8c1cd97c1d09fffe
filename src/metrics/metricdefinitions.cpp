#include "metrics/metricdefinitions.h"

#include "base/numberforms.h"
#include "metrics/catalogue.h"

#include <algorithm>
#include <array>

namespace torrentix {
namespace {

using enum MetricId;
using enum MetricForm;

const std::vector<MetricDefinition> star = {
    {Aspt, "ASPT", "ASPT", 0.334, Fixed2, 0, "ASPT: AverageScorePerTaxon (weight: {w})", 0},
    {Eptn, "Number of EPT Families", "EPT_N", 0.083, General, 4,
     "EPT_N: Number of Ephemeroptera, Plecoptera, Trichoptera families (weight: {w})", 1},
    {Gold, "1-GOLD", "ONE_MINUS_GOLD", 0.067, Fixed2, 5,
     "1-GOLD: 1-[abundance of Gastropoda, OLigochaeta, Diptera families/total abundance](weight: {w})", 2},
    {Shannon, "Shannon Diversity", "SHANNON", 0.083, Fixed2, 3,
     "SHANNON: Shannon diversity index (weight: {w})", 3},
    {LogSelEptd, "log(SelEPTD+1)", "LogSelEPTD", 0.266, Fixed2, 1,
     "LogSelEPTD: log[abundance of selected Ephemeroptera, Plecoptera, Trichoptera, Diptera families+1] "
     "(weight: {w})",
     4},
    {Taxan, "Total Number of Families", "TAXA_N", 0.167, General, 2,
     "TAXA_N: Number of Families (weight: {w})", 5},
};

const std::vector<MetricDefinition> alpine = {
    {Iaspt, "Iberian ASPT", "IASPT", 0.25, Fixed2, 1, "IASPT: Iberian AverageScorePerTaxon (weight: {w})", 0},
    {GigEpt, "Number of EPT Families/Total Number of Families", "EPT_N_ratio", 0.25, Fixed2, 0,
     "%EPT_N: Number of Ephemeroptera, Plecoptera, Trichoptera families/Total Number of families "
     "(weight: {w})",
     1},
    {GigTaxan, "Total Number of Families", "TAXA_N", 0.25, General, 2,
     "TAXA_N: Number of Families (weight: {w})", 3},
    {SelSens, "Number of Selected (Sensitive) Families", "SelSens_N", 0.25, Fixed2, 3,
     "SelSens_N: Number of selected Sensitive families ( weight: {w})", 2},
};

const std::vector<MetricDefinition> eastern = {
    {Iaspt, "ASPT", "ASPT", 0.25, Fixed2, 1, "ASPT: AverageScorePerTaxon (weight: {w})", 0},
    {EptAbund, "Abundance of EPT Families/Total Abundance", "EPT_A_ratio", 0.25, Fixed2, 0,
     "%EPT_A: Abundance of Ephemeroptera, Plecoptera, Trichoptera families/Total Abundance (weight: {w})", 1},
    {GigTaxan, "Total Number of Families", "TAXA_N", 0.25, General, 2,
     "TAXA_N; Number of Families (weight: {w})", 3},
    {DInd, "Degradations Index", "DInd", 0.25, Fixed2, 3, "DInd: Degradations Index (weight: {w})", 2},
};

const std::vector<MetricDefinition> mediterranean = {
    {Iaspt, "Iberian ASPT", "IASPT", 0.34, Fixed2, 1, "IASPT: Iberian AverageScorePerTaxon (weight: {w})", 0},
    {Eptn, "Number of EPT Families", "EPT_N", 0.18, General, 0,
     "EPT_N: Number of Ephemeroptera, Plecoptera, Trichoptera families (weight: {w})", 1},
    {GigTaxan, "Total Number of Families", "TAXA_N", 0.28, General, 2,
     "TAXA_N: Number of Families (weight: {w})", 3},
    {SelEtd, "Number of Selected Families of ETD / Total Number of Families", "SelETD_N_ratio", 0.2, Fixed2,
     3,
     "%SelETD_N: Number of selected Ephemeroptera, Trichoptera, Diptera/Total Number of families "
     "(weight:{w})",
     2},
};

// Normalisation of each metric-table array: lower value, and the line of the results
// file (or the name of messages where it has none).
constexpr NormalisationStep asptStep{Aspt, 2.0f, "ASPT", {}};
constexpr NormalisationStep iberianAsptStep{Iaspt, 2.0f, "Iberian ASPT", {}};
constexpr NormalisationStep easternAsptStep{Iaspt, 2.0f, {}, "ASPT (GIG index)"};
constexpr NormalisationStep eptnStep{Eptn, 0.0f, "Number of EPT Families", {}};
constexpr NormalisationStep taxanStep{Taxan, 0.0f, "Total Number of Families", {}};
constexpr NormalisationStep gigTaxanStep{GigTaxan, 0.0f, {}, "Total Number of Families (GIG index)"};
constexpr NormalisationStep alpineTaxanStep{GigTaxan, 0.0f, {}, "Total Number of Families (GIG index)", true};
constexpr NormalisationStep selEtdStep{
    SelEtd, 0.0f, "Number of Selected Families of ETD / Total Number of Families", {}};
constexpr NormalisationStep eptAbundStep{EptAbund, 0.0f, "Abundance of EPT families/Total abundance", {}};
constexpr NormalisationStep dindStep{DInd, -7.0f, "Degradations Index", {}};
constexpr NormalisationStep gigEptStep{GigEpt, 0.0f, "Number of EPT Families/Total Number of Families", {}};
constexpr NormalisationStep selSensStep{SelSens, 0.0f, "Number of Selected (Sensitive) Families", {}};
constexpr NormalisationStep goldStep{Gold, 0.0f, "1-GOLD", {}};
constexpr NormalisationStep shannonStep{Shannon, 0.0f, "Shannon Diversity", {}};
constexpr NormalisationStep logSelStep{LogSelEptd, 0.0f, "log(SelEPTD+1)", {}};

} // namespace

const std::vector<MetricDefinition>& starMetrics() {
    return star;
}

const std::vector<MetricDefinition>& gigMetrics(Gig gig) {
    switch (gig) {
    case Alpine:
        return alpine;
    case EasternContinental:
        return eastern;
    case Mediterranean:
        return mediterranean;
    default:
        return star;
    }
}

std::vector<WeightedTerm> termsInSumOrder(const std::vector<MetricDefinition>& metrics) {
    std::vector<WeightedTerm> terms(metrics.size(), WeightedTerm{MetricId::Aspt, 0.0});
    for (const MetricDefinition& d : metrics) {
        terms.at(static_cast<std::size_t>(d.sumPosition)) = {d.column, d.weight};
    }
    return terms;
}

const std::vector<CopiedMetric>& copiedMetrics(Gig gig) {
    static const std::vector<CopiedMetric> none;
    static const std::vector<CopiedMetric> families = {{GigTaxan, Taxan}};
    static const std::vector<CopiedMetric> eastern = {{Iaspt, Aspt}, {GigTaxan, Taxan}};
    switch (gig) {
    case Alpine:
    case Mediterranean:
        return families;
    case EasternContinental:
        return eastern;
    default:
        return none;
    }
}

std::vector<MetricId> metricsOfGig(Gig gig) {
    std::vector<MetricId> columns;
    for (const auto* metrics : {&starMetrics(), &gigMetrics(gig)}) {
        for (const MetricDefinition& d : *metrics) {
            if (std::find(columns.begin(), columns.end(), d.column) == columns.end()) {
                columns.push_back(d.column);
            }
        }
    }
    return columns;
}

bool computesMetric(Gig gig, MetricId column) {
    const auto columns = metricsOfGig(gig);
    const auto& copies = copiedMetrics(gig);
    return std::find(columns.begin(), columns.end(), column) != columns.end() &&
           std::none_of(copies.begin(), copies.end(),
                        [&](const CopiedMetric& c) { return c.column == column; });
}

std::vector<std::string> placeholderNotes(Gig gig) {
    switch (gig) {
    case Alpine:
        return {"SelSens_N is a placeholder: no public list of the Alpine selected sensitive families was "
                "found, so the 24 families it counts are this program's own selection (the families scoring "
                "10 in the BMWP or the Iberian BMWP table)."};
    case EasternContinental:
        return {"DInd is a placeholder: no public table of degradation scores was found, so every family "
                "scores 0 and DInd is 0 for every sample; its weight in the Eastern continental GIG ICMi "
                "adds nothing to any sample's index."};
    default:
        return {};
    }
}

std::string metricDescription(Gig gig) {
    std::vector<const MetricDefinition*> inPanelOrder;
    for (const MetricDefinition& d : gigMetrics(gig)) {
        inPanelOrder.push_back(&d);
    }
    std::sort(inPanelOrder.begin(), inPanelOrder.end(),
              [](const auto* a, const auto* b) { return a->panelPosition < b->panelPosition; });
    std::string text;
    for (std::size_t k = 0; k < inPanelOrder.size(); ++k) {
        std::string line(inPanelOrder[k]->panelLine);
        line.replace(line.find("{w}"), 3, formatGeneral(inPanelOrder[k]->weight));
        text += (k == 0 ? "" : "\r\n\r\n") + std::to_string(k + 1) + ". " + line;
    }
    return text;
}

const std::vector<NormalisationStep>& normalisationSteps(Gig gig) {
    static const std::vector<NormalisationStep> starOnly = {asptStep, eptnStep,    taxanStep,
                                                            goldStep, shannonStep, logSelStep};
    static const std::vector<NormalisationStep> alpineSteps = {
        asptStep,   iberianAsptStep, eptnStep, taxanStep,   alpineTaxanStep,
        gigEptStep, selSensStep,     goldStep, shannonStep, logSelStep};
    static const std::vector<NormalisationStep> easternSteps = {
        asptStep,     eptnStep, taxanStep, easternAsptStep, eptAbundStep,
        gigTaxanStep, dindStep, goldStep,  shannonStep,     logSelStep};
    static const std::vector<NormalisationStep> mediterraneanSteps = {asptStep,  iberianAsptStep, eptnStep,
                                                                      taxanStep, gigTaxanStep,    selEtdStep,
                                                                      goldStep,  shannonStep,     logSelStep};
    switch (gig) {
    case Alpine:
        return alpineSteps;
    case EasternContinental:
        return easternSteps;
    case Mediterranean:
        return mediterraneanSteps;
    default:
        return starOnly;
    }
}

namespace {

// The array of a metric table, for a const or a mutable table alike.
template <typename Table> auto& columnOf(Table& m, MetricId id) {
    switch (id) {
    case Aspt:
        return m.aspt;
    case Eptn:
        return m.eptn;
    case Gold:
        return m.gold;
    case Shannon:
        return m.shannon;
    case LogSelEptd:
        return m.logseleptd;
    case Taxan:
        return m.taxan;
    case Iaspt:
        return m.iaspt;
    case GigEpt:
        return m.gigept;
    case SelSens:
        return m.selsens;
    case SelEtd:
        return m.seletd;
    case EptAbund:
        return m.eptabund;
    case DInd:
        return m.dind;
    case GigTaxan:
        break;
    }
    return m.gigtaxan;
}

} // namespace

std::vector<double>& metricColumn(MetricTable& m, MetricId id) {
    return columnOf(m, id);
}

const std::vector<double>& metricColumn(const MetricTable& m, MetricId id) {
    return columnOf(m, id);
}

} // namespace torrentix
