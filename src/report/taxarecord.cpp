#include "report/taxarecord.h"

#include "report/resultsfile.h"
#include "report/tidytable.h"

namespace torrentix {
namespace {

// The family the metrics count a family as, with the Iberian score's family where that is a
// third one; empty when the family counts as itself.
std::string countedAs(const TaxaDatabase& taxa, const std::string& familyName) {
    const FamilyRecord* family = taxa.findByName(familyName);
    if (family == nullptr) {
        return {};
    }
    const FamilyRecord& counted = taxa.countedFamily(*family);
    if (&counted == family) {
        return {};
    }
    const FamilyRecord& iberian = taxa.scoredFamily(*family, &FamilyRecord::bmwpe);
    return counted.family + (&iberian != family && &iberian != &counted
                                 ? " (" + iberian.family + " for the Iberian score)"
                                 : std::string());
}

// What the source knew; for a column left out, who left it out, and why.
std::string evidenceOf(const NameDecision& d) {
    return d.family.empty() && d.evidence.empty() ? d.source : d.evidence;
}

} // namespace

std::string taxaRecordText(const SampleTable& table, const TaxaDatabase& taxa,
                           const TaxaRecordHeading& heading) {
    std::string out = "# mode=" + heading.mode +
                      " taxa_map=" + (heading.taxaMap.empty() ? "none" : heading.taxaMap) +
                      " database=" + taxa.path() + " version=" + std::string(programVersion) + "\n";
    for (const std::string& note : heading.notes) {
        out += "# " + note + "\n";
    }
    out += "column\tname\tfamily\tsource\tevidence\tcounted_as\n";
    for (const NameDecision& d : table.nameDecisions) {
        out += std::to_string(d.column) + "\t" + textCell(d.name, table.utf8) + "\t" + d.family + "\t" +
               (d.family.empty() ? "ignored" : d.source) + "\t" + textCell(evidenceOf(d), true) + "\t" +
               countedAs(taxa, d.family) + "\n";
    }
    return out;
}

std::string taxaRecordPathFor(const std::string& sourcePath, const std::string& folder) {
    return outputPathFor(sourcePath, "_taxa.tsv", folder);
}

} // namespace torrentix
