#include "input/columnresolution.h"

#include "base/text.h"
#include "input/rowparser.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace torrentix {

std::optional<std::vector<int>> resolveColumns(const std::vector<std::string>& header, SampleTable& table,
                                               const TaxaDatabase& taxa, const TaxaTree& tree,
                                               const UnknownTaxonHandler& ask) {
    std::vector<bool> known;
    std::vector<std::string> unknownNames;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        known.push_back(knownFamily(taxa, toUpperAscii(header[c])).has_value());
        if (!known.back()) {
            unknownNames.push_back(toUpperAscii(header[c]));
        }
    }
    NamePlace place;
    place.unknownCount = static_cast<int>(unknownNames.size());
    place.unknownNames = &unknownNames;
    std::vector<int> familyOfColumn;
    std::unordered_map<std::string, int> familyIndex;
    for (std::size_t c = firstTaxonCell; c < header.size(); ++c) {
        const std::string& cell = header[c];
        place.column = static_cast<int>(c + 1);
        place.unknown += known[c - firstTaxonCell] ? 0 : 1;
        Resolution r = resolveTaxonName(taxa, tree, toUpperAscii(cell), table.utf8, ask, place);
        table.namesCorrected = table.namesCorrected || r.askedUser;
        if (r.kind == Resolution::Kind::Abort) {
            return std::nullopt;
        }
        table.nameDecisions.push_back({place.column, cell, r.family, r.source, r.evidence});
        if (r.kind == Resolution::Kind::Ignore) {
            table.ignoredColumns.push_back(cell);
            familyOfColumn.push_back(-1);
            continue;
        }
        auto [it, isNew] = familyIndex.try_emplace(r.family, table.nfam());
        if (isNew) {
            table.familyNames.push_back(r.family);
        }
        familyOfColumn.push_back(it->second);
    }
    return familyOfColumn;
}

namespace {

// The columns (1-based, as the file's user counts them) that add into each family.
std::map<int, std::vector<std::size_t>> columnsOfFamilies(const std::vector<int>& familyOfColumn) {
    std::map<int, std::vector<std::size_t>> columnsOf;
    for (std::size_t c = 0; c < familyOfColumn.size(); ++c) {
        if (familyOfColumn[c] >= 0) {
            columnsOf[familyOfColumn[c]].push_back(c + firstTaxonCell + 1);
        }
    }
    return columnsOf;
}

// " (column 9)", " (columns 9 12)".
std::string columnsText(const std::vector<std::size_t>& columns) {
    std::string text = columns.size() == 1 ? " (column" : " (columns";
    for (std::size_t column : columns) {
        text += " " + std::to_string(column);
    }
    return text + ")";
}

} // namespace

std::optional<std::string> countedAsNote(const std::vector<int>& familyOfColumn, const SampleTable& table,
                                         const TaxaDatabase& taxa) {
    std::string counted;
    std::size_t families = 0;
    for (const auto& [family, columns] : columnsOfFamilies(familyOfColumn)) {
        const FamilyRecord* record =
            taxa.findByName(toUpperAscii(table.familyNames[static_cast<std::size_t>(family)]));
        const FamilyRecord* older = record ? &taxa.countedFamily(*record) : nullptr;
        if (older && older != record) {
            counted += std::string(families++ == 0 ? "" : "; ") + record->family + " as " + older->family +
                       columnsText(columns);
        }
    }
    if (families == 0) {
        return std::nullopt;
    }
    return countOf(families, "family") +
           " split off after the method's score tables and lists were written " +
           (families == 1 ? "is counted as the family it was" : "are counted as the families they were") +
           " split from: " + counted + ".";
}

std::optional<std::string> mergedColumnsNote(const std::vector<int>& familyOfColumn,
                                             const SampleTable& table) {
    std::string merged;
    std::size_t families = 0;
    for (const auto& [family, columns] : columnsOfFamilies(familyOfColumn)) {
        if (columns.size() < 2) {
            continue;
        }
        merged += std::string(families++ == 0 ? "" : "; ") +
                  table.familyNames[static_cast<std::size_t>(family)] + columnsText(columns);
    }
    if (families == 0) {
        return std::nullopt;
    }
    return "Columns of one family were added together, " + countOf(families, "family") + ": " + merged + ".";
}

} // namespace torrentix
